// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tile_label.h"

#include <algorithm>

namespace {

constexpr int kHighestPipCount = 6;

// Length of the UTF-8 sequence that starts at text[at]; a malformed sequence counts as one
// character per byte so that nothing is dropped or read past the end.
std::size_t characterLength(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 1;
    if ((lead & 0xE0) == 0xC0)
        length = 2;
    else if ((lead & 0xF0) == 0xE0)
        length = 3;
    else if ((lead & 0xF8) == 0xF0)
        length = 4;
    if (at + length > text.size())
        return 1;
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80)
            return 1;
    }
    return length;
}

std::vector<std::string_view> splitCharacters(std::string_view text)
{
    std::vector<std::string_view> characters;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = characterLength(text, at);
        characters.push_back(text.substr(at, length));
        at += length;
    }
    return characters;
}

// Value of the character at a 0-based position: a decimal digit gives its value, anything
// else (including no character at all) gives 0.
int digitAt(const std::vector<std::string_view>& characters, std::size_t position)
{
    if (position >= characters.size())
        return 0;
    const std::string_view character = characters[position];
    if (character.size() == 1 && character[0] >= '0' && character[0] <= '9')
        return character[0] - '0';
    return 0;
}

} // namespace

std::vector<TileLabel> BuildTileCatalogue()
{
    std::vector<TileLabel> labels;
    for (int upper = 0; upper <= kHighestPipCount; ++upper) {
        for (int lower = upper; lower <= kHighestPipCount; ++lower)
            labels.push_back({static_cast<char>('0' + upper), ':', static_cast<char>('0' + lower)});
    }
    return labels;
}

TileHalves ReadTileHalves(std::string_view label)
{
    const std::vector<std::string_view> characters = splitCharacters(label);
    return {static_cast<double>(digitAt(characters, 0)),
            static_cast<std::int16_t>(digitAt(characters, 2))};
}

std::string MirrorLabel(std::string_view label)
{
    // Neighbouring malformed bytes stay together and in order: reversed, they could
    // otherwise form a character that was never there, and mirroring twice would not give
    // the text back.
    std::vector<std::string_view> characters;
    bool previousMalformed = false;
    for (const std::string_view character : splitCharacters(label)) {
        const bool malformed =
            character.size() == 1 && static_cast<unsigned char>(character[0]) >= 0x80;
        if (malformed && previousMalformed) {
            const std::string_view run = characters.back();
            characters.back() = std::string_view(run.data(), run.size() + 1);
        } else {
            characters.push_back(character);
        }
        previousMalformed = malformed;
    }
    std::reverse(characters.begin(), characters.end());
    std::string mirrored;
    mirrored.reserve(label.size());
    for (const std::string_view character : characters)
        mirrored += character;
    return mirrored;
}
