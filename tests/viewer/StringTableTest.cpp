#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>
#include <QUrl>
#include <stdexcept>

#include "shell/StringTable.h"
#include "shell/TextId.h"

namespace {

constexpr int kBases[] = {10000, 20000};

class BuiltInTable : public ::testing::Test {
  protected:
    const StringTable table = StringTable::builtIn();
};

TEST_F(BuiltInTable, EveryTextTheProgramUsesExistsInBothLanguages) {
    for (const int id : TextId::kShared) {
        EXPECT_TRUE(table.contains(id)) << id;
    }
    for (const int base : kBases) {
        for (const int id : TextId::kPerLanguage) {
            EXPECT_TRUE(table.contains(base + id)) << base + id;
        }
        for (int id = TextId::kFirstTimeZone; id <= TextId::kLastTimeZone; ++id) {
            EXPECT_TRUE(table.contains(base + id)) << base + id;
        }
    }
}

TEST_F(BuiltInTable, BothLanguagesHoldTheSameTextIds) {
    QSet<int> english;
    QSet<int> chinese;
    for (const int id : table.ids()) {
        if (id >= 10000 && id < 20000) {
            english.insert(id - 10000);
        } else if (id >= 20000 && id < 30000) {
            chinese.insert(id - 20000);
        } else {
            EXPECT_LT(id, 10000) << "text outside every language: " << id;
        }
    }
    EXPECT_EQ(english, chinese);
    EXPECT_FALSE(english.isEmpty());
}

TEST_F(BuiltInTable, CountTextsMatchTheirLists) {
    EXPECT_EQ(table.text(TextId::kLanguageCount), QStringLiteral("2"));
    EXPECT_EQ(table.text(TextId::kLanguageEnglish), QStringLiteral("English"));
    EXPECT_EQ(table.text(TextId::kLanguageChinese), QStringLiteral("繁體中文"));
    for (const int base : kBases) {
        EXPECT_EQ(table.text(base + TextId::kUnitCount), QStringLiteral("3"));
        EXPECT_EQ(table.text(base + TextId::kTimeZoneCount), QStringLiteral("25"));
        EXPECT_FALSE(table.contains(base + TextId::kUnitKnots + 1));
        EXPECT_FALSE(table.contains(base + TextId::kLastTimeZone + 1));
    }
}

TEST_F(BuiltInTable, TimeZoneEntriesCarryTheOffsetOfTheirLabel) {
    // "UTC+08(Beijing,Taipei)|8:00": the label's hours return after the bar as h:mm.
    const QRegularExpression form(
        QStringLiteral(R"(^UTC(?:([+-])(\d\d))?\((.+)\)\|(-?\d{1,2}):00$)"));
    for (const int base : kBases) {
        for (int id = TextId::kFirstTimeZone; id <= TextId::kLastTimeZone; ++id) {
            const QString entry = table.text(base + id);
            const auto match = form.match(entry);
            ASSERT_TRUE(match.hasMatch()) << entry.toStdString();
            const int labelHours =
                match.captured(2).isEmpty()
                    ? 0
                    : (match.captured(1) == u'-' ? -1 : 1) * match.captured(2).toInt();
            EXPECT_EQ(labelHours, match.captured(4).toInt()) << entry.toStdString();
            // Entries run from UTC-12 to UTC+12 in order.
            EXPECT_EQ(labelHours, id - 2013) << entry.toStdString();
        }
    }
    EXPECT_EQ(table.text(12001), QStringLiteral("UTC-12(West of International Date Line)|-12:00"));
    EXPECT_EQ(table.text(12013), QStringLiteral("UTC(London)|0:00"));
    EXPECT_EQ(table.text(12021), QStringLiteral("UTC+08(Beijing,Taipei)|8:00"));
    EXPECT_EQ(table.text(12025), QStringLiteral("UTC+12(Fiji)|12:00"));
}

TEST_F(BuiltInTable, TextsThatMustStayExact) {
    struct Case {
        int id;
        QString text;
    };
    const Case cases[] = {
        {11100, QStringLiteral("Harventis DVR Tools")},
        {21100, QStringLiteral("Harventis DVR Tools")},
        {13011, QStringLiteral("The system warning information ")},
        {23011, QStringLiteral("系統警告資訊")},
        {13005, QStringLiteral("MP4 file|*.MP4")},
        {23005, QStringLiteral("媒體文件|*.MP4")},
        {13038, QStringLiteral("JPG format file|*.jpg")},
        {23038, QStringLiteral("JPG格式檔|*.jpg")},
        {14121, QStringLiteral("Normal")},
        {14122, QStringLiteral("Lock")},
        {14151, QStringLiteral("  Normal")},
        {14152, QStringLiteral("  Lock")},
        {24151, QStringLiteral("  正常")},
        {11001, QStringLiteral("Km/h")},
        {11003, QStringLiteral("Nautical miles/hour")},
        {13024, QStringLiteral("Really want to exit the system?")},
        {23024, QStringLiteral("是否真的要退出系統？")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(table.text(c.id), c.text) << c.id;
    }
}

TEST_F(BuiltInTable, MapBaseIsAnAddressEndingInHarvdvr) {
    const QString base = table.text(TextId::kMapBase);
    EXPECT_TRUE(base.endsWith(QStringLiteral("/harvdvr/"))) << base.toStdString();
    const QUrl url(base + QStringLiteral("DeskMap.asp?LangID=1028"));
    EXPECT_TRUE(url.isValid());
    EXPECT_FALSE(url.scheme().isEmpty());
    EXPECT_EQ(url.fileName(), QStringLiteral("DeskMap.asp"));
}

TEST(StringTable, MissingNumberThrowsNamingIt) {
    const StringTable table = StringTable::builtIn();
    EXPECT_FALSE(table.find(31100).has_value());
    try {
        table.text(31100);
        FAIL() << "no error for a missing text";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("31100"), std::string::npos);
    }
}

TEST(StringTable, ReadsSharedAndLanguageGroups) {
    QString error;
    const StringTable table = StringTable::fromJson(
        R"({"shared":{"1":"a"},"languages":{"10000":{"5":"b"},"20000":{"5":"c"}}})", &error);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(table.ids(), (QList<int>{1, 10005, 20005}));
    EXPECT_EQ(table.text(20005), QStringLiteral("c"));
}

TEST(StringTable, DamagedDocumentGivesAnEmptyTableAndAReason) {
    const QByteArray documents[] = {
        "{not json",
        R"({"languages":{"10000":{"x":"b"}}})",
        R"({"languages":{"10000":{"5":7}}})",
        R"({"languages":{"base":{"5":"b"}}})",
    };
    for (const QByteArray& document : documents) {
        QString error;
        const StringTable table = StringTable::fromJson(document, &error);
        EXPECT_TRUE(table.ids().isEmpty()) << document.toStdString();
        EXPECT_FALSE(error.isEmpty()) << document.toStdString();
    }
}

}  // namespace
