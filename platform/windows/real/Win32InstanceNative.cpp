// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows build's instance: the real table, a hidden window for answers, and WM_COPYDATA from Qt's windows.
#include <windows.h>

#include "platform/windows/Win32Instance.h"
#include "platform/windows/real/Win32Real.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QWidget>

#include <cstddef>
#include <memory>

namespace platform {

namespace {

static_assert(sizeof(win32::CopyData) == sizeof(COPYDATASTRUCT));
static_assert(offsetof(win32::CopyData, cbData) == offsetof(COPYDATASTRUCT, cbData));
static_assert(offsetof(win32::CopyData, lpData) == offsetof(COPYDATASTRUCT, lpData));

class NativeWin32Instance : public win32::Win32Instance, public QAbstractNativeEventFilter {
public:
    NativeWin32Instance() : Win32Instance(win32::RealWin32Api(), [this] { return ReplyWindow(); }) {}

    Role Claim(CommandHandler handler) override {
        QCoreApplication *app = QCoreApplication::instance();
        app->installNativeEventFilter(this);
        const Role role = Win32Instance::Claim(std::move(handler));
        if (role == Role::First) {
            QObject::connect(app, &QCoreApplication::aboutToQuit, app, [this] { Leave(); });
        }
        return role;
    }

    bool nativeEventFilter(const QByteArray &, void *message, qintptr *result) override {
        const MSG *msg = static_cast<const MSG *>(message);
        if (msg->message != WM_COPYDATA || msg->lParam == 0) {
            return false;
        }
        const auto *copy = reinterpret_cast<const win32::CopyData *>(msg->lParam);
        win32::LRESULT answer = 0;
        if (!Receive(msg->wParam, *copy, answer)) {
            return false;
        }
        *result = answer;
        return true;
    }

private:
    // A window never shown: a later start's address for the running program's answer.
    win32::HWND ReplyWindow() {
        if (!reply_) {
            reply_ = std::make_unique<QWidget>();
        }
        return reinterpret_cast<win32::HWND>(reply_->winId());
    }

    std::unique_ptr<QWidget> reply_;
};

} // namespace

Instance &NativeInstance() {
    static NativeWin32Instance instance;
    return instance;
}

} // namespace platform
