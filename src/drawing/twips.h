// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Positions and sizes are designed in twips (1/1440 inch); at 96 dots per inch a pixel is 15.
constexpr int kTwipsPerPixel = 15;
