// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up benchmark: the program, or with BARE_WINDOW a bare window of the same size as the
// floor to compare it with, ending itself once its first frame has been painted and flushed.

#include <QApplication>
#include <QPaintEvent>

#ifdef BARE_WINDOW
#include <QWidget>
#else
#include "main_form.h"
#endif

namespace {

// The quit is queued behind the paint pass, so it runs after the frame has gone out.
class QuitAfterFirstPaint : public QObject
{
protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool painted_ = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QuitAfterFirstPaint quitter;
    app.installEventFilter(&quitter);

#ifdef BARE_WINDOW
    QWidget window;
    window.setFixedSize(461, 345);
#else
    MainForm window;
#endif
    window.show();
    return app.exec();
}
