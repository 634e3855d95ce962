// SPDX-License-Identifier: GPL-3.0-or-later
// The application object's part of the program.
#include "app/Application.h"

#include "controls/GroupFrame.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QProxyStyle>
#include <QTranslator>
#include <QWidget>

namespace {
QString title = QStringLiteral("Zindrel");
int hintPause = 500;
int hintShortPause = 50;
// Guarded: a minimised window destroyed before the others (at exit) must not be asked afterwards.
QPointer<QWidget> minimizedWindow;
std::function<void()> terminateHandler;

// The base style with the program's tool-tip delays, and Fusion's group box frame drawn without its picture.
class ProgramStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay) {
            return hintPause;
        }
        if (hint == SH_ToolTip_FallAsleepDelay) {
            return hintShortPause;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override {
        if (element != PE_FrameGroupBox || !GroupFrame::Draw(baseStyle(), option, painter, widget)) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
        }
    }
};
} // namespace

namespace Application {

QString Title() {
    return title;
}

void SetTitle(const QString &t) {
    title = t;
}

void ShowError(const QString &text) {
    platform::Current().system->MessageBox(text.toStdString(), title.toStdString(),
                                           platform::MB_ICONERROR_FLAG | platform::MB_SYSTEMMODAL_FLAG);
}

int HintPause() {
    return hintPause;
}
void SetHintPause(int ms) {
    hintPause = ms;
}
int HintShortPause() {
    return hintShortPause;
}
void SetHintShortPause(int ms) {
    hintShortPause = ms;
}

void InstallStyle() {
    QApplication::setStyle(new ProgramStyle);
}

QTranslator *InstallQtTranslation() {
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

void Terminate() {
    if (terminateHandler) {
        terminateHandler();
    } else {
        // Every nested loop (a modal dialog open during a firing) returns, then the main loop ends.
        QCoreApplication::exit(0);
    }
}

void SetTerminateHandler(std::function<void()> handler) {
    terminateHandler = std::move(handler);
}

void Minimize(QWidget *window) {
    minimizedWindow = window;
    window->setWindowState(window->windowState() | Qt::WindowMinimized);
}

bool Minimized() {
    return minimizedWindow != nullptr && minimizedWindow->isMinimized();
}

} // namespace Application
