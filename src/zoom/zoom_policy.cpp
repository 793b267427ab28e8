// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zoom_policy.h"

#include "zoom_steps.h"

#include <cmath>

namespace {

// Half away from zero, as sizes in pixels are rounded.
int rounded(double value)
{
    return static_cast<int>(std::lround(value));
}

} // namespace

bool ZoomStepIsDrawable(double ratioAt100, int percent)
{
    return ratioAt100 * percent >= 100 - 0.01;
}

bool ZoomStepFits(int percent, int current, int ceiling, ZoomArea client, ZoomArea outer,
                  ZoomArea available)
{
    if (percent > ceiling || current <= 0)
        return false;
    const double growth = double(percent) / current;
    // A window manager's frame keeps its size in pixels: in the window's units it shrinks.
    const int marginWidth = rounded((outer.width - client.width) / growth);
    const int marginHeight = rounded((outer.height - client.height) / growth);
    const int grownWidth = rounded((client.width + marginWidth) * growth);
    const int grownHeight = rounded((client.height + marginHeight) * growth);
    return grownWidth <= available.width && grownHeight <= available.height;
}

int LargestFittingZoomStep(ZoomArea size, ZoomArea available, double ratioAt100, int ceiling)
{
    int chosen = 0;
    for (const int step : kZoomSteps) {
        if (!ZoomStepIsDrawable(ratioAt100, step))
            continue;
        if (chosen == 0 || ZoomStepFits(step, kActualSize, ceiling, size, size, available))
            chosen = step;
    }
    return chosen == 0 ? kActualSize : chosen;
}
