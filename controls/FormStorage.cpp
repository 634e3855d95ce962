// SPDX-License-Identifier: GPL-3.0-or-later
// Window placement in an INI section.
#include "controls/FormStorage.h"

#include "app/Application.h"
#include "settings/IniFile.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {
int PixelsPerInch(const QWidget *window) {
    const QScreen *screen = window->screen();
    return screen ? qRound(screen->logicalDotsPerInch()) : 96;
}

// A corner beyond the 16-bit coordinates of the window systems came from a damaged file; moving there would
// overflow the window's geometry arithmetic.
bool OnCoordinatePlane(int x, int y) {
    return x >= -32768 && x <= 32767 && y >= -32768 && y <= 32767;
}

// A window of which no screen shows a grip of this size cannot be reached to drag it back.
constexpr int MinVisible = 32;

bool OnSomeScreen(const QRect &frame) {
    const QSize grip(qMin(MinVisible, frame.width()), qMin(MinVisible, frame.height()));
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect shown = screen->geometry().intersected(frame);
        if (shown.width() >= grip.width() && shown.height() >= grip.height()) {
            return true;
        }
    }
    return false;
}

void Centre(QWidget *window) {
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const QSize frame = window->frameGeometry().size();
    window->move(area.x() + (area.width() - frame.width()) / 2, area.y() + (area.height() - frame.height()) / 2);
}
} // namespace

FormStorage::FormStorage(QWidget *window, QString section)
    : QObject(window), window_(window), section_(std::move(section)) {
    window_->installEventFilter(this);
}

FormStorage::~FormStorage() {
    if (restored_ && !saved_) {
        try {
            SavePlacement(true);
        } catch (const IniWriteError &) {
            // The program is ending; there is nobody left to tell.
        }
    }
}

bool FormStorage::eventFilter(QObject *watched, QEvent *event) {
    if (watched == window_ && event->type() == QEvent::Show && !window_->isMinimized()) {
        RestorePlacement();
    }
    return QObject::eventFilter(watched, event);
}

void FormStorage::ParseFour(const QString &text, const int fallback[4], int out[4]) {
    // Split by hand at commas and white space: a regular expression here would load and compile the
    // expression engine at every start for four numbers.
    QList<QStringView> parts;
    qsizetype begin = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool separator = i == text.size() || text[i] == u',' || text[i].isSpace();
        if (separator && begin >= 0) {
            parts.append(QStringView(text).sliced(begin, i - begin));
            begin = -1;
        } else if (!separator && begin < 0) {
            begin = i;
        }
    }
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const int v = i < parts.size() ? parts[i].toInt(&ok) : 0;
        out[i] = ok ? v : fallback[i];
    }
}

void FormStorage::RestorePlacement() {
    if (fileName_.isEmpty()) {
        return;
    }
    const bool firstShow = !restored_;
    restored_ = true;
    saved_ = false;
    // One reading of the file for the five keys.
    const IniFile ini = IniFile(fileName_).Snapshot();
    const bool blocked = ini.ReadInteger(section_, QStringLiteral("FormVersion"), 0) < 0;
    const Position position = blocked ? Position::None : RestorePosition(ini);
    // Centred at the first showing, and instead of a stored place that no screen shows; a window the user
    // moved keeps its place between showings.
    if (centred_ && (position == Position::OffScreen || (position == Position::None && firstShow))) {
        Centre(window_);
    }
    if (!blocked) {
        RestoreState(ini);
    }
}

FormStorage::Position FormStorage::RestorePosition(const IniFile &ini) {
    const QString none = QStringLiteral("\x01");
    const QString minMax = ini.ReadString(section_, QStringLiteral("MinMaxPos"), none);
    const QString norm = ini.ReadString(section_, QStringLiteral("NormPos"), none);
    const int ppi = ini.ReadInteger(section_, QStringLiteral("PixelsPerInch"), PixelsPerInch(window_));
    if ((minMax != none || norm != none) && ppi == PixelsPerInch(window_)) {
        const QRect g = window_->frameGeometry();
        const int fallback[4] = {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
        int pos[4];
        ParseFour(norm == none ? QString() : norm, fallback, pos);
        // The windows here cannot be resized: only the top-left corner is used. A place that a removed
        // monitor showed is not used.
        if (pos[0] < pos[2] && OnCoordinatePlane(pos[0], pos[1])) {
            if (!OnSomeScreen(QRect(QPoint(pos[0], pos[1]), window_->frameGeometry().size()))) {
                return Position::OffScreen;
            }
            window_->move(pos[0], pos[1]);
            return Position::Applied;
        }
    }
    return Position::None;
}

void FormStorage::RestoreState(const IniFile &ini) {
    switch (ini.ReadInteger(section_, QStringLiteral("ShowCmd"), 0)) {
    case 2:
    case 6:
    case 7:
        Application::Minimize(window_);
        break;
    case 3:
        window_->setWindowState(window_->windowState() | Qt::WindowMaximized);
        break;
    default:
        break;
    }
}

void FormStorage::SavePlacement(bool destroying) {
    if (fileName_.isEmpty() || !restored_) {
        return;
    }
    saved_ = true;
    const IniFile ini(fileName_);
    const QRect g = window_->frameGeometry();
    int showCmd = 1;
    if (window_->isMinimized() || Application::Minimized()) {
        showCmd = 2;
    } else if (window_->isMaximized()) {
        showCmd = 3;
    }
    ini.WriteInteger(section_, QStringLiteral("FormVersion"), 0);
    ini.WriteInteger(section_, QStringLiteral("Flags"), 0);
    ini.WriteInteger(section_, QStringLiteral("ShowCmd"), showCmd);
    ini.WriteInteger(section_, QStringLiteral("PixelsPerInch"), PixelsPerInch(window_));
    ini.WriteString(section_, QStringLiteral("MinMaxPos"), QStringLiteral("-1,-1,-1,-1"));
    ini.WriteString(
        section_, QStringLiteral("NormPos"),
        QStringLiteral("%1,%2,%3,%4").arg(g.left()).arg(g.top()).arg(g.left() + g.width()).arg(g.top() + g.height()));
    ini.WriteBool(section_, QStringLiteral("Visible"), destroying);
}
