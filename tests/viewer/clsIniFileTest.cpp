#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include "shell/clsIniFile.h"

namespace {

class IniFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("mtconfig.mp4"));
        m_ini.SetParamter(QStringLiteral("config"), m_path);
    }

    void writeFile(const QByteArray& bytes) {
        QFile file(m_path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray readFile() const {
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir m_dir;
    QString m_path;
    clsIniFile m_ini;
};

TEST_F(IniFileTest, WritesCreateFileSectionAndKeysInOrder) {
    EXPECT_TRUE(m_ini.SaveSetting(QStringLiteral("mainv"), QStringLiteral("1001")));
    EXPECT_TRUE(m_ini.SaveSetting(QStringLiteral("Area"), QStringLiteral("2021")));
    EXPECT_TRUE(m_ini.SaveSetting(QStringLiteral("Unit"), QStringLiteral("1001")));

    EXPECT_EQ(readFile(), QByteArray("[config]\nmainv=1001\nArea=2021\nUnit=1001\n"));
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("mainv")), QStringLiteral("1001"));
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("Area")), QStringLiteral("2021"));
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("Unit")), QStringLiteral("1001"));
    // Nothing but the file itself: the temporary file of each write was renamed onto it.
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("mtconfig.mp4")});
}

TEST_F(IniFileTest, NamesMatchWithoutRegardToCase) {
    ASSERT_TRUE(m_ini.SaveSetting(QStringLiteral("Unit"), QStringLiteral("1002")));
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("UNIT")), QStringLiteral("1002"));

    m_ini.SetSection(QStringLiteral("CONFIG"));
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("unit")), QStringLiteral("1002"));

    // A write under another spelling replaces the value where it stands.
    ASSERT_TRUE(m_ini.SaveSetting(QStringLiteral("uNiT"), QStringLiteral("1003")));
    EXPECT_EQ(readFile(), QByteArray("[config]\nUnit=1003\n"));
}

TEST_F(IniFileTest, MissingOrEmptyValuesReadAsEmpty) {
    writeFile("[config]\nUnit=\nArea=   \nBare\n[other]\nmainv=1002\n");
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("Unit")), QString());
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("Area")), QString());
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("Bare")), QString());
    // The key exists, but in another section.
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("mainv")), QString());

    m_ini.SetSection(QStringLiteral("nowhere"));
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("mainv")), QString());

    clsIniFile missing;
    missing.SetParamter(QStringLiteral("config"), m_dir.filePath(QStringLiteral("absent.ini")));
    EXPECT_EQ(missing.GetSetting(QStringLiteral("Unit")), QString());
}

TEST_F(IniFileTest, EmptyValueIsOverwrittenInPlace) {
    writeFile("[config]\nmainv=1001\nUnit=\nArea=2021\n");
    ASSERT_TRUE(m_ini.SaveSetting(QStringLiteral("Unit"), QStringLiteral("1001")));
    EXPECT_EQ(readFile(), QByteArray("[config]\nmainv=1001\nUnit=1001\nArea=2021\n"));
}

TEST_F(IniFileTest, ReadsAtMost254Characters) {
    const QString longValue = QString(300, u'x').replace(0, 10, QStringLiteral("0123456789"));
    ASSERT_TRUE(m_ini.SaveSetting(QStringLiteral("long"), longValue));
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("long")), longValue.left(254));

    const QString exact(254, u'y');
    ASSERT_TRUE(m_ini.SaveSetting(QStringLiteral("exact"), exact));
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("exact")), exact);
}

TEST_F(IniFileTest, DeleteSettingRemovesOnlyThatKey) {
    writeFile("[config]\nmainv=1001\nArea=2021\nUnit=1001\n[other]\nArea=7\n");
    m_ini.DeleteSetting(QStringLiteral("AREA"));
    EXPECT_EQ(readFile(), QByteArray("[config]\nmainv=1001\nUnit=1001\n[other]\nArea=7\n"));
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("Area")), QString());

    // Deleting what is not there leaves the file as it is.
    m_ini.DeleteSetting(QStringLiteral("Area"));
    EXPECT_EQ(readFile(), QByteArray("[config]\nmainv=1001\nUnit=1001\n[other]\nArea=7\n"));
}

