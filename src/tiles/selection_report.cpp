// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection_report.h"

#include "tile_label.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kCountHead = "От общо: ";
constexpr std::string_view kPickedMiddle = " плочки, Вие избрахте плочка: ";
constexpr std::string_view kSymmetricLine = "Избраната плочка е симетрична!";
constexpr std::string_view kMirroredHead = "Плочката може да се разглежда и като: ";

} // namespace

std::string BuildSelectionReport(std::int16_t tileCount, std::string_view label)
{
    std::string report;
    report += kCountHead;
    report += std::to_string(tileCount);
    report += kPickedMiddle;
    report += label;
    report += kLineEnd;
    report += BuildSymmetryLine(label);
    report += kLineEnd;
    return report;
}

std::string BuildSymmetryLine(std::string_view label)
{
    const std::string mirrored = MirrorLabel(label);
    if (mirrored == label)
        return std::string(kSymmetricLine);
    return std::string(kMirroredHead) + mirrored;
}
