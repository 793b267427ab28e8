// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up benchmark: the program, a plain Qt version of it, or one of two floors to compare it
// with, each ending itself once its first frame has been painted and flushed. PLAIN_QT: the same
// window in plain Qt widgets. BARE_WINDOW: a bare window of the same size. TEXT_WINDOW: that
// window with the heading in the window's font, which pays what any window showing Cyrillic text
// pays (the font database, matching, glyphs) and nothing more.

#include <QApplication>
#include <QPaintEvent>

#if defined(PLAIN_QT)
#include "plain_qt_window.h"
#elif defined(BARE_WINDOW)
#include <QWidget>
#elif defined(TEXT_WINDOW)
#include "fixed_texts.h"
#include "window_font.h"

#include <QLabel>
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

#if defined(BARE_WINDOW) || defined(TEXT_WINDOW)
    QWidget window;
    window.setFixedSize(461, 345);
#endif
#if defined(TEXT_WINDOW)
    window.setFont(windowFont());
    QLabel heading(QString::fromUtf8(kHeading), &window);
    heading.setGeometry(64, 0, 305, 25); // where the program shows it
#elif defined(PLAIN_QT)
    PlainQtWindow window;
#elif !defined(BARE_WINDOW)
    MainForm window;
#endif
    window.show();
    return app.exec();
}
