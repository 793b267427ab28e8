// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tile_description.h"

#include "fixed_texts.h"
#include "selection_report.h"
#include "tile_label.h"

namespace {

// The pattern with %1 and %2 replaced by the two texts, in one pass, so that a text holding
// "%2" is not filled in again.
std::string fillIn(std::string_view pattern, std::string_view first, std::string_view second = {})
{
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() &&
            (pattern[i + 1] == '1' || pattern[i + 1] == '2')) {
            text += pattern[i + 1] == '1' ? first : second;
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

std::string pips(int count)
{
    return count == 1 ? std::string(kOnePip) : fillIn(kPips, std::to_string(count));
}

} // namespace

std::string DescribeHalves(std::string_view label)
{
    const TileHalves halves = ReadTileHalves(label);
    return fillIn(kHalves, pips(static_cast<int>(halves.upper)), pips(halves.lower));
}

std::string DescribeRow(std::string_view label)
{
    return DescribeHalves(label) + ". " + BuildSymmetryLine(label);
}

std::string DescribeTile(std::string_view label)
{
    if (label.empty())
        return kNoTileDescription;
    return fillIn(kTileDescription, label, DescribeHalves(label));
}
