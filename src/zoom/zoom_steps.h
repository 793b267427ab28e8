// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string_view>

// The sizes the window can be shown at, in per cent of its designed size: a few fixed steps,
// as document viewers offer them, so that every step draws the tile on whole pixels.
inline constexpr std::array<int, 7> kZoomSteps{75, 100, 125, 150, 200, 250, 300};
inline constexpr int kActualSize = 100;

// The step above (or below) a step; at the ends, the same step.
int NextZoomStep(int percent);
int PreviousZoomStep(int percent);

// "150" or "150%" as a step; nothing for any other text.
std::optional<int> ReadZoomPercent(std::string_view text);
