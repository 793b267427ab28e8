// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "plain_qt_window.h"

#include "colours.h"
#include "fixed_texts.h"
#include "tile_widget.h"

#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <algorithm>

PlainQtWindow::PlainQtWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    setWindowTitle(QString::fromUtf8(kCaption));
    setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    setFixedSize(461, 345);
    move(screen()->availableGeometry().center() - rect().center());
    setFont(QFont(QStringLiteral("Times New Roman"), 12));
    QPalette background = palette();
    background.setColor(QPalette::Window, fromBgr(kFormBackgroundBgr));
    setPalette(background);
    setAutoFillBackground(true);

    report = new QPlainTextEdit(this);
    report->setGeometry(8, 208, 449, 121);
    report->setReadOnly(true);
    report->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    report->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    report->setPlainText(QString::fromUtf8(kDescription).replace(QLatin1String("\r\n"), "\n"));
    report->setFocus();

    auto* heading = new QLabel(QString::fromUtf8(kHeading), this);
    heading->setGeometry(64, 0, 305, 25);
    heading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette orange = heading->palette();
    orange.setColor(QPalette::Window, fromBgr(kHeadingBackgroundBgr));
    heading->setPalette(orange);
    heading->setAutoFillBackground(true);

    list = new QListWidget(this);
    list->setGeometry(16, 32, 97, 118);
    for (int upper = 0; upper <= 6; ++upper) {
        for (int lower = upper; lower <= 6; ++lower)
            list->addItem(QStringLiteral("%1:%2").arg(upper).arg(lower));
    }
    connect(list, &QListWidget::currentRowChanged, this, &PlainQtWindow::showTile);

    clearButton = new QPushButton(QString::fromUtf8(kClearCaption), this);
    clearButton->setGeometry(16, 160, 105, 25);
    // Fusion would shade the red face with a gradient; the Windows style fills it flat.
    QStyle* flat = QStyleFactory::create(QStringLiteral("Windows"));
    flat->setParent(clearButton);
    clearButton->setStyle(flat);
    QPalette red = clearButton->palette();
    red.setColor(QPalette::Button, fromBgr(kClearFaceBgr));
    clearButton->setPalette(red);
    connect(clearButton, &QPushButton::clicked, this, &PlainQtWindow::clear);

    tile = new TileWidget(this);
    tile->move(136, 32);

    auto* photo = new QLabel(this);
    photo->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    photo->setPixmap(QPixmap(QStringLiteral(":/photo.jpg")));
    photo->setGeometry(224, 32, 224, 166);
}

void PlainQtWindow::showTile(int row)
{
    if (row < 0)
        return;
    const QString label = list->item(row)->text();
    QString mirrored = label;
    std::reverse(mirrored.begin(), mirrored.end());
    QString text = QStringLiteral("От общо: %1 плочки, Вие избрахте плочка: %2\n")
                       .arg(list->count())
                       .arg(label);
    if (mirrored == label)
        text += QStringLiteral("Избраната плочка е симетрична!\n");
    else
        text += QStringLiteral("Плочката може да се разглежда и като: %1\n").arg(mirrored);
    report->setPlainText(text);
    tile->setPips(label[0].digitValue(), label[2].digitValue());
}

void PlainQtWindow::clear()
{
    list->setCurrentRow(-1);
    report->setPlainText(QString::fromUtf8(kPrompt));
    tile->setPips(0, 0);
}