TEST_F(IniFileTest, DeleteSectionRemovesSectionWithItsKeys) {
    writeFile("[first]\na=1\n\n[Config]\nmainv=1001\n; note\n\n[last]\nb=2\n");
    m_ini.DeleteSection();
    EXPECT_EQ(readFile(), QByteArray("[first]\na=1\n\n[last]\nb=2\n"));
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("mainv")), QString());

    // Writing again brings the section back at the end.
    ASSERT_TRUE(m_ini.SaveSetting(QStringLiteral("mainv"), QStringLiteral("1002")));
    EXPECT_EQ(readFile(), QByteArray("[first]\na=1\n\n[last]\nb=2\n[config]\nmainv=1002\n"));
}

TEST_F(IniFileTest, DeletingInAMissingFileCreatesNothing) {
    m_ini.DeleteSetting(QStringLiteral("Unit"));
    m_ini.DeleteSection();
    EXPECT_FALSE(QFile::exists(m_path));
}

TEST_F(IniFileTest, SaveSectionAddsVersionAndKeepsTheCurrentSection) {
    writeFile("[config]\nmainv=1001\n");
    m_ini.SaveSection(QStringLiteral("extra"));
    ASSERT_TRUE(m_ini.SaveSetting(QStringLiteral("Unit"), QStringLiteral("1002")));
    EXPECT_EQ(readFile(), QByteArray("[config]\nmainv=1001\nUnit=1002\n[extra]\nversion=1.0\n"));
}

TEST_F(IniFileTest, FileOfAnotherProgramKeepsItsShape) {
    // Byte-order mark, CR LF, comments, blank lines, odd spacing, no final line end.
    const QByteArray foreign =
        "\xEF\xBB\xBF; written elsewhere\r\n"
        "[Other]\r\n"
        "mainv = 9\r\n"
        "\r\n"
        "  [ Config ]  \r\n"
        "  MainV   =   1002   \r\n"
        "Area=2001\r\n"
        "\r\n"
        "[Tail]\r\n"
        "x=1";
    writeFile(foreign);

    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("mainv")), QStringLiteral("1002"));
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("area")), QStringLiteral("2001"));

    ASSERT_TRUE(m_ini.SaveSetting(QStringLiteral("Unit"), QStringLiteral("1003")));
    ASSERT_TRUE(m_ini.SaveSetting(QStringLiteral("mainv"), QStringLiteral("1001")));
    m_ini.SetSection(QStringLiteral("tail"));
    ASSERT_TRUE(m_ini.SaveSetting(QStringLiteral("y"), QStringLiteral("2")));

    EXPECT_EQ(readFile(), QByteArray("; written elsewhere\r\n"
                                     "[Other]\r\n"
                                     "mainv = 9\r\n"
                                     "\r\n"
                                     "  [ Config ]  \r\n"
                                     "MainV=1001\r\n"
                                     "Area=2001\r\n"
                                     "Unit=1003\r\n"
                                     "\r\n"
                                     "[Tail]\r\n"
                                     "x=1\r\n"
                                     "y=2\r\n"));
}

TEST_F(IniFileTest, GetSectionListsKeysInFileOrder) {
    writeFile("[config]\nab=1\nc=2\n; comment\n\nde=3\n[next]\nzz=4\n");
    QStringList keys;
    // One-character names are keys like any other.
    EXPECT_EQ(m_ini.GetSection(keys), 3);
    EXPECT_EQ(keys, (QStringList{QStringLiteral("ab"), QStringLiteral("c"), QStringLiteral("de")}));
}

TEST_F(IniFileTest, GetSectionOfMissingOrEmptySectionGivesOneEmptyName) {
    writeFile("[config]\n[next]\nzz=4\n");
    QStringList keys{QStringLiteral("stale"), QStringLiteral("entries")};
    EXPECT_EQ(m_ini.GetSection(keys), 0);
    EXPECT_EQ(keys, QStringList{QString()});

    m_ini.SetSection(QStringLiteral("absent"));
    keys = QStringList{QStringLiteral("stale")};
    EXPECT_EQ(m_ini.GetSection(keys), 0);
    EXPECT_EQ(keys, QStringList{QString()});
}

