// SPDX-License-Identifier: GPL-3.0-or-later
// The notification-area icon with its hint, pop-up menu, double-click and 16-icon animation.
#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QMenu;
class QSystemTrayIcon;
class WindowTimer;

class TrayIcon : public QObject {
    Q_OBJECT
public:
    static constexpr int kAnimationIcons = 16;
    static constexpr int kAnimationStepMs = 150;

    explicit TrayIcon(QObject *parent = nullptr);
    ~TrayIcon() override;

    // Whether the desktop has a notification area to hide the window into.
    static bool Available();
    // Tests decide whether a tray exists; nullopt asks the desktop.
    static void OverrideAvailable(std::optional<bool> available);

    QString Hint() const { return hint_; }
    void SetHint(const QString &hint);
    bool Active() const { return active_; }
    // Shows the icon in the notification area or removes it.
    void SetActive(bool active);
    // Whether the icon is asked to turn; it turns only while shown in a notification area.
    bool Animated() const { return animated_; }
    void SetAnimated(bool animated);
    int IconIndex() const { return iconIndex_; }
    void SetPopupMenu(QMenu *menu);
    // A notification area came or went: a shown icon registers with the new one, and it turns only where seen.
    void HostChanged();

    std::function<void(QObject *)> OnDblClick;

    // A balloon message from the icon; a click on it runs onClick, until the next balloon or ForgetBalloon().
    void ShowBalloon(const QString &title, const QString &text, std::function<void()> onClick);
    void ForgetBalloon();
    // The balloon was clicked.
    void BalloonClicked();

    // The sixteen animation icons and the still one, drawn here.
    static QIcon AnimationIcon(int index);
    static QIcon StillIcon();

    WindowTimer *AnimationTimer;

private:
    void Step();
    void Turn();

    QSystemTrayIcon *Icon();

    QSystemTrayIcon *icon_ = nullptr;
    QPointer<QMenu> menu_;
    std::function<void()> balloonClick_;
    QString hint_;
    bool active_ = false;
    bool animated_ = false;
    int iconIndex_ = 0;
};
