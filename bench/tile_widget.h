// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

// An upright domino tile split by a line across the middle, with the pips of each half.
class TileWidget : public QFrame
{
public:
    explicit TileWidget(QWidget* parent = nullptr);

    // 0 to 6 pips in each half; 0 and 0 show the bare tile.
    void setPips(int upper, int lower);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int upper_ = 0;
    int lower_ = 0;
};
