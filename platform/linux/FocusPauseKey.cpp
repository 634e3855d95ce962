// SPDX-License-Identifier: GPL-3.0-or-later
// The Pause key through an application-wide event filter.
#include "platform/linux/FocusPauseKey.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace platform {

namespace {

class FocusKeyFilter : public QObject {
public:
    FocusKeyFilter(std::function<void(bool)> onChange, QObject *parent)
        : QObject(parent), onChange_(std::move(onChange)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            const auto *key = static_cast<const QKeyEvent *>(event);
            if (key->key() == Qt::Key_Pause && !key->isAutoRepeat()) {
                onChange_(event->type() == QEvent::KeyPress);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(bool)> onChange_;
};

} // namespace

QObject *WatchPauseInFocusedWindows(std::function<void(bool down)> onChange) {
    auto *filter = new FocusKeyFilter(std::move(onChange), QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
    return filter;
}

} // namespace platform
