// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tile_widget.h"

#include <QPainter>
#include <vector>

namespace {

constexpr double kTwipsPerPixel = 15;
constexpr int kHalfTwips = 1200; // the divider lies at half the outer height
constexpr double kPipDiameter = 15;

// Pip centres in twips from the top left of each half. The halves differ: the lower 5 has
// its middle pip at 600, not 550.
const std::vector<QPoint> kUpperPips[] = {
    {},
    {{600, 600}},
    {{1000, 200}, {100, 1000}},
    {{550, 600}, {1000, 200}, {100, 1000}},
    {{200, 200}, {900, 200}, {200, 1000}, {900, 1000}},
    {{550, 600}, {200, 200}, {900, 200}, {200, 1000}, {900, 1000}},
    {{200, 200}, {900, 200}, {200, 600}, {900, 600}, {200, 1000}, {900, 1000}},
};
const std::vector<QPoint> kLowerPips[] = {
    {},
    {{600, 600}},
    {{1000, 200}, {100, 1000}},
    {{550, 600}, {1000, 200}, {100, 1000}},
    {{900, 200}, {200, 200}, {900, 1000}, {200, 1000}},
    {{600, 600}, {900, 200}, {200, 200}, {900, 1000}, {200, 1000}},
    {{900, 200}, {200, 200}, {900, 600}, {200, 600}, {900, 1000}, {200, 1000}},
};

} // namespace

TileWidget::TileWidget(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFixedSize(80, 160);
}

void TileWidget::setPips(int upper, int lower)
{
    upper_ = upper;
    lower_ = lower;
    update();
}

void TileWidget::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.fillRect(area, palette().button());
    painter.setClipRect(area);
    painter.translate(area.topLeft());

    const double middle = kHalfTwips / kTwipsPerPixel;
    painter.setPen(palette().buttonText().color());
    painter.drawLine(QPointF(0, middle), QPointF(width(), middle));

    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().buttonText());
    const auto drawPips = [&](const std::vector<QPoint>& pips, int top) {
        for (const QPoint& pip : pips)
            painter.drawEllipse(QPointF(pip.x(), top + pip.y()) / kTwipsPerPixel, kPipDiameter / 2,
                                kPipDiameter / 2);
    };
    drawPips(kUpperPips[upper_], 0);
    drawPips(kLowerPips[lower_], kHalfTwips);
}
