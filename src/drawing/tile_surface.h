// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the tile drawings need from the surface they draw on. Coordinates and sizes are twips
// (1/1440 inch); the origin is the top left corner of the drawing area, inside the border,
// while Width and Height are the outer size, border included.
class TileSurface
{
public:
    virtual ~TileSurface() = default;

    virtual float Width() const = 0;
    virtual float Height() const = 0;

    // Pen width in pixels, at least 1; it stays until set again.
    virtual int DrawWidth() const = 0;
    virtual void SetDrawWidth(int pixels) = 0;

    // One point in the foreground colour: a filled round dot as wide as the pen.
    virtual void PSet(float x, float y) = 0;
    virtual void Line(float x1, float y1, float x2, float y2) = 0;
    // Back to the bare background.
    virtual void Cls() = 0;
};
