// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "raster_tile_surface.h"

#include <QColor>
#include <QImage>
#include <QWidget>

inline Rgb toRgb(const QColor& colour)
{
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

// The surface's pixels as a QImage at its device pixel ratio, over the surface's own buffer: valid
// until the surface next changes.
QImage imageOver(const RasterTileSurface& surface);

// The tile surface on screen: a sunken 2-pixel border around a drawing area that shows what
// was drawn on it, in the platform's button-text colour on its button-face colour.
class PictureBox : public QWidget, public TileSurface
{
    Q_OBJECT

public:
    // The outer size, border included, in twips.
    PictureBox(int widthTwips, int heightTwips, QWidget* parent = nullptr);

    float Width() const override { return surface_.Width(); }
    float Height() const override { return surface_.Height(); }
    int DrawWidth() const override { return surface_.DrawWidth(); }
    void SetDrawWidth(int pixels) override { surface_.SetDrawWidth(pixels); }
    void PSet(float x, float y) override;
    void Line(float x1, float y1, float x2, float y2) override;
    void Cls() override;

    // Persistent drawing: while on, what was drawn comes back at every repaint; while off,
    // a repaint shows the bare face.
    bool AutoRedraw() const { return autoRedraw_; }
    void SetAutoRedraw(bool on);

    // A copy of what is drawn, at the device pixel ratio it was last shown at.
    QImage image() const { return imageOver(surface_).copy(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QRect drawingArea() const;

    RasterTileSurface surface_;
    bool autoRedraw_ = true;
};
