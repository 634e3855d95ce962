// SPDX-License-Identifier: GPL-3.0-or-later
// The program's pictures, drawn in code so that every one of them is our own.
#include "controls/Pictures.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace Picture {

namespace {

const QColor kInk(40, 40, 120);
const QColor kBlue(83, 83, 255);
const QColor kRed(230, 70, 70);

void DrawPower(QPainter &p, const QRectF &r) {
    p.setPen(QPen(kRed, r.width() / 9, Qt::SolidLine, Qt::RoundCap));
    const QRectF ring = r.adjusted(r.width() * 0.2, r.height() * 0.2, -r.width() * 0.2, -r.height() * 0.2);
    p.drawArc(ring, 120 * 16, 300 * 16);
    p.drawLine(QPointF(r.center().x(), r.top() + r.height() * 0.12), QPointF(r.center().x(), r.center().y()));
}

void DrawClockFace(QPainter &p, const QRectF &r) {
    p.setPen(QPen(kInk, r.width() / 16));
    p.setBrush(Qt::white);
    p.drawEllipse(r.adjusted(2, 2, -2, -2));
    p.setPen(QPen(kRed, r.width() / 12, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(r.center(), QPointF(r.center().x(), r.top() + r.height() * 0.2));
    p.drawLine(r.center(), QPointF(r.right() - r.width() * 0.25, r.center().y()));
}

void DrawLogoff(QPainter &p, const QRectF &r, const QRectF &inner) {
    p.setPen(QPen(kInk, 2));
    p.setBrush(QColor(240, 220, 180));
    p.drawRect(QRectF(inner.left(), inner.top(), inner.width() * 0.5, inner.height()));
    p.setPen(QPen(kRed, r.width() / 10, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(inner.left() + inner.width() * 0.35, r.center().y()), QPointF(inner.right(), r.center().y()));
    p.drawLine(QPointF(inner.right(), r.center().y()),
               QPointF(inner.right() - inner.width() * 0.2, r.center().y() - inner.height() * 0.2));
    p.drawLine(QPointF(inner.right(), r.center().y()),
               QPointF(inner.right() - inner.width() * 0.2, r.center().y() + inner.height() * 0.2));
}

void DrawNote(QPainter &p, const QRectF &r, const QRectF &inner) {
    p.setPen(QPen(kInk, r.width() / 40));
    p.setBrush(QColor(255, 250, 200));
    p.drawRect(inner);
    p.setPen(QPen(kBlue, r.width() / 30));
    for (int line = 1; line <= 4; ++line) {
        const double y = inner.top() + inner.height() * line / 5.0;
        p.drawLine(QPointF(inner.left() + inner.width() * 0.12, y), QPointF(inner.right() - inner.width() * 0.12, y));
    }
}

void DrawGear(QPainter &p, const QRectF &r, const QRectF &inner) {
    p.setPen(QPen(kInk, r.width() / 10, Qt::SolidLine, Qt::RoundCap));
    for (int spoke = 0; spoke < 4; ++spoke) {
        p.save();
        p.translate(r.center());
        p.rotate(45.0 * spoke);
        p.drawLine(QPointF(-inner.width() / 2, 0), QPointF(inner.width() / 2, 0));
        p.restore();
    }
    p.setBrush(kBlue);
    p.drawEllipse(r.center(), inner.width() * 0.3, inner.height() * 0.3);
}

} // namespace

QPixmap Draw(Kind kind, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0, 0, size.width(), size.height());
    const QRectF inner = r.adjusted(r.width() * 0.1, r.height() * 0.1, -r.width() * 0.1, -r.height() * 0.1);
    switch (kind) {
    case Sleep: {
        QPainterPath moon;
        moon.addEllipse(inner);
        QPainterPath bite;
        bite.addEllipse(inner.translated(inner.width() * 0.35, -inner.height() * 0.15));
        p.fillPath(moon.subtracted(bite), kBlue);
        break;
    }
    case Reboot:
        p.setPen(QPen(kBlue, r.width() / 9, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(inner, 60 * 16, 300 * 16);
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF({QPointF(inner.right() - inner.width() * 0.1, inner.top()),
                                 QPointF(inner.right() + inner.width() * 0.05, inner.top() + inner.height() * 0.3),
                                 QPointF(inner.right() - inner.width() * 0.3, inner.top() + inner.height() * 0.25)}));
        break;
    case Shutdown:
        DrawPower(p, r);
        break;
    case MonitorOff:
        p.setPen(QPen(kInk, 2));
        p.setBrush(QColor(30, 30, 30));
        p.drawRect(QRectF(inner.left(), inner.top(), inner.width(), inner.height() * 0.65));
        p.drawLine(QPointF(r.center().x(), inner.top() + inner.height() * 0.65),
                   QPointF(r.center().x(), inner.bottom()));
        p.drawLine(QPointF(inner.left() + inner.width() * 0.25, inner.bottom()),
                   QPointF(inner.right() - inner.width() * 0.25, inner.bottom()));
        break;
    case ScreenSaver:
        p.setPen(QPen(kInk, 2));
        p.setBrush(QColor(20, 20, 70));
        p.drawRect(inner);
        p.setPen(QPen(QColor(255, 230, 120), 2));
        for (const QPointF &star : {QPointF(0.3, 0.3), QPointF(0.7, 0.4), QPointF(0.45, 0.7), QPointF(0.8, 0.75)}) {
            p.drawPoint(QPointF(inner.left() + inner.width() * star.x(), inner.top() + inner.height() * star.y()));
        }
        break;
    case Logoff:
        DrawLogoff(p, r, inner);
        break;
    case StopBlink:
        p.setPen(Qt::NoPen);
        p.setBrush(kRed);
        p.drawEllipse(r.adjusted(1, 1, -1, -1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(r.width() * 0.3, r.height() * 0.3, r.width() * 0.4, r.height() * 0.4));
        break;
    case Warning: {
        p.setPen(QPen(kInk, r.width() / 40));
        p.setBrush(QColor(255, 210, 80));
        p.drawPolygon(QPolygonF({QPointF(r.center().x(), inner.top()), QPointF(inner.right(), inner.bottom()),
                                 QPointF(inner.left(), inner.bottom())}));
        DrawPower(p, QRectF(r.width() * 0.32, r.height() * 0.42, r.width() * 0.36, r.height() * 0.36));
        break;
    }
    case Note:
        DrawNote(p, r, inner);
        break;
    case Timer:
        DrawClockFace(p, inner);
        break;
    case Gear:
        DrawGear(p, r, inner);
        break;
    case Key:
        p.setPen(QPen(QColor(200, 150, 30), r.width() / 10, Qt::SolidLine, Qt::RoundCap));
        p.drawEllipse(QRectF(inner.left(), inner.top(), inner.width() * 0.45, inner.height() * 0.45));
        p.drawLine(QPointF(inner.left() + inner.width() * 0.38, inner.top() + inner.height() * 0.38),
                   inner.bottomRight());
        p.drawLine(QPointF(inner.right() - inner.width() * 0.2, inner.bottom() - inner.height() * 0.2),
                   QPointF(inner.right() - inner.width() * 0.05, inner.bottom() - inner.height() * 0.35));
        break;
    }
    return pixmap;
}

QIcon AppIcon() {
    // Drawn once: the program and its main window both ask for it at start-up.
    static const QIcon icon = [] {
        QIcon drawn;
        for (const int side : {16, 32, 48, 64}) {
            drawn.addPixmap(Draw(Timer, QSize(side, side)));
        }
        return drawn;
    }();
    return icon;
}

namespace {

class DrawOnShow : public QObject {
public:
    DrawOnShow(QLabel *label, Kind kind, QSize size) : QObject(label), kind_(kind), size_(size) {
        label->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show) {
            auto *label = static_cast<QLabel *>(watched);
            label->removeEventFilter(this);
            label->setPixmap(Draw(kind_, size_));
            deleteLater();
        }
        return false;
    }

private:
    Kind kind_;
    QSize size_;
};

} // namespace

void DrawWhenShown(QLabel *label, Kind kind, QSize size) {
    new DrawOnShow(label, kind, size);
}

} // namespace Picture
