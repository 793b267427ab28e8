// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Which zoom step a window may take: plain arithmetic, the same for the desktop's window and
// the web page's.

struct ZoomArea
{
    int width = 0;
    int height = 0;
};

// Whether a step gives each of the window's pixels at least one screen pixel: ratioAt100 is
// screen pixels to the window's pixel at 100 %.
bool ZoomStepIsDrawable(double ratioAt100, int percent);

// Whether the window, shown now at step `current`, fits the free area at step `percent`, which
// may not pass the ceiling. Its client area grows with the step, while the frame around it (the
// outer size less the client) keeps its size in screen pixels. All three sizes are in the
// window's units at the current step.
bool ZoomStepFits(int percent, int current, int ceiling, ZoomArea client, ZoomArea outer,
                  ZoomArea available);

// The largest step up to the ceiling at which a window of `size` at 100 % (a frame that grows
// with it included) fits the free area and is drawable; the smallest drawable step where none
// fits.
int LargestFittingZoomStep(ZoomArea size, ZoomArea available, double ratioAt100, int ceiling);
