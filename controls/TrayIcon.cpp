// SPDX-License-Identifier: GPL-3.0-or-later
// The notification-area icon; its icons are a clock face whose hand turns in sixteen steps.
#include "controls/TrayIcon.h"

#include "controls/WindowTimer.h"
#include "platform/Tray.h"

#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>

#include <cmath>
#include <numbers>
#include <utility>

namespace {
std::optional<bool> availableOverride;

QPixmap DrawFace(int handStep, bool still) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 120), 2));
    p.setBrush(still ? QColor(255, 255, 255) : QColor(255, 236, 200));
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.setBrush(QColor(83, 83, 255));
    p.drawEllipse(QRectF(14, 14, 4, 4));
    const double angle = 2 * std::numbers::pi * handStep / TrayIcon::kAnimationIcons;
    p.setPen(QPen(QColor(255, 83, 83), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 16), QPointF(16 + 10 * std::sin(angle), 16 - 10 * std::cos(angle)));
    return pixmap;
}
} // namespace

TrayIcon::TrayIcon(QObject *parent) : QObject(parent), AnimationTimer(new WindowTimer(this)) {
    AnimationTimer->SetInterval(kAnimationStepMs);
    AnimationTimer->OnTimer = [this](QObject *) { Step(); };
}

QSystemTrayIcon *TrayIcon::Icon() {
    // Made when first shown: until then the icon costs the start neither its drawing nor the desktop's tray
    // integration, which asks the session bus for a StatusNotifier watcher.
    if (icon_ == nullptr) {
        icon_ = new QSystemTrayIcon(animated_ ? AnimationIcon(iconIndex_) : StillIcon(), this);
        icon_->setToolTip(hint_);
        icon_->setContextMenu(menu_);
        connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            // A StatusNotifierItem host (KDE, GNOME with app indicators) reports only single activations, so there
            // the activation stands for the double click that brings the window back.
            const bool restore = reason == QSystemTrayIcon::DoubleClick ||
                                 (reason == QSystemTrayIcon::Trigger && platform::TrayReportsSingleActivations());
            if (restore && OnDblClick) {
                OnDblClick(this);
            }
        });
        connect(icon_, &QSystemTrayIcon::messageClicked, this, [this] { BalloonClicked(); });
    }
    return icon_;
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::ShowBalloon(const QString &title, const QString &text, std::function<void()> onClick) {
    balloonClick_ = std::move(onClick);
    Icon()->showMessage(title, text, QSystemTrayIcon::Information, 0);
}

void TrayIcon::ForgetBalloon() {
    balloonClick_ = nullptr;
}

void TrayIcon::BalloonClicked() {
    // The click may show the next balloon.
    if (const std::function<void()> click = std::exchange(balloonClick_, nullptr)) {
        click();
    }
}

bool TrayIcon::Available() {
    return availableOverride ? *availableOverride : QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::OverrideAvailable(std::optional<bool> available) {
    availableOverride = available;
}

void TrayIcon::SetHint(const QString &hint) {
    hint_ = hint;
    if (icon_ != nullptr) {
        icon_->setToolTip(hint);
    }
}

void TrayIcon::SetActive(bool active) {
    active_ = active;
    if (active || icon_ != nullptr) {
        Icon()->setVisible(active);
    }
    Turn();
}

void TrayIcon::SetAnimated(bool animated) {
    animated_ = animated;
    if (!animated) {
        iconIndex_ = 0;
        if (icon_ != nullptr) {
            icon_->setIcon(StillIcon());
        }
    }
    Turn();
}

void TrayIcon::Turn() {
    // An icon the user hid, or one on a desktop without a notification area, is seen by nobody: it does not
    // turn, and the program does not wake for it.
    AnimationTimer->SetEnabled(animated_ && active_ && Available());
}

void TrayIcon::HostChanged() {
    if (active_) {
        // A StatusNotifier host that started afresh knows only the items that register after it.
        Icon()->setVisible(false);
        Icon()->setVisible(true);
    }
    Turn();
}

void TrayIcon::SetPopupMenu(QMenu *menu) {
    menu_ = menu;
    if (icon_ != nullptr) {
        icon_->setContextMenu(menu);
    }
}

void TrayIcon::Step() {
    iconIndex_ = (iconIndex_ + 1) % kAnimationIcons;
    Icon()->setIcon(AnimationIcon(iconIndex_));
}

QIcon TrayIcon::AnimationIcon(int index) {
    static const std::vector<QIcon> icons = [] {
        std::vector<QIcon> all;
        for (int i = 0; i < kAnimationIcons; ++i) {
            all.emplace_back(DrawFace(i, false));
        }
        return all;
    }();
    return icons[static_cast<std::size_t>(index % kAnimationIcons)];
}

QIcon TrayIcon::StillIcon() {
    static const QIcon icon(DrawFace(0, true));
    return icon;
}
