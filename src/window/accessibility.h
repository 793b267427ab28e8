// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Lets screen readers present the tile and the photograph as pictures rather than as empty
// panes, and the announcer as a notification. Safe to call more than once.
void installWindowAccessibility();
