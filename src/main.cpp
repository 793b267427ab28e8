// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_form.h"

#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

#if defined(Q_OS_WASM)
#include "command_button.h"
#include "list_box.h"
#include "picture_box.h"
#include "text_box.h"

#include <QString>
#include <QTimer>
#include <emscripten/val.h>
#include <utility>

// Qt tells a browser's screen reader nothing of the window, so the page is told what a pick or
// a clear changed: the report and what the tile shows, as the window holds them once the flow
// has run. A clear runs a pick with nothing selected inside it; it is told once, as it ends.
static void tellPageOfChanges(MainForm& form)
{
    static bool pending = false;
    const auto tell = [&form] {
        if (std::exchange(pending, true))
            return;
        QTimer::singleShot(0, &form, [&form] {
            pending = false;
            QString text = QString::fromStdString(form.Text1->Text()).trimmed();
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            text += QStringLiteral("\n") + form.Picture1->accessibleDescription();
            emscripten::val::global("window").call<void>("announce", text.toStdString());
        });
    };
    QObject::connect(form.List1, &ListBox::Click, &form, tell);
    QObject::connect(form.Command1, &CommandButton::clicked, &form, tell);
}

// In a browser show() would stretch the window over the whole page; a normal window keeps its
// fixed size and the frame Qt draws for it. Closing it cannot close the page, so the page is
// told, to say so instead of showing the last picture of the window.
static void showWindow(MainForm& form)
{
    form.showNormal();
    QObject::connect(qApp, &QGuiApplication::lastWindowClosed,
                     [] { emscripten::val::global("window").call<void>("windowClosed"); });
    tellPageOfChanges(form);
}
#else
static void showWindow(MainForm& form)
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
