// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

// What the command line asks for. Options the program does not know are left to Qt, which
// takes its own (-platform, -style and the like).
struct CommandLine
{
    enum class Action { Run, PrintVersion, PrintHelp, Refuse };
    Action action = Action::Run;
    // The zoom for this run only, in per cent.
    std::optional<int> zoom;
    // Why the command line was refused, for stderr.
    std::string error;
};

CommandLine ReadCommandLine(int argc, const char* const argv[]);
std::string VersionText();
std::string HelpText();

// The exit status for a refused command line, as command-line tools use it.
inline constexpr int kUsageExitStatus = 2;
