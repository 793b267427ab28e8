// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_form.h"

#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

#if defined(Q_OS_WASM)
#include <emscripten/val.h>

// In a browser show() would stretch the window over the whole page; a normal window keeps its
// fixed size and the frame Qt draws for it. Closing it cannot close the page, so the page is
// told, to say so instead of showing the last picture of the window.
static void showWindow(QWidget& form)
{
    form.showNormal();
    QObject::connect(qApp, &QGuiApplication::lastWindowClosed,
                     [] { emscripten::val::global("window").call<void>("windowClosed"); });
}
#else
static void showWindow(QWidget& form)
{
    form.show();
}
#endif

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
    // Wayland shells find the window's name and icon by this app_id: the menu entry's name.
    QGuiApplication::setDesktopFileName(QStringLiteral("bg.domino_tiles.DominoTiles"));
    const QtMessageHandler previous = qInstallMessageHandler(holdStartUpMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);
    for (const QString& message : std::as_const(startUpMessages))
        std::fprintf(stderr, "%s\n", qPrintable(message));

    MainForm form;
    showWindow(form);
    return app.exec();
}
