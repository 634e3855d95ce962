// SPDX-License-Identifier: GPL-3.0-or-later
// A label or picture that answers clicks and double clicks with handlers taking the sender.
#pragma once

#include <QLabel>

#include <functional>

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(const QString &text = QString(), QWidget *parent = nullptr);
    std::function<void(QObject *)> OnClick;
    std::function<void(QObject *)> OnDblClick;
    // A click as the user would make it (tests call it too).
    void Click();
    // The caption as the program set it; a carriage return (code 13) shows as a line break.
    QString Caption() const { return caption_; }
    void SetCaption(const QString &caption);
    // Blue and underlined while enabled, plain grey while disabled.
    void ShowAsLink();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void UnderlineWhenEnabled();

    QString caption_;
    bool link_ = false;
};
