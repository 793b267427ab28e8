// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zoom_settings.h"

#include "zoom_steps.h"

#include <QCoreApplication>
#include <QSettings>
#if defined(Q_OS_WIN)
#include <qt_windows.h>
#endif

namespace {

constexpr char kZoomKey[] = "window/zoom";

// Whether the user has chosen a zoom that was kept. Windows' QSettings opens its registry key for
// writing even to read it, which creates the key: a start that changed nothing would leave one.
bool anythingRemembered()
{
#if defined(Q_OS_WIN)
    const QString path =
        QStringLiteral("Software\\%1\\%2")
            .arg(QCoreApplication::organizationName(), QCoreApplication::applicationName());
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(path.utf16()), 0,
                      KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
#endif
    return true;
}

QSettings settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                     QCoreApplication::organizationName(), QCoreApplication::applicationName());
}

} // namespace

int RememberedZoom()
{
    if (!anythingRemembered())
        return kActualSize;
    const QSettings stored = settings();
    if (stored.status() != QSettings::NoError)
        return kActualSize;
    const QString text = stored.value(QLatin1String(kZoomKey)).toString();
    return ReadZoomPercent(text.toStdString()).value_or(kActualSize);
}

void RememberZoom(int percent)
{
    QSettings stored = settings();
    stored.setValue(QLatin1String(kZoomKey), percent);
}
