// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tile_surface.h"

#include <QString>
#include <QStringList>

// Writes down every operation, in order, so tests can compare drawings call by call.
class RecordingSurface : public TileSurface
{
public:
    RecordingSurface(float width, float height) : width_(width), height_(height) {}

    float Width() const override { return width_; }
    float Height() const override { return height_; }
    int DrawWidth() const override { return drawWidth_; }
    void SetDrawWidth(int pixels) override
    {
        drawWidth_ = pixels;
        calls << QString("pen %1").arg(pixels);
    }
    void PSet(float x, float y) override { calls << QString("dot %1 %2").arg(x).arg(y); }
    void Line(float x1, float y1, float x2, float y2) override
    {
        calls << QString("line %1 %2 %3 %4").arg(x1).arg(y1).arg(x2).arg(y2);
    }
    void Cls() override { calls << "cls"; }

    QStringList calls;

private:
    float width_;
    float height_;
    int drawWidth_ = 1;
};
