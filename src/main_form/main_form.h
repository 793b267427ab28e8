// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "main_form_layout.h"

#include <cstdint>
#include <optional>

// The program's window: it keeps the two halves of the tile on show and runs the three event
// flows, start-up, picking a tile and clearing, each a fixed sequence of steps on the controls.
class MainForm : public MainFormLayout
{
    Q_OBJECT

public:
    explicit MainForm(QWidget* parent = nullptr);
    ~MainForm() override;

    // Empty until the first pick.
    std::optional<double> UpperPips;
    std::int16_t LowerPips = 0;

    // What the tile shows, in words, for screen readers.
    QString tileDescription() const;

private:
    void Load();
    void List1_Click();
    void Command1_Click();

    void describeTileForScreenReaders();
    void announcePromptToScreenReaders();
    void tellScreenReadersFocusLeft(QWidget* old);
};
