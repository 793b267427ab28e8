// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"
#include "main_form.h"
#include "product_facts.h"
#include "window_zoom.h"
#include "zoom_settings.h"

#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

namespace {

QStringList startUpMessages;

// Without a screen to show on, Qt prints several lines and aborts with a core dump; a teacher
// should see one plain line and a failure status instead.
void holdStartUpMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fputs("Прозорецът не може да се покаже: няма екран. "
                   "The window cannot be shown: no display is available.\n",
                   stderr);
        std::_Exit(EXIT_FAILURE); // nothing half-built is torn down
    }
    startUpMessages << message;
}

} // namespace

int main(int argc, char* argv[])
{
    const CommandLine line = ReadCommandLine(argc, argv);
    switch (line.action) {
    case CommandLine::Action::PrintVersion:
        std::fputs(VersionText().c_str(), stdout);
        return EXIT_SUCCESS;
    case CommandLine::Action::PrintHelp:
        std::fputs(HelpText().c_str(), stdout);
        return EXIT_SUCCESS;
    case CommandLine::Action::Refuse:
        std::fprintf(stderr, "%s: %s\n", kExecutableName, line.error.c_str());
        return kUsageExitStatus;
    case CommandLine::Action::Run:
        break;
    }

    // Wayland shells find the window's name and icon by this app_id: the menu entry's name.
    QGuiApplication::setDesktopFileName(QString::fromUtf8(kApplicationId));
    // The per-user settings are kept under this name.
    QCoreApplication::setOrganizationName(QString::fromUtf8(kExecutableName));
    QCoreApplication::setApplicationName(QString::fromUtf8(kExecutableName));
    const QtMessageHandler previous = qInstallMessageHandler(holdStartUpMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);
    for (const QString& message : std::as_const(startUpMessages))
        std::fprintf(stderr, "%s\n", qPrintable(message));

    WindowZoom::startAt(line.zoom.value_or(RememberedZoom()));
    MainForm form;
    auto* zoom = new WindowZoom(&form);
    QObject::connect(zoom, &WindowZoom::changed, &RememberZoom);
    form.show();
    return app.exec();
}
