#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <sstream>

#include "platform/ChildProcess.h"
#include "platform/ConsoleMessageBoxService.h"
#include "platform/FileDialogFilter.h"
#include "platform/MapBrowser.h"
#include "platform/QtProcessRunner.h"
#include "platform/QtWaitService.h"

namespace {

TEST(FileDialogFilter, TableFiltersBecomeQtFilters) {
    struct Case {
        QString table;
        QString qt;
    };
    const Case cases[] = {
        {QStringLiteral("MP4 file|*.MP4"), QStringLiteral("MP4 file (*.MP4 *.mp4)")},
        {QStringLiteral("媒體文件|*.MP4"), QStringLiteral("媒體文件 (*.MP4 *.mp4)")},
        {QStringLiteral("JPG format file|*.jpg"), QStringLiteral("JPG format file (*.jpg *.JPG)")},
        {QStringLiteral("Videos|*.mp4;*.MOV|All|*.*"),
         QStringLiteral("Videos (*.mp4 *.MP4 *.MOV *.mov);;All (*.*)")},
        {QStringLiteral("Anything|"), QStringLiteral("Anything (*)")},
        {QString(), QString()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileDialogFilter::toQt(c.table), c.qt) << c.table.toStdString();
    }
}

TEST(ConsoleMessageBoxService, WritesTitleAndTextAndTakesTheFirstButton) {
    std::ostringstream out;
    ConsoleMessageBoxService boxes(out);
    EXPECT_EQ(
        boxes.show(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                   QStringLiteral("system information"),
                   QStringLiteral("System resource lost,please reboot or re-setupType mismatch")),
        MessageBoxService::Answer::Ok);
    EXPECT_EQ(boxes.show(MessageBoxService::Icon::Question, MessageBoxService::Buttons::YesNo,
                         QStringLiteral("The system warning information "), QStringLiteral("繁體")),
              MessageBoxService::Answer::Yes);
    EXPECT_EQ(out.str(),
              "system information: System resource lost,please reboot or re-setupType mismatch\n"
              "The system warning information: 繁體\n");
}

TEST(MapBrowser, OnlyPlainIdentifiersNamePageValues) {
    for (const char* name : {"varLocal", "_x", "$map", "a1"}) {
        EXPECT_TRUE(MapBrowser::isIdentifier(QString::fromLatin1(name))) << name;
    }
    for (const char* name : {"", "1a", "var Local", "a;alert(1)", "a.b", "x=1"}) {
        EXPECT_FALSE(MapBrowser::isIdentifier(QString::fromLatin1(name))) << name;
    }
}

TEST(MapBrowser, StringLiteralsHoldAnyText) {
    struct Case {
        QString text;
        QString literal;
    };
    const Case cases[] = {
        {QStringLiteral("(24.5, 121.25)"), QStringLiteral("\"(24.5, 121.25)\"")},
        {QStringLiteral("say \"hi\"\\"), QStringLiteral("\"say \\\"hi\\\"\\\\\"")},
        {QStringLiteral("a\nb\rc"), QStringLiteral("\"a\\nb\\rc\"")},
        {QStringLiteral("</script>"), QStringLiteral("\"\\u003c/script>\"")},
        {QString(QChar(0x2028)), QStringLiteral("\"\\u2028\"")},
        {QStringLiteral("台北"), QStringLiteral("\"台北\"")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MapBrowser::scriptStringLiteral(c.text), c.literal) << c.text.toStdString();
    }
}

// Gives a started program the chance to end; returns whether it did.
bool endsWithin(ChildProcess& child, QtWaitService& waits, int rounds) {
    for (int i = 0; i < rounds && child.isRunning(); ++i) {
        waits.sleep(20);
    }
    return !child.isRunning();
}

TEST(QtProcessRunner, StartsWatchesAndKills) {
    QtProcessRunner runner;
    QtWaitService waits;

    auto sleeper = runner.start(QStringLiteral("/bin/sleep"), {QStringLiteral("60")}, QString());
    ASSERT_NE(sleeper, nullptr);
    EXPECT_TRUE(sleeper->isRunning());
    sleeper->kill();
    EXPECT_FALSE(sleeper->isRunning());

    auto quick = runner.start(QStringLiteral("/bin/true"), {}, QString());
    ASSERT_NE(quick, nullptr);
    EXPECT_TRUE(endsWithin(*quick, waits, 1000));
    // Killing a program that already ended is harmless.
    quick->kill();

    EXPECT_EQ(runner.start(QStringLiteral("/nonexistent/Parse"), {}, QString()), nullptr);
}

TEST(QtProcessRunner, PathWithBlanksIsOneArgumentAndFolderIsKept) {
    QTemporaryDir dir;
    QtProcessRunner runner;
    QtWaitService waits;
    const QString recording = QStringLiteral("/media/card/DCIM/100 MEDIA/it's \"quoted\" $x.MP4");
    auto child = runner.start(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QStringLiteral("printf '%s|%s' \"$#\" \"$1\" > seen; pwd > where"),
         QStringLiteral("sh"), recording},
        dir.path());
    ASSERT_NE(child, nullptr);
    ASSERT_TRUE(endsWithin(*child, waits, 1000));

    QFile seen(dir.filePath(QStringLiteral("seen")));
    ASSERT_TRUE(seen.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(seen.readAll()), QStringLiteral("1|") + recording);
    QFile where(dir.filePath(QStringLiteral("where")));
    ASSERT_TRUE(where.open(QIODevice::ReadOnly));
    EXPECT_EQ(QDir(QString::fromUtf8(where.readAll().trimmed())).canonicalPath(),
              QDir(dir.path()).canonicalPath());
}

TEST(QtWaitService, EventsRunDuringTheWait) {
    QtWaitService waits;
    int fired = 0;
    QTimer::singleShot(0, [&fired] { ++fired; });
    waits.sleep(30);
    EXPECT_EQ(fired, 1);

    // A handler that runs inside a wait may wait itself.
    QStringList order;
    QTimer::singleShot(0, [&] {
        order << QStringLiteral("inner start");
        waits.sleep(5);
        order << QStringLiteral("inner end");
    });
    waits.sleep(30);
    order << QStringLiteral("outer end");
    EXPECT_EQ(order, (QStringList{QStringLiteral("inner start"), QStringLiteral("inner end"),
                                  QStringLiteral("outer end")}));

    bool posted = false;
    QTimer::singleShot(0, [&posted] { posted = true; });
    waits.processPendingEvents();
    EXPECT_TRUE(posted);
}

}  // namespace
