// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

// A push button with a flat face of its own colour inside the raised desktop bevel; the
// caption keeps the platform's button-text colour. Styles would shade a coloured face with
// a gradient, so the button paints itself.
class CommandButton : public QPushButton
{
    Q_OBJECT

public:
    CommandButton(const QString& caption, QColor face, QWidget* parent = nullptr);

    QColor faceColour() const { return face_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QColor face_;
};
