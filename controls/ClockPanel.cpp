// SPDX-License-Identifier: GPL-3.0-or-later
// The clock panel and its alarm check.
#include "controls/ClockPanel.h"

#include "controls/Clock.h"
#include "controls/WindowTimer.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

ClockPanel::ClockPanel(QWidget *parent) : QFrame(parent), RefreshTimer(new WindowTimer(this)) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // The dialog font's face: Arial, or the face the system gives for it.
    QFont f = QApplication::font();
    f.setPixelSize(27);
    setFont(f);
    RefreshTimer->SetInterval(450);
    // A check may come a third of a period early: while the tray icon turns (every 150 ms) every check then
    // rides on one of its wake-ups instead of adding its own, and the checks stay 450 ms apart.
    RefreshTimer->SetLeeway(150);
    RefreshTimer->OnTimer = [this](QObject *) { Refresh(); };
    RefreshTimer->SetEnabled(true);
    shownTime_ = AppClock().WallNow().time().toString(QStringLiteral("HH:mm:ss"));
    UpdateWaiting();
}

void ClockPanel::SetAlarmTime(int hour, int minute, int second) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
        throw InvalidTimeError(
            QStringLiteral("''%1:%2:%3'' is not a valid time").arg(hour).arg(minute).arg(second).toStdString());
    }
    alarmHour_ = hour;
    alarmMinute_ = minute;
    alarmSecond_ = second;
    UpdateWaiting();
}

void ClockPanel::SetAlarmHour(int hour) {
    SetAlarmTime(hour, alarmMinute_, alarmSecond_);
}

void ClockPanel::SetAlarmMinute(int minute) {
    SetAlarmTime(alarmHour_, minute, alarmSecond_);
}

void ClockPanel::UpdateWaiting() {
    const QTime now = AppClock().WallNow().time();
    const QTime alarm(alarmHour_, alarmMinute_, alarmSecond_);
    const QTime nowSeconds(now.hour(), now.minute(), now.second());
    waiting_ = alarm > nowSeconds || alarm == QTime(0, 0, 0);
}

void ClockPanel::Refresh() {
    const QTime now = AppClock().WallNow().time();
    // Repainting only when the shown second changes, and never while nobody can see the panel, keeps an idle
    // program idle; a window shown again paints the time of that moment.
    const QString shown = now.toString(QStringLiteral("HH:mm:ss"));
    if (shown != shownTime_ && Drawable()) {
        // Only the digits' box, the old time's and the new one's: the rest of the panel has not changed.
        update(DigitsRect(shownTime_).united(DigitsRect(shown)));
        shownTime_ = shown;
    }
    const bool due = alarmEnabled_ && now.hour() == alarmHour_ && now.minute() == alarmMinute_ &&
                     alarmSecond_ <= now.second() && now.second() <= alarmSecond_ + 60;
    if (due) {
        if (waiting_) {
            waiting_ = false;
            if (OnAlarm) {
                OnAlarm(this);
            }
        }
    } else {
        UpdateWaiting();
    }
    // Hidden with no alarm to check, the panel has nothing to do until it is shown or given an alarm.
    if (!alarmEnabled_ && !isVisible()) {
        RefreshTimer->SetEnabled(false);
    }
}

void ClockPanel::SetAlarmEnabled(bool enabled) {
    alarmEnabled_ = enabled;
    if (enabled) {
        RefreshTimer->SetEnabled(true);
    }
}

void ClockPanel::showEvent(QShowEvent *event) {
    QFrame::showEvent(event);
    if (!RefreshTimer->Enabled()) {
        RefreshTimer->SetEnabled(true);
        Refresh();
    }
}

bool ClockPanel::Drawable() const {
    return isVisible() && !window()->isMinimized();
}

void ClockPanel::paintEvent(QPaintEvent *event) {
    shownTime_ = AppClock().WallNow().time().toString(QStringLiteral("HH:mm:ss"));
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    painter.drawText(DigitsArea(), Qt::AlignCenter, shownTime_);
}

QRect ClockPanel::DigitsArea() const {
    // The digits sit between the top line (version or phrase) and the status line below them.
    return rect().adjusted(0, 6, 0, -10);
}

QRect ClockPanel::DigitsRect(const QString &time) const {
    // A pixel more all round for the anti-aliased edges.
    return fontMetrics().boundingRect(DigitsArea(), Qt::AlignCenter, time).adjusted(-1, -1, 1, 1);
}

void ClockPanel::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick) {
        OnClick(this);
    }
    QFrame::mouseReleaseEvent(event);
}
