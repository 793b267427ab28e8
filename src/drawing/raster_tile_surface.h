// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tile_surface.h"
#include "twips.h"

#include <QColor>
#include <QImage>
#include <vector>

// A tile surface held in an off-screen image, so that what is drawn persists until Cls.
// The image covers the drawing area inside a 2-pixel border; a point in twips lands on the
// pixel (round(x / 15), round(y / 15)) of that area. At a device pixel ratio above 1 every
// pixel figure is scaled by the ratio, so dots stay round and edges stay sharp.
class RasterTileSurface : public TileSurface
{
public:
    static constexpr int kBorderPixels = 2;
    // Pen widths run from 1 to this many pixels, as on the desktop the drawings come from;
    // wider would only make a dot slower to draw.
    static constexpr int kWidestPen = 32767;

    RasterTileSurface(float widthTwips, float heightTwips, QColor foreground, QColor background,
                      qreal devicePixelRatio = 1);

    float Width() const override { return widthTwips_; }
    float Height() const override { return heightTwips_; }
    int DrawWidth() const override { return drawWidth_; }
    void SetDrawWidth(int pixels) override;
    void PSet(float x, float y) override;
    void Line(float x1, float y1, float x2, float y2) override;
    void Cls() override;

    // The drawing area in device pixels, with its device pixel ratio set.
    const QImage& image() const { return image_; }
    // Logical size of the drawing area in pixels.
    QSize areaSize() const { return areaSize_; }

    // Both re-render everything drawn since the last Cls, so nothing is lost.
    void setDevicePixelRatio(qreal ratio);
    void setColors(QColor foreground, QColor background);

private:
    struct Stroke
    {
        float x1, y1, x2, y2;
        int width;
    };

    void render();
    void paint(const Stroke& stroke);
    void fillPixel(long long px, long long py);
    bool fillDot(long long px, long long py, int width);

    float widthTwips_;
    float heightTwips_;
    QSize areaSize_;
    QColor foreground_;
    QColor background_;
    qreal ratio_;
    int drawWidth_ = 1;
    QImage image_;
    // What was drawn since the last Cls, kept to re-render at another ratio or in other colours.
    std::vector<Stroke> strokes_;
};
