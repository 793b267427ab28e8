// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The zoom the user chose last, from the platform's per-user settings: 100 when there is none
// or it cannot be read or makes no sense. Reading it writes nothing.
int RememberedZoom();
void RememberZoom(int percent);
