// SPDX-License-Identifier: GPL-3.0-or-later
// A label or picture that answers clicks, and a label shown as a link.
#include "controls/ClickLabel.h"

#include <QMouseEvent>

ClickLabel::ClickLabel(const QString &text, QWidget *parent) : QLabel(parent) {
    // Captions come from files and the user (a phrase, a reminder): shown as written, never as markup.
    setTextFormat(Qt::PlainText);
    SetCaption(text);
}

void ClickLabel::SetCaption(const QString &caption) {
    caption_ = caption;
    QString shown = caption;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    setText(shown);
}

void ClickLabel::ShowAsLink() {
    // By palette and font: a style sheet would bring in Qt's whole style-sheet engine for one label.
    link_ = true;
    QPalette colors = palette();
    colors.setColor(QPalette::Active, QPalette::WindowText, Qt::blue);
    colors.setColor(QPalette::Inactive, QPalette::WindowText, Qt::blue);
    colors.setColor(QPalette::Disabled, QPalette::WindowText, colors.color(QPalette::Active, QPalette::Mid));
    setPalette(colors);
    UnderlineWhenEnabled();
}

void ClickLabel::changeEvent(QEvent *event) {
    if (link_ && event->type() == QEvent::EnabledChange) {
        UnderlineWhenEnabled();
    }
    QLabel::changeEvent(event);
}

void ClickLabel::UnderlineWhenEnabled() {
    QFont underlined = font();
    underlined.setUnderline(isEnabled());
    setFont(underlined);
}

void ClickLabel::Click() {
    if (isEnabled() && OnClick) {
        OnClick(this);
    }
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Click();
    }
    QLabel::mouseReleaseEvent(event);
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent *event) {
    if (OnDblClick) {
        OnDblClick(this);
    }
    QLabel::mouseDoubleClickEvent(event);
}
