// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zoom_steps.h"

#include <algorithm>
#include <charconv>

int NextZoomStep(int percent)
{
    const auto above = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), percent);
    return above == kZoomSteps.end() ? percent : *above;
}

int PreviousZoomStep(int percent)
{
    const auto below = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), percent);
    return below == kZoomSteps.begin() ? percent : *(below - 1);
}

std::optional<int> ReadZoomPercent(std::string_view text)
{
    if (text.ends_with('%'))
        text.remove_suffix(1);
    int percent = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), percent);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    if (std::find(kZoomSteps.begin(), kZoomSteps.end(), percent) == kZoomSteps.end())
        return std::nullopt;
    return percent;
}
