// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "announcer.h"

#include <QAccessible>

Announcer::Announcer(QWidget* parent) : QWidget(parent)
{
    setFixedSize(0, 0);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Hidden until it speaks: shown with the window it would say nothing at start-up.
    hide();
}

void Announcer::say(const QString& text)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Told by the window, which a screen reader knows; the announcer itself stays hidden.
    QAccessibleAnnouncementEvent event(window(), text);
    QAccessible::updateAccessibility(&event);
#else
    setAccessibleName(text);
    show();
    hide();
#endif
}
