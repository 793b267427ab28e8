// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_form.h"

#include "announcer.h"
#include "command_button.h"
#include "divider.h"
#include "fixed_texts.h"
#include "list_box.h"
#include "picture_box.h"
#include "pip_layouts.h"
#include "selection_report.h"
#include "text_box.h"
#include "tile_description.h"
#include "tile_label.h"

#include <QAccessible>
#include <QApplication>

MainForm::MainForm(QWidget* parent) : MainFormLayout(parent)
{
    connect(List1, &ListBox::Click, this, &MainForm::List1_Click);
    connect(List1, &ListBox::Click, this, &MainForm::describeTileForScreenReaders);
    connect(Command1, &CommandButton::clicked, this, &MainForm::Command1_Click);
    connect(Command1, &CommandButton::clicked, this, &MainForm::announcePromptToScreenReaders);
    connect(qApp, &QApplication::focusChanged, this, &MainForm::tellScreenReadersFocusLeft);
    Load();
}

// The controls, and with them the focus, leave only after this destructor; the focus moving then
// must not call into a window that is no longer a MainForm.
MainForm::~MainForm()
{
    disconnect(qApp, &QApplication::focusChanged, this, &MainForm::tellScreenReadersFocusLeft);
}

void MainForm::Load()
{
    List1->Clear();
    for (const TileLabel& label : BuildTileCatalogue())
        List1->AddItem(label, QString::fromStdString(DescribeRow(label)));
    DrawDivider(*Picture1);
    Picture1->SetAutoRedraw(true);
}

void MainForm::List1_Click()
{
    const std::int16_t n = List1->ListCount();
    const std::int16_t i = List1->ListIndex();
    const std::string label = List1->List(i);
    Text1->SetText(BuildSelectionReport(n, label));
    const TileHalves halves = ReadTileHalves(label);
    UpperPips = halves.upper;
    LowerPips = halves.lower;
    Picture1->Cls();
    DrawDivider(*Picture1);
    DrawUpperPips(*Picture1, *UpperPips);
    DrawLowerPips(*Picture1, LowerPips);
}

void MainForm::Command1_Click()
{
    List1->SetListIndex(-1); // runs List1_Click with nothing selected
    Text1->SetText(kPrompt);
    Picture1->Cls();
    DrawDivider(*Picture1);
}

// Kept apart from the flows above: these only tell a screen reader what the window shows.
QString MainForm::tileDescription() const
{
    return QString::fromStdString(DescribeTile(List1->List(List1->ListIndex())));
}

void MainForm::describeTileForScreenReaders()
{
    Picture1->setAccessibleDescription(tileDescription());
}

void MainForm::announcePromptToScreenReaders()
{
    announcer->say(QString::fromUtf8(kPrompt));
}

// Qt tells screen readers that a control lost the focus only if it told them it had it, and the
// report box has it from start-up, before any reader listens. Orca 48 would go on taking the
// box for focused: it read the first letter of each new report as its caret moved, and then
// named the list again at the next key, as if the focus came to it from the box.
void MainForm::tellScreenReadersFocusLeft(QWidget* old)
{
    if (!old || old->window() != this || !QAccessible::isActive())
        return;
    QAccessible::State focus;
    focus.focused = true;
    QAccessibleStateChangeEvent event(old, focus);
    QAccessible::updateAccessibility(&event);
}
