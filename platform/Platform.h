// SPDX-License-Identifier: GPL-3.0-or-later
// The one place that says which backend answers each platform interface.
#pragma once

#include "platform/Audio.h"
#include "platform/CdDrive.h"
#include "platform/Desktop.h"
#include "platform/Display.h"
#include "platform/KeyState.h"
#include "platform/Launcher.h"
#include "platform/LockKeys.h"
#include "platform/MediaPlayer.h"
#include "platform/Notifications.h"
#include "platform/PortIO.h"
#include "platform/SessionPower.h"
#include "platform/SleepGuard.h"
#include "platform/System.h"
#include "platform/WindowManager.h"

#include <cstdint>
#include <functional>
#include <future>
#include <string>

namespace platform {

struct Backends {
    SessionPower *power = nullptr;
    Display *display = nullptr;
    LockKeys *lockKeys = nullptr;
    KeyState *keyState = nullptr;
    Audio *audio = nullptr;
    MediaPlayer *player = nullptr;
    CdDrive *cdDrive = nullptr;
    Launcher *launcher = nullptr;
    Desktop *desktop = nullptr;
    System *system = nullptr;
    PortIO *ports = nullptr;
    Notifications *notifications = nullptr;
    WindowManager *windowManager = nullptr;
    SleepGuard *sleepGuard = nullptr;
};

// The backends in use. The program installs the native ones at start; tests install fakes.
Backends &Current();
void Install(const Backends &backends);

// Makes this operating system's backends (they live until the program ends) and installs them.
void InstallNative();

// Before the GUI starts: in a Wayland session that has XWayland, the program runs through X11, since its lock
// lights, Pause key, placement, opacity and stay-on-top are X11 features; a QT_QPA_PLATFORM the user set wins.
// On X11 the program does without shared-memory images, so an animated tray icon costs one wake-up a frame.
// Both choices are the program's own: the programs it starts get the session's values.
void ChooseDisplayProtocol();
// After ChooseDisplayProtocol, before the GUI starts: whether the platform Qt will choose can open a display (an X
// server that accepts a connection, a Wayland compositor's socket, or a platform without a screen such as
// offscreen). Qt ends the process when it finds none, so a start without one takes the way without a GUI.
bool DisplayReachable();
// After the GUI started: on native Wayland, one stderr line for each of those features it cannot have.
void ReportDisplayLimits();
// Before the GUI starts: a thread of its own reads the font configuration and the font caches meanwhile, which the
// first text measured in a window would otherwise read then, and names the installed family the system gives for
// the one asked (a metric-compatible face for Arial, say), which Qt then loads without a search of its own. Where
// the system needs no such reading the answer is the family asked. Wait for it before the first window is made.
std::future<std::string> ReadFontsAside(const std::string &family);
// Tells the backends the main window's native handle (QWidget::winId()) once the window exists.
void SetMainWindow(std::uintptr_t window);
// Runs handler from the event loop when the system asks the program to end (SIGTERM on Linux), so the program
// ends as its "Выход" ends it.
void OnEndRequest(std::function<void()> handler);

} // namespace platform
