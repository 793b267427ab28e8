// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include "announcer.h"
#include "photo_box.h"
#include "picture_box.h"

#include <QAccessibleWidget>

namespace {

QAccessibleInterface* windowInterface(const QString&, QObject* object)
{
    if (qobject_cast<PictureBox*>(object) || qobject_cast<PhotoBox*>(object))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    if (qobject_cast<Announcer*>(object))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

void installWindowAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(windowInterface);
        return true;
    }();
    Q_UNUSED(installed);
}
