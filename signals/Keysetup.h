// SPDX-License-Identifier: GPL-3.0-or-later
// TKeysetup, the component that reads and sets the NumLock, CapsLock and ScrollLock keys.
#pragma once

#include <QObject>
#include <QString>

// Whether the lock with this virtual-key code is on.
bool GetLockKeyState(int vk);
// Turns the lock with this virtual-key code on or off.
void SetLockKeyState(int vk, bool on);

// Holds no state of its own: every property goes to the keyboard.
class TKeysetup : public QObject {
    Q_OBJECT
public:
    explicit TKeysetup(QObject *parent = nullptr);

    QString About() const;
    // The information text is fixed; writing it is ignored.
    void SetAbout(const QString &) {}
    bool CapsLock() const;
    void SetCapsLock(bool on);
    bool NumLock() const;
    void SetNumLock(bool on);
    bool ScrollLock() const;
    void SetScrollLock(bool on);
};
