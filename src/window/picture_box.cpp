// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_box.h"

#include "bevel.h"
#include "twips.h"

#include <QEvent>
#include <QPainter>

QImage imageOver(const RasterTileSurface& surface)
{
    const RasterTileSurface::Size size = surface.deviceSize();
    QImage image(surface.pixels(), size.width, size.height, size.width * 4,
                 QImage::Format_RGBX8888);
    image.setDevicePixelRatio(surface.devicePixelRatio());
    return image;
}

PictureBox::PictureBox(int widthTwips, int heightTwips, QWidget* parent)
    : QWidget(parent),
      surface_(float(widthTwips), float(heightTwips), toRgb(palette().color(QPalette::ButtonText)),
               toRgb(palette().color(QPalette::Button)))
{
    setFixedSize(widthTwips / kTwipsPerPixel, heightTwips / kTwipsPerPixel);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// Only the drawing area needs repainting after a drawing operation; the border stays.
void PictureBox::PSet(float x, float y)
{
    surface_.PSet(x, y);
    update(drawingArea());
}

void PictureBox::Line(float x1, float y1, float x2, float y2)
{
    surface_.Line(x1, y1, x2, y2);
    update(drawingArea());
}

void PictureBox::Cls()
{
    surface_.Cls();
    update(drawingArea());
}

void PictureBox::SetAutoRedraw(bool on)
{
    autoRedraw_ = on;
    update(drawingArea());
}

QRect PictureBox::drawingArea() const
{
    constexpr int border = RasterTileSurface::kBorderPixels;
    return rect().adjusted(border, border, -border, -border);
}

void PictureBox::paintEvent(QPaintEvent*)
{
    // Drawn afresh at the screen's own ratio rather than scaled, so dots stay round and sharp.
    surface_.setDevicePixelRatio(devicePixelRatioF());

    QPainter painter(this);
    drawSunkenBorder(painter, rect(), palette());
    if (autoRedraw_)
        painter.drawImage(drawingArea().topLeft(), imageOver(surface_));
    else
        painter.fillRect(drawingArea(), palette().color(QPalette::Button));
}

void PictureBox::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange) {
        surface_.setColors(toRgb(palette().color(QPalette::ButtonText)),
                           toRgb(palette().color(QPalette::Button)));
        update();
    }
    QWidget::changeEvent(event);
}
