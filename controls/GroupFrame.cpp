// SPDX-License-Identifier: GPL-3.0-or-later
// A titled group box's frame under Fusion, drawn with lines rather than from Fusion's picture of it.
#include "controls/GroupFrame.h"

#include <QGroupBox>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <utility>

namespace GroupFrame {

namespace {

// Fusion reads its frame from a picture by file name. Qt's image reader then looks through every image-format
// plugin (JPEG with libjpeg, GIF, ICO), and the picture's stretching starts the image threads: 0.3 to 0.5 MB
// at every start for a grey line. These are that picture's colours: a translucent grey outline whose corners
// are softened, a fainter line inside it and a shade over the inside.
const QColor kOutline(117, 117, 117, 50);
const QColor kOutlineCorner(117, 117, 117, 13);
const QColor kOutlineBesideCorner(98, 98, 98, 54);
const QColor kInnerCorner(117, 117, 117, 31);
const QColor kInnerLine(0, 0, 0, 7);
const QColor kShade(0, 0, 0, 3);
// Fusion's space between the title's line and the frame.
constexpr int kTitleGap = 3;

// The outline leaves the frame's first column and row clear, as the picture does.
void Paint(QPainter *p, const QRect &frame) {
    const int l = frame.left();
    const int t = frame.top();
    const int r = frame.right();
    const int b = frame.bottom();
    p->fillRect(QRect(QPoint(l + 3, t + 3), QPoint(r - 2, b - 2)), kShade);
    for (const QRect &line :
         {QRect(QPoint(l + 3, t + 2), QPoint(r - 2, t + 2)), QRect(QPoint(l + 3, b - 1), QPoint(r - 2, b - 1)),
          QRect(QPoint(l + 2, t + 3), QPoint(l + 2, b - 2)), QRect(QPoint(r - 1, t + 3), QPoint(r - 1, b - 2))}) {
        p->fillRect(line, kInnerLine);
    }
    for (const QRect &line :
         {QRect(QPoint(l + 3, t + 1), QPoint(r - 2, t + 1)), QRect(QPoint(l + 3, b), QPoint(r - 2, b)),
          QRect(QPoint(l + 1, t + 3), QPoint(l + 1, b - 2)), QRect(QPoint(r, t + 3), QPoint(r, b - 2))}) {
        p->fillRect(line, kOutline);
    }
    // Each corner: its outline pixel faint, the two beside it darker, the inner line's corner between the two.
    for (const auto &[corner, inward] :
         {std::pair(QPoint(l + 1, t + 1), QPoint(1, 1)), std::pair(QPoint(r, t + 1), QPoint(-1, 1)),
          std::pair(QPoint(l + 1, b), QPoint(1, -1)), std::pair(QPoint(r, b), QPoint(-1, -1))}) {
        p->fillRect(QRect(corner, QSize(1, 1)), kOutlineCorner);
        p->fillRect(QRect(corner + QPoint(inward.x(), 0), QSize(1, 1)), kOutlineBesideCorner);
        p->fillRect(QRect(corner + QPoint(0, inward.y()), QSize(1, 1)), kOutlineBesideCorner);
        p->fillRect(QRect(corner + inward, QSize(1, 1)), kInnerCorner);
    }
}

} // namespace

bool Draw(const QStyle *base, const QStyleOption *option, QPainter *painter, const QWidget *widget) {
    const auto *box = qobject_cast<const QGroupBox *>(widget);
    if (base == nullptr || base->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0 || box == nullptr ||
        box->title().isEmpty() || box->isCheckable()) {
        return false;
    }
    // Fusion either is handed the whole box and moves the frame below the title itself, or is handed the frame.
    QRect frame = option->rect;
    if (frame == box->rect()) {
        frame.setTop(
            frame.top() +
            qMax(base->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, option, widget), option->fontMetrics.height()) +
            kTitleGap);
    }
    Paint(painter, frame);
    return true;
}

} // namespace GroupFrame
