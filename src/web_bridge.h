// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class MainForm;
class WindowZoom;

// Shows the window on the web page at the largest zoom that fits the browser's window, fits it
// again whenever that changes, and tells the page what a screen reader should hear.
void ShowOnPage(MainForm& form, WindowZoom& zoom);