TEST_F(IniFileTest, GetSectionSeesNamesUpTo2500Characters) {
    // Each name takes its length plus one place, and the list one more at its end.
    struct Case {
        int nineCharacterNames;
        QByteArray tail;
        int expectedCount;
        QString expectedLast;
    };
    const Case cases[] = {
        // 249 × 10 + 1 = 2,491; an eight-character name fills the list to exactly 2,500.
        {249, "fits1234=1\nx=1\n", 250, QStringLiteral("fits1234")},
        // 250 × 10 + 1 = 2,501: the last of them is not seen.
        {250, "", 249, QStringLiteral("key100248")},
    };
    for (const Case& c : cases) {
        QByteArray text = "[config]\n";
        for (int i = 0; i < c.nineCharacterNames; ++i) {
            text += QByteArray("key") + QByteArray::number(100000 + i) + "=1\n";
        }
        writeFile(text + c.tail);
        QStringList keys;
        EXPECT_EQ(m_ini.GetSection(keys), c.expectedCount);
        ASSERT_EQ(keys.size(), c.expectedCount);
        EXPECT_EQ(keys.first(), QStringLiteral("key100000"));
        EXPECT_EQ(keys.last(), c.expectedLast);
    }
}

TEST_F(IniFileTest, RefusesTextThatWouldBreakTheFormat) {
    writeFile("[config]\nUnit=1001\n");
    struct Case {
        QString key;
        QString value;
    };
    const Case cases[] = {
        {QStringLiteral("Unit"), QStringLiteral("1\n[evil]\nx=1")},
        {QStringLiteral("Unit"), QStringLiteral("1\r2")},
        {QStringLiteral("a=b"), QStringLiteral("1")},
        {QStringLiteral("[x"), QStringLiteral("1")},
        {QStringLiteral(";x"), QStringLiteral("1")},
        {QStringLiteral("  "), QStringLiteral("1")},
        {QString(), QStringLiteral("1")},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(m_ini.SaveSetting(c.key, c.value)) << c.key.toStdString();
    }
    m_ini.SetSection(QStringLiteral("a]b"));
    EXPECT_FALSE(m_ini.SaveSetting(QStringLiteral("k"), QStringLiteral("v")));
    EXPECT_EQ(readFile(), QByteArray("[config]\nUnit=1001\n"));

    clsIniFile unbound;
    EXPECT_FALSE(unbound.SaveSetting(QStringLiteral("Unit"), QStringLiteral("1")));
}

TEST_F(IniFileTest, FailedWriteReportsFalseAndChangesNothing) {
    // A folder in the place of the file, and a file in the place of a folder.
    ASSERT_TRUE(QDir().mkpath(m_path));
    EXPECT_FALSE(m_ini.SaveSetting(QStringLiteral("Unit"), QStringLiteral("1001")));
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("Unit")), QString());

    const QString blocker = m_dir.filePath(QStringLiteral("plain"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a folder");
    file.close();
    clsIniFile below;
    below.SetParamter(QStringLiteral("config"), blocker + QStringLiteral("/mtconfig.mp4"));
    EXPECT_FALSE(below.SaveSetting(QStringLiteral("Unit"), QStringLiteral("1001")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("not a folder"));
}

TEST_F(IniFileTest, EightBitTextSurvivesUnchanged) {
    writeFile("[config]\nname=Caf\xE9\n");
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("name")), QStringLiteral("Caf\u00E9"));
    ASSERT_TRUE(m_ini.SaveSetting(QStringLiteral("Unit"), QStringLiteral("1001")));
    EXPECT_EQ(readFile(), QByteArray("[config]\nname=Caf\xE9\nUnit=1001\n"));
}

TEST_F(IniFileTest, ValueIsReadUpToANulByte) {
    writeFile(QByteArray("[config]\nodd=ab\0cd\n", 19));
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("odd")), QStringLiteral("ab"));
}

}  // namespace
