// SPDX-License-Identifier: GPL-3.0-or-later
// The clock panel: the time of day, refreshed every 450 ms, with its one-shot alarm check.
#pragma once

#include <QFrame>

#include <functional>
#include <stdexcept>

class WindowTimer;

class InvalidTimeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ClockPanel : public QFrame {
    Q_OBJECT
public:
    explicit ClockPanel(QWidget *parent = nullptr);

    bool AlarmEnabled() const { return alarmEnabled_; }
    // An enabled alarm keeps the refresh running, also while the panel is hidden.
    void SetAlarmEnabled(bool enabled);
    int AlarmHour() const { return alarmHour_; }
    int AlarmMinute() const { return alarmMinute_; }
    // Each change re-evaluates the waiting flag; an hour outside 0..23 or a minute outside 0..59 throws
    // "''h:m:s'' is not a valid time" and changes nothing.
    void SetAlarmHour(int hour);
    void SetAlarmMinute(int minute);
    bool Waiting() const { return waiting_; }

    // One refresh: the display and the alarm check.
    void Refresh();

    std::function<void(QObject *)> OnAlarm;
    std::function<void(QObject *)> OnClick;

    WindowTimer *RefreshTimer;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void SetAlarmTime(int hour, int minute, int second);
    void UpdateWaiting();
    // Whether a repaint could be seen: the panel is shown and its window is not minimised.
    bool Drawable() const;
    QRect DigitsArea() const;
    // Where the digits of that time are drawn.
    QRect DigitsRect(const QString &time) const;

    bool alarmEnabled_ = false;
    int alarmHour_ = 0;
    int alarmMinute_ = 0;
    int alarmSecond_ = 0;
    bool waiting_ = true;
    // The time the panel shows, set when it paints.
    QString shownTime_;
};
