#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include "shell/CommandLine.h"

namespace {

struct SplitCase {
    QString line;
    int maxCount;
    QStringList expected;
};

TEST(CommandLine, SplitsAtStars) {
    const SplitCase cases[] = {
        {QStringLiteral("/tmp/some folder*1"),
         10,
         {QStringLiteral("/tmp/some folder"), QStringLiteral("1")}},
        {QStringLiteral("one**two"), 10, {QStringLiteral("one"), QStringLiteral("two")}},
        {QStringLiteral("**lead*trail**"), 10, {QStringLiteral("lead"), QStringLiteral("trail")}},
        {QStringLiteral("a*b*c"),
         10,
         {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        {QStringLiteral("single"), 10, {QStringLiteral("single")}},
        {QStringLiteral(" * "), 10, {QStringLiteral(" "), QStringLiteral(" ")}},
        {QStringLiteral("***"), 10, {}},
        {QString(), 10, {}},
        {QStringLiteral("a*b*c"), 2, {QStringLiteral("a"), QStringLiteral("b")}},
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(CommandLine::split(c.line, c.maxCount), c.expected) << c.line.toStdString();
    }
}

TEST(CommandLine, DropsEverythingAfterTheTenthArgument) {
    QStringList parts;
    for (int i = 1; i <= 12; ++i) {
        parts << QString::number(i);
    }
    const QStringList arguments = CommandLine::split(parts.join(u'*'));
    EXPECT_EQ(arguments, parts.mid(0, 10));
}

TEST(CommandLine, JoinsArgumentsWithSingleBlanks) {
    EXPECT_EQ(CommandLine::fromArguments({}), QString());
    EXPECT_EQ(CommandLine::fromArguments({QStringLiteral("/tmp/some folder*1")}),
              QStringLiteral("/tmp/some folder*1"));
    EXPECT_EQ(CommandLine::fromArguments({QStringLiteral("/tmp/some"), QStringLiteral("folder*1")}),
              QStringLiteral("/tmp/some folder*1"));
}

TEST(CommandLine, OpensRecordingsOnlyWhenEveryArgumentIsOne) {
    QTemporaryDir folder;
    for (const char* name : {"120000.MP4", "130000.mp4", "notes.txt"}) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString a = folder.filePath(QStringLiteral("120000.MP4"));
    const QString b = folder.filePath(QStringLiteral("130000.mp4"));
    const struct {
        QStringList arguments;
        QStringList recordings;
    } cases[] = {
        {{a, b}, {a, b}},
        {{a}, {a}},
        {{a, folder.filePath(QStringLiteral("notes.txt"))}, {}},
        {{a, folder.filePath(QStringLiteral("gone.mp4"))}, {}},
        {{folder.path()}, {}},
        // The installer's command lines stay the installer's.
        {{folder.path() + QStringLiteral("*1")}, {}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CommandLine::recordingsToOpen(c.arguments), c.recordings)
            << c.arguments.join(u' ').toStdString();
    }
}

}  // namespace
