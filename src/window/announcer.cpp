// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "announcer.h"

Announcer::Announcer(QWidget* parent) : QWidget(parent)
{
    setFixedSize(0, 0);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Hidden until it speaks: shown with the window it would say nothing at start-up.
    hide();
}

void Announcer::say(const QString& text)
{
    setAccessibleName(text);
    show();
    hide();
}
