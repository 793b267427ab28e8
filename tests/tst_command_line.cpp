// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"
#include "product_facts.h"

#include <QStringList>
#include <QTest>
#include <vector>

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void versionAndHelp();
};

void TestCommandLine::read_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("zoom"); // 0: none

    using A = CommandLine::Action;
    QTest::newRow("nothing") << QStringList{} << int(A::Run) << 0;
    QTest::newRow("Qt's own options pass") << QStringList{"-platform", "xcb"} << int(A::Run) << 0;
    QTest::newRow("--zoom 200") << QStringList{"--zoom", "200"} << int(A::Run) << 200;
    QTest::newRow("--zoom=75%") << QStringList{"--zoom=75%"} << int(A::Run) << 75;
    QTest::newRow("--zoom between steps") << QStringList{"--zoom", "110"} << int(A::Refuse) << 0;
    QTest::newRow("--zoom too large") << QStringList{"--zoom=1000"} << int(A::Refuse) << 0;
    QTest::newRow("--zoom with no value") << QStringList{"--zoom"} << int(A::Refuse) << 0;
    QTest::newRow("--zoom with a word") << QStringList{"--zoom", "big"} << int(A::Refuse) << 0;
    QTest::newRow("--version") << QStringList{"--version"} << int(A::PrintVersion) << 0;
    QTest::newRow("--help") << QStringList{"--help"} << int(A::PrintHelp) << 0;
}

void TestCommandLine::read()
{
    QFETCH(QStringList, words);
    QFETCH(int, action);
    QFETCH(int, zoom);

    std::vector<QByteArray> bytes{"domino-tiles"};
    for (const QString& word : words)
        bytes.push_back(word.toUtf8());
    std::vector<const char*> argv;
    for (const QByteArray& word : bytes)
        argv.push_back(word.constData());

    const CommandLine line = ReadCommandLine(int(argv.size()), argv.data());
    QCOMPARE(int(line.action), action);
    QCOMPARE(line.zoom.value_or(0), zoom);
    // A refusal says which value and which steps there are.
    if (line.action == CommandLine::Action::Refuse)
        QVERIFY(line.error.find("75, 100, 125, 150, 200, 250, 300") != std::string::npos);
}

void TestCommandLine::versionAndHelp()
{
    QCOMPARE(VersionText(), std::string(kProductName) + " " + kProductVersion + "\n");
    for (const char* shown : {"--zoom PERCENT", "Ctrl+Plus", "Ctrl+Minus", "Ctrl+0", "wheel"})
        QVERIFY2(HelpText().find(shown) != std::string::npos, shown);
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
