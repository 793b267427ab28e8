// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"

#include "product_facts.h"
#include "zoom_steps.h"

#include <string_view>

namespace {

std::string stepList()
{
    std::string list;
    for (const int step : kZoomSteps)
        list += (list.empty() ? "" : ", ") + std::to_string(step);
    return list;
}

} // namespace

CommandLine ReadCommandLine(int argc, const char* const argv[])
{
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--version") {
            line.action = CommandLine::Action::PrintVersion;
        } else if (word == "--help" || word == "-h") {
            line.action = CommandLine::Action::PrintHelp;
        } else if (word == "--zoom" || word.starts_with("--zoom=")) {
            std::string_view value;
            if (word != "--zoom")
                value = word.substr(word.find('=') + 1);
            else if (i + 1 < argc)
                value = argv[++i];
            line.zoom = ReadZoomPercent(value);
            if (!line.zoom) {
                line.action = CommandLine::Action::Refuse;
                line.error = "--zoom: \"" + std::string(value) +
                             "\" is not one of the zoom steps (" + stepList() + ")";
                return line;
            }
        }
    }
    return line;
}

std::string VersionText()
{
    return std::string(kProductName) + ' ' + kProductVersion + '\n';
}

std::string HelpText()
{
    return std::string("Usage: ") + kExecutableName + " [--zoom PERCENT]\n" + kProductName +
           ": pick a domino tile and see it drawn.\n\n"
           "  --zoom PERCENT   show the window at this size for this run: " +
           stepList() +
           "\n"
           "  --version        print the name and version\n"
           "  --help           print this help\n\n"
           "In the window: Ctrl+Plus (or Ctrl+=) enlarges it one step, Ctrl+Minus makes it\n"
           "smaller, Ctrl+0 returns to 100 %, and Ctrl with the mouse wheel steps too. The\n"
           "size chosen with the keys is remembered for the next start.\n";
}
