// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window as it was designed, declared once for the desktop's layout and the web page's
// style sheet: each control's place and size in twips, its font and its colours. Standard C++
// only, so that the page's build needs no Qt.

struct TwipsRect
{
    int left;
    int top;
    int width;
    int height;
};

inline constexpr int kClientWidthTwips = 6915;
inline constexpr int kClientHeightTwips = 5175;

inline constexpr TwipsRect kText1Twips{120, 3120, 6735, 1815};
inline constexpr TwipsRect kLabel1Twips{960, 0, 4575, 375};
inline constexpr TwipsRect kList1Twips{240, 480, 1455, 1770};
inline constexpr TwipsRect kCommand1Twips{240, 2400, 1575, 375};
inline constexpr TwipsRect kPicture1Twips{2040, 480, 1200, 2400};
// The photograph's box takes its size from the picture, in pixels, border included.
inline constexpr int kPicture2LeftTwips = 3360;
inline constexpr int kPicture2TopTwips = 480;
inline constexpr int kPhotoWidthPixels = 220;
inline constexpr int kPhotoHeightPixels = 162;

// Every control's font: Times New Roman (or its metric twin, Liberation Serif) at this size.
inline constexpr int kFontPoints = 12;

// Colours written 0x00BBGGRR: blue in the high byte.
inline constexpr unsigned kFormBackgroundBgr = 0x00FFC0C0;    // light blue
inline constexpr unsigned kHeadingBackgroundBgr = 0x0080C0FF; // light orange
inline constexpr unsigned kClearFaceBgr = 0x000000FF;         // pure red
