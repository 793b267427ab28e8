// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "bevel.h"

#include <QPainter>
#include <QPalette>

namespace {

// The pixels of the desktop's two polylines a side, outer line first.
void drawBevel(QPainter& painter, const QRect& rect, const QColor& outerTopLeft,
               const QColor& outerBottomRight, const QColor& innerTopLeft,
               const QColor& innerBottomRight)
{
    const int x = rect.x();
    const int y = rect.y();
    const int w = rect.width();
    const int h = rect.height();
    painter.fillRect(QRect(x, y, 1, h - 1), outerTopLeft);
    painter.fillRect(QRect(x, y, w - 1, 1), outerTopLeft);
    painter.fillRect(QRect(x, y + h - 1, w, 1), outerBottomRight);
    painter.fillRect(QRect(x + w - 1, y, 1, h), outerBottomRight);
    painter.fillRect(QRect(x + 1, y + 1, 1, h - 3), innerTopLeft);
    painter.fillRect(QRect(x + 1, y + 1, w - 3, 1), innerTopLeft);
    painter.fillRect(QRect(x + 1, y + h - 2, w - 2, 1), innerBottomRight);
    painter.fillRect(QRect(x + w - 2, y + 1, 1, h - 2), innerBottomRight);
}

} // namespace

void drawSunkenBorder(QPainter& painter, const QRect& rect, const QPalette& palette)
{
    drawBevel(painter, rect, palette.color(QPalette::Dark), palette.color(QPalette::Light),
              palette.color(QPalette::Shadow), palette.color(QPalette::Midlight));
}

void drawButtonBevel(QPainter& painter, const QRect& rect, const QPalette& palette, bool pressed,
                     const QBrush& face)
{
    if (pressed)
        drawBevel(painter, rect, palette.color(QPalette::Shadow), palette.color(QPalette::Light),
                  palette.color(QPalette::Dark), palette.color(QPalette::Button));
    else
        drawBevel(painter, rect, palette.color(QPalette::Light), palette.color(QPalette::Shadow),
                  palette.color(QPalette::Button), palette.color(QPalette::Dark));
    painter.fillRect(rect.adjusted(2, 2, -2, -2), face);
}
