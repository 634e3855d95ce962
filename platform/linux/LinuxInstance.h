// SPDX-License-Identifier: GPL-3.0-or-later
// One program per session on Linux: a well-known name on the session bus and its introspectable interface.
#pragma once

#include "platform/Instance.h"

#include <QDBusContext>
#include <QObject>
#include <QStringList>

#include <memory>

namespace platform {

// The object on the bus. Each method is a command of the command line; a command the program refuses comes back
// as a D-Bus error whose message says what was wrong.
class InstanceObject : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", ZINDREL_APPLICATION_ID)
    Q_PROPERTY(QString State READ State)
public:
    CommandHandler handler;

    QString State() const;

public Q_SLOTS:
    // task: an option name of --do, or empty to keep the task chosen in the window.
    void ArmCountdown(int minutes, const QString &task);
    // time: HH:MM.
    void ArmAlarm(const QString &time, const QString &task);
    void Cancel();
    void Pause();
    void Resume();
    // While the warning counts, as its notice's "Отложить на 10 минут" but by these minutes; else the armed
    // countdowns or the alarm clock fall due that much later.
    void Postpone(int minutes);
    void Show();
    void Hide();
    void Quit();
    // A whole command line, as a second start hands it over; returns what that start prints (the state line for
    // --status).
    QString Command(const QStringList &arguments);

Q_SIGNALS:
    void StateChanged(const QString &state);

private:
    // Sends the refusal back as the call's error; returns the answer's line.
    QString Reply(const CommandAnswer &answer);
    void Run(CommandRequest request);
};

class LinuxInstance : public Instance {
public:
    LinuxInstance() = default;
    LinuxInstance(const LinuxInstance &) = delete;
    LinuxInstance &operator=(const LinuxInstance &) = delete;
    ~LinuxInstance() override;
    Role Claim(CommandHandler handler) override;
    CommandAnswer Send(const std::vector<std::string> &arguments) override;
    void StateChanged(const std::string &state) override;
    void SetMainWindow(std::uintptr_t) override {}
    // A program started from a terminal writes to it already, and a terminal that closes only hangs it up.
    void AttachOutput() override {}
    void Print(bool error, const std::string &line) override;
    void ReleaseOutput() override {}

private:
    // Made by Claim, gone before the application object: a registered object outliving the bus's thread would
    // wait for that thread forever when destroyed.
    std::unique_ptr<InstanceObject> object_;
};

// The bus name, object path and interface made from the application id.
QString InstanceService();
QString InstancePath();

} // namespace platform
