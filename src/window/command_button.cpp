// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_button.h"

#include "bevel.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace {

constexpr int kBevelPixels = 2;
constexpr int kFocusInset = 4;
constexpr int kPressedShift = 1;

bool isEnter(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// The same key event with Space in its place, auto-repeat and modifiers kept.
QKeyEvent asSpace(const QKeyEvent* event)
{
    return QKeyEvent(event->type(), Qt::Key_Space, event->modifiers(), QStringLiteral(" "),
                     event->isAutoRepeat(), ushort(event->count()));
}

} // namespace

CommandButton::CommandButton(const QString& caption, QColor face, QWidget* parent)
    : QPushButton(caption, parent), face_(face)
{}

void CommandButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool pressed = isDown() || isChecked();
    const QBrush face(face_);
    drawButtonBevel(painter, rect(), palette(), pressed, face);

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

// A desktop button is pressed by Enter as by Space: down on the press, one Click on the
// release, none for auto-repeats. Outside a dialog Qt leaves Enter to the parent.
void CommandButton::keyPressEvent(QKeyEvent* event)
{
    if (!isEnter(event))
        return QPushButton::keyPressEvent(event);
    QKeyEvent space = asSpace(event);
    QPushButton::keyPressEvent(&space);
    event->setAccepted(space.isAccepted());
}

void CommandButton::keyReleaseEvent(QKeyEvent* event)
{
    if (!isEnter(event))
        return QPushButton::keyReleaseEvent(event);
    QKeyEvent space = asSpace(event);
    QPushButton::keyReleaseEvent(&space);
    event->setAccepted(space.isAccepted());
}
