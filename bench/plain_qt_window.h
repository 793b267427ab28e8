// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QListWidget;
class QPlainTextEdit;
class QPushButton;
class TileWidget;

// The same window in plain Qt widgets, written without measuring anything, to compare the
// program with.
class PlainQtWindow : public QWidget
{
    Q_OBJECT

public:
    explicit PlainQtWindow(QWidget* parent = nullptr);

    QListWidget* list;
    QPushButton* clearButton;

private:
    void showTile(int row);
    void clear();

    QPlainTextEdit* report;
    TileWidget* tile;
};
