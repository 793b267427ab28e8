// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class Announcer;
class CommandButton;
class ListBox;
class PhotoBox;
class PictureBox;
class TextBox;
class QLabel;

// The window as it was designed: a fixed-size frame with the heading, the tile list, the
// clear button, the tile, the photograph and the report box, in twips-exact positions.
class MainFormLayout : public QWidget
{
    Q_OBJECT

public:
    explicit MainFormLayout(QWidget* parent = nullptr);

    // In tab order.
    TextBox* Text1;
    QLabel* Label1;
    ListBox* List1;
    CommandButton* Command1;
    PictureBox* Picture1;
    PhotoBox* Picture2;

    // Not on screen: says what a listener would otherwise miss.
    Announcer* announcer;

    // The whole window, frame included, to the middle of the screen's free area.
    void centreOnScreen();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool centred_ = false;
    // The window manager tells the frame's size only once the window is on screen and active.
    bool centredWithFrame_ = false;
};
