// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_button.h"

#include <QPainter>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

namespace {

constexpr int kBevelPixels = 2;
constexpr int kFocusInset = 4;
constexpr int kPressedShift = 1;

} // namespace

CommandButton::CommandButton(const QString& caption, QColor face, QWidget* parent)
    : QPushButton(caption, parent), face_(face)
{}

void CommandButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool pressed = isDown() || isChecked();
    const QBrush face(face_);
    qDrawWinButton(&painter, rect(), palette(), pressed, &face);

    const int shift = pressed ? kPressedShift : 0;
    const QRect caption = rect().adjusted(kBevelPixels + shift, kBevelPixels + shift,
                                          -kBevelPixels + shift, -kBevelPixels + shift);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(caption, Qt::AlignCenter | Qt::TextShowMnemonic, text());

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(kFocusInset, kFocusInset, -kFocusInset, -kFocusInset);
        focus.backgroundColor = face_;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}
