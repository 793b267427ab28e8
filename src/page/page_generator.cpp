// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
// page-generator TEMPLATE OUTPUT: writes the page's index.html from its template, run on the
// build machine with the same core the page runs in the browser. It fills in what the window
// declares once: the controls' places and sizes and colours as the style sheet, the zoom step
// each screen gets as media queries, the fixed texts and the list's rows.

#include "fixed_texts.h"
#include "page_core.h"
#include "window_geometry.h"
#include "zoom_policy.h"
#include "zoom_steps.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

constexpr int kTwipsPerPixel = 15;
// The page's own frame around the client area, in the window's pixels: a border and a title
// bar, which grow with the zoom as the rest does.
constexpr int kFrameBorder = 2;
constexpr int kTitleBarHeight = 24;
constexpr int kClientWidth = kClientWidthTwips / kTwipsPerPixel;
constexpr int kClientHeight = kClientHeightTwips / kTwipsPerPixel;
constexpr int kWindowWidth = kClientWidth + 2 * kFrameBorder;
constexpr int kWindowHeight = kClientHeight + kTitleBarHeight + 2 * kFrameBorder;
// The sunken border around the photograph, as around every box of the window.
constexpr int kSunkenBorder = 2;
// Each row of the list, as the desktop's list lays it out in the window's font.
constexpr int kRowHeight = 17;
// Larger than any screen: a side that does not limit the fit.
constexpr int kUnlimited = 1 << 20;

std::string escaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string hex(unsigned bgr)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", bgr & 0xFF, (bgr >> 8) & 0xFF,
                  (bgr >> 16) & 0xFF);
    return text;
}

// A length in the window's pixels, grown with the zoom.
std::string zoomed(double pixels)
{
    std::ostringstream out;
    out << "calc(" << pixels << "px * var(--z))";
    return out.str();
}

// Placed and sized in the client area, which starts inside the frame.
std::string place(const char* selector, int left, int top, int width, int height)
{
    std::ostringstream out;
    out << selector << " { left: " << zoomed(kFrameBorder + left)
        << "; top: " << zoomed(kFrameBorder + kTitleBarHeight + top) << "; width: " << zoomed(width)
        << "; height: " << zoomed(height) << "; }\n";
    return out.str();
}

std::string place(const char* selector, const TwipsRect& rect)
{
    return place(selector, rect.left / kTwipsPerPixel, rect.top / kTwipsPerPixel,
                 rect.width / kTwipsPerPixel, rect.height / kTwipsPerPixel);
}

// The smallest side at which a step fits, found with the core's own rule.
int smallestFitting(int percent, bool width)
{
    int side = 1;
    while (side < kUnlimited) {
        const int w = width ? side : kUnlimited;
        const int h = width ? kUnlimited : side;
        if (domino_fitting_zoom(kWindowWidth, kWindowHeight, w, h, 3) >= percent)
            return side;
        ++side;
    }
    return kUnlimited;
}

// The smallest device pixel ratio, to a ten-thousandth, at which the core's rule lets a step
// give each window pixel a screen pixel.
double smallestRatio(int percent)
{
    constexpr int kFinest = 10000;
    for (int step = 1; step <= 10 * kFinest; ++step) {
        if (ZoomStepIsDrawable(double(step) / kFinest, percent))
            return double(step) / kFinest;
    }
    return 10;
}

std::string style()
{
    std::ostringstream css;
    css << ":root { --z: 1; --form: " << hex(kFormBackgroundBgr)
        << "; --heading: " << hex(kHeadingBackgroundBgr) << "; --clear: " << hex(kClearFaceBgr)
        << "; }\n";
    // The largest step that fits: a step's rule comes after the smaller ones', so it wins
    // wherever its screen is large enough. Where none fits, the smallest one the screen can
    // draw, as the desktop's window keeps.
    double previousRatio = 0;
    for (const int step : kZoomSteps) {
        const double ratio = smallestRatio(step);
        css << "@media (min-resolution: " << ratio << "dppx)";
        if (previousRatio > 0)
            css << " and (max-resolution: " << previousRatio - 0.0001 << "dppx)";
        css << " { :root { --z: " << step / 100.0 << "; } }\n";
        css << "@media (min-resolution: " << ratio
            << "dppx) and (min-width: " << smallestFitting(step, true)
            << "px) and (min-height: " << smallestFitting(step, false)
            << "px) { :root { --z: " << step / 100.0 << "; } }\n";
        previousRatio = ratio;
    }
    css << ".window { width: " << zoomed(kWindowWidth) << "; height: " << zoomed(kWindowHeight)
        << "; font-size: " << zoomed(kFontPoints * 4 / 3.0) << "; }\n";
    css << ".title { left: 0; top: 0; width: " << zoomed(kWindowWidth)
        << "; height: " << zoomed(kTitleBarHeight + kFrameBorder) << "; }\n";
    css << place("#Text1", kText1Twips) << place("#Label1", kLabel1Twips)
        << place("#List1", kList1Twips) << place("#Command1", kCommand1Twips)
        << place("#Picture1", kPicture1Twips)
        << place("#Picture2", kPicture2LeftTwips / kTwipsPerPixel,
                 kPicture2TopTwips / kTwipsPerPixel, kPhotoWidthPixels + 2 * kSunkenBorder,
                 kPhotoHeightPixels + 2 * kSunkenBorder);
    css << "[role=option] { height: " << zoomed(kRowHeight)
        << "; line-height: " << zoomed(kRowHeight) << "; }\n";
    return css.str();
}

std::string rows()
{
    std::ostringstream html;
    for (int row = 0; row < domino_row_count(); ++row) {
        const std::string label = domino_row_label(row);
        html << "<div role=option id=row" << row << " aria-selected=false aria-description=\""
             << escaped(domino_row_description(row)) << "\">" << escaped(label) << "</div>";
    }
    return html.str();
}

void replace(std::string& page, const std::string& name, const std::string& value)
{
    const std::string mark = "{{" + name + "}}";
    for (auto at = page.find(mark); at != std::string::npos; at = page.find(mark, at))
        page.replace(at, mark.size(), value);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::cerr << "usage: page-generator TEMPLATE OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream read;
    read << in.rdbuf();
    std::string page = read.str();
    replace(page, "style", style());
    replace(page, "rows", rows());
    replace(page, "caption", escaped(kCaption));
    replace(page, "heading", escaped(kHeading));
    replace(page, "description", escaped(kDescription));
    replace(page, "clear", escaped(kClearCaption));
    replace(page, "clear_description", escaped(kClearDescription));
    replace(page, "report_name", escaped(kReportName));
    replace(page, "list_name", escaped(kListName));
    replace(page, "tile_name", escaped(kTileName));
    replace(page, "photo_name", escaped(kPhotoName));
    replace(page, "no_tile", escaped(kNoTileDescription));
    replace(page, "window_width", std::to_string(kWindowWidth));
    replace(page, "tile_left",
            std::to_string(kFrameBorder + kPicture1Twips.left / kTwipsPerPixel + kSunkenBorder));
    replace(page, "tile_top",
            std::to_string(kFrameBorder + kTitleBarHeight + kPicture1Twips.top / kTwipsPerPixel +
                           kSunkenBorder));
    replace(page, "window_height", std::to_string(kWindowHeight));
    std::ofstream out(argv[2], std::ios::binary);
    out << page;
    return out.good() ? 0 : 1;
}
