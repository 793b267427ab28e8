#include "main_form.h"

#include "command_button.h"
#include "divider.h"
#include "fixed_texts.h"
#include "list_box.h"
#include "picture_box.h"
#include "pip_layouts.h"
#include "selection_report.h"
#include "text_box.h"
#include "tile_label.h"

MainForm::MainForm(QWidget* parent) : MainFormLayout(parent)
{
    connect(List1, &ListBox::Click, this, &MainForm::List1_Click);
    connect(Command1, &CommandButton::clicked, this, &MainForm::Command1_Click);
    Load();
}

void MainForm::Load()
{
    List1->Clear();
    for (const TileLabel& label : BuildTileCatalogue())
        List1->AddItem(label);
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
