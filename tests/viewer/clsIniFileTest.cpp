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

    // Beyond ASCII too, also against a name an older run wrote in Latin-1.
    writeFile("[config]\n\xC9t\xE9=latin\n\xC3\x89T\xC3\x89=utf\n");
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("été")), QStringLiteral("latin"));
    ASSERT_TRUE(m_ini.SaveSetting(QStringLiteral("ÉTÉ"), QStringLiteral("new")));
    EXPECT_EQ(readFile(), QByteArray("[config]\n\xC9t\xE9=new\n\xC3\x89T\xC3\x89=utf\n"));
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
    const QString smile = QStringLiteral("\U0001F600");  // two UTF-16 units, one character
    struct Case {
        QByteArray value;
        QString expected;
    };
    const Case cases[] = {
        {"0123456789" + QByteArray(290, 'x'), "0123456789" + QString(244, u'x')},
        {QByteArray(254, 'y'), QString(254, u'y')},
        {QString(300, u'地').toUtf8(), QString(254, u'地')},
        {(QString(253, u'x') + smile + smile).toUtf8(), QString(253, u'x') + smile},
        {(QString(200, u'x') + smile.repeated(60)).toUtf8(),
         QString(200, u'x') + smile.repeated(54)},
        // Written by an older run: one byte, one character.
        {QByteArray(300, '\xE9'), QString(254, u'é')},
    };
    for (const Case& c : cases) {
        writeFile("[config]\nlong=" + c.value + "\n");
        EXPECT_EQ(m_ini.GetSetting(QStringLiteral("long")), c.expected) << c.value.toStdString();
    }
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
        "\xEF\xBB\xBF; written elsewhere, r\xC3\xA9sum\xC3\xA9\r\n"
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

    EXPECT_EQ(readFile(), QByteArray("\xEF\xBB\xBF; written elsewhere, r\xC3\xA9sum\xC3\xA9\r\n"
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
    // Characters, not bytes: a name of three Chinese characters and six digits takes ten
    // places like "key" and six digits.
    struct Case {
        QString prefix;
        int nineCharacterNames;
        QByteArray tail;
        int expectedCount;
        QString expectedLast;
    };
    const Case cases[] = {
        // 249 × 10 + 1 = 2,491; an eight-character name fills the list to exactly 2,500.
        {QStringLiteral("key"), 249, "fits1234=1\nx=1\n", 250, QStringLiteral("fits1234")},
        // 250 × 10 + 1 = 2,501: the last of them is not seen.
        {QStringLiteral("key"), 250, "", 249, QStringLiteral("key100248")},
        {QStringLiteral("鍵名稱"), 249, "fits1234=1\nx=1\n", 250, QStringLiteral("fits1234")},
        {QStringLiteral("鍵名稱"), 250, "", 249, QStringLiteral("鍵名稱100248")},
    };
    for (const Case& c : cases) {
        QByteArray text = "[config]\n";
        for (int i = 0; i < c.nineCharacterNames; ++i) {
            text += c.prefix.toUtf8() + QByteArray::number(100000 + i) + "=1\n";
        }
        writeFile(text + c.tail);
        QStringList keys;
        EXPECT_EQ(m_ini.GetSection(keys), c.expectedCount);
        ASSERT_EQ(keys.size(), c.expectedCount);
        EXPECT_EQ(keys.first(), c.prefix + QStringLiteral("100000"));
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
        // A lone surrogate has no UTF-8 form.
        {QStringLiteral("Unit"), QStringLiteral("10") + QChar(0xD800)},
        {QChar(0xDC00) + QStringLiteral("Unit"), QStringLiteral("1")},
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

TEST_F(IniFileTest, TextRoundTripsAsUtf8) {
    struct Case {
        QString key;
        QString value;
    };
    const Case cases[] = {
        {QStringLiteral("Area"), QStringLiteral("台北時區")},
        {QStringLiteral("Note"), QStringLiteral("Café 地圖 \U0001F600 ok")},
        {QStringLiteral("MapBase"), QStringLiteral("https://地圖.example/harvdvr/?q=é")},
        {QStringLiteral("地圖"), QStringLiteral("1")},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(QFile::remove(m_path) || !QFile::exists(m_path));
        ASSERT_TRUE(m_ini.SaveSetting(c.key, c.value)) << c.value.toStdString();
        EXPECT_EQ(readFile(), "[config]\n" + c.key.toUtf8() + '=' + c.value.toUtf8() + '\n');
        EXPECT_EQ(m_ini.GetSetting(c.key), c.value);
        QStringList keys;
        ASSERT_EQ(m_ini.GetSection(keys), 1);
        EXPECT_EQ(keys, QStringList{c.key});
    }
}

TEST_F(IniFileTest, HandWrittenUtf8FileReadsAndKeepsItsBytes) {
    const QByteArray handWritten =
        "# \xE5\x9C\xB0\xE5\x9C\x96 map server\n"
        "[config]\n"
        "MapBase = https://\xE5\x9C\xB0\xE5\x9C\x96.example/harvdvr/\n";
    writeFile(handWritten);
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("MapBase")),
              QStringLiteral("https://地圖.example/harvdvr/"));
    ASSERT_TRUE(m_ini.SaveSetting(QStringLiteral("Unit"), QStringLiteral("1001")));
    // No byte-order mark is added, and the other lines stay as they were.
    EXPECT_EQ(readFile(), handWritten + "Unit=1001\n");
}

TEST_F(IniFileTest, Latin1FileOfAnOlderRunStillReads) {
    const QByteArray old = "; Ger\xE4te\n[config]\nname=Caf\xE9\nMapBase=http://h\xF4te/\n";
    writeFile(old);
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("name")), QStringLiteral("Café"));
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("MapBase")), QStringLiteral("http://hôte/"));

    // Lines a write does not touch keep their Latin-1 bytes; a rewritten value is UTF-8.
    ASSERT_TRUE(m_ini.SaveSetting(QStringLiteral("Unit"), QStringLiteral("1001")));
    EXPECT_EQ(readFile(), old + "Unit=1001\n");
    ASSERT_TRUE(m_ini.SaveSetting(QStringLiteral("name"), QStringLiteral("Café")));
    EXPECT_EQ(readFile(),
              "; Ger\xE4te\n[config]\nname=Caf\xC3\xA9\nMapBase=http://h\xF4te/\nUnit=1001\n");
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("name")), QStringLiteral("Café"));
}

TEST_F(IniFileTest, WriteReplacesTheFileInsteadOfOverwritingIt) {
    writeFile("[config]\nUnit=1001\n");
    // Readers that opened the file before the write go on seeing a whole old file; with an
    // overwrite in place they would see the new text, or a half-written one.
    QFile reader(m_path);
    ASSERT_TRUE(reader.open(QIODevice::ReadOnly));

    ASSERT_TRUE(m_ini.SaveSetting(QStringLiteral("Unit"), QStringLiteral("1002")));

    EXPECT_EQ(reader.readAll(), QByteArray("[config]\nUnit=1001\n"));
    EXPECT_EQ(readFile(), QByteArray("[config]\nUnit=1002\n"));
}

TEST_F(IniFileTest, ValueIsReadUpToANulByte) {
    writeFile(QByteArray("[config]\nodd=ab\0cd\n", 19));
    EXPECT_EQ(m_ini.GetSetting(QStringLiteral("odd")), QStringLiteral("ab"));
}

}  // namespace
