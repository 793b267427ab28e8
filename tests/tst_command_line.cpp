// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"
#include "zoom_steps.h"

#include <QStringList>
#include <QTest>
#include <vector>

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void everyStep();
    void versionAndHelp();
};

// "75, 100, ..." as a user reads the steps.
std::string listed(const auto& steps)
{
    std::string text;
    for (const int step : steps)
        text += (text.empty() ? "" : ", ") + std::to_string(step);
    return text;
}

void TestCommandLine::read_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("zoom");        // 0: none
    QTest::addColumn<QString>("refused"); // the value a refusal names

    using A = CommandLine::Action;
    QTest::newRow("nothing") << QStringList{} << int(A::Run) << 0 << QString();
    QTest::newRow("Qt's own options pass")
        << QStringList{"-platform", "xcb"} << int(A::Run) << 0 << QString();
    QTest::newRow("--zoom 200") << QStringList{"--zoom", "200"} << int(A::Run) << 200 << QString();
    QTest::newRow("--zoom=75%") << QStringList{"--zoom=75%"} << int(A::Run) << 75 << QString();
    QTest::newRow("--zoom between steps")
        << QStringList{"--zoom", "110"} << int(A::Refuse) << 0 << QString("110");
    QTest::newRow("--zoom too large")
        << QStringList{"--zoom=1000"} << int(A::Refuse) << 0 << QString("1000");
    QTest::newRow("--zoom with no value")
        << QStringList{"--zoom"} << int(A::Refuse) << 0 << QString("");
    QTest::newRow("--zoom with a word")
        << QStringList{"--zoom", "big"} << int(A::Refuse) << 0 << QString("big");
    QTest::newRow("--version") << QStringList{"--version"} << int(A::PrintVersion) << 0
                               << QString();
    QTest::newRow("--help") << QStringList{"--help"} << int(A::PrintHelp) << 0 << QString();
}

void TestCommandLine::read()
{
    QFETCH(QStringList, words);
    QFETCH(int, action);
    QFETCH(int, zoom);
    QFETCH(QString, refused);

    std::vector<QByteArray> bytes{"domino-tiles"};
    for (const QString& word : words)
        bytes.push_back(word.toUtf8());
    std::vector<const char*> argv;
    for (const QByteArray& word : bytes)
        argv.push_back(word.constData());

    const CommandLine line = ReadCommandLine(int(argv.size()), argv.data());
    QCOMPARE(int(line.action), action);
    QCOMPARE(line.zoom.value_or(0), zoom);
    // A refusal says which value it refuses and which steps there are.
    if (line.action == CommandLine::Action::Refuse) {
        QVERIFY(line.error.starts_with("--zoom: \"" + refused.toStdString() + "\" is not one"));
        QVERIFY(line.error.ends_with(listed(kZoomSteps) + ")"));
    }
}

void TestCommandLine::everyStep()
{
    for (const int step : kZoomSteps) {
        const std::string word = "--zoom=" + std::to_string(step);
        const char* argv[] = {"domino-tiles", word.c_str()};
        QCOMPARE(ReadCommandLine(2, argv).zoom.value_or(0), step);
    }
}

void TestCommandLine::versionAndHelp()
{
    // The name and version the build declares.
    QCOMPARE(QString::fromStdString(VersionText()),
             QStringLiteral(DOMINO_DECLARED_NAME " " DOMINO_DECLARED_VERSION "\n"));
    const std::string help = HelpText();
    QVERIFY(help.starts_with("Usage: domino-tiles [--zoom PERCENT]\n"));
    QVERIFY(help.find(listed(kZoomSteps) + "\n") != std::string::npos);
    for (const char* shown : {"Ctrl+Plus", "Ctrl+Minus", "Ctrl+0", "wheel"})
        QVERIFY2(help.find(shown) != std::string::npos, shown);
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
