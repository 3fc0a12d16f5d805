#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "shell/TrueCasePath.h"

namespace {

class TrueCasePathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        // The temporary folder's own name may hold capitals; only the part below it is typed
        // in another case.
        m_root = QDir(m_dir.path()).canonicalPath();
        ASSERT_TRUE(QDir(m_root).mkpath(QStringLiteral("Program Files/DVR Tools/.Hidden")));
        QFile file(m_root + QStringLiteral("/Program Files/DVR Tools/Viewer.BIN"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QTemporaryDir m_dir;
    QString m_root;
};

TEST_F(TrueCasePathTest, SpellsEveryNameAsStored) {
    struct Case {
        QString typed;
        QString expected;
    };
    const QString stored = m_root + QStringLiteral("/Program Files/DVR Tools");
    const Case cases[] = {
        {m_root + QStringLiteral("/program files/dvr tools"), stored},
        {m_root + QStringLiteral("/PROGRAM FILES/Dvr Tools/"), stored},
        {m_root + QStringLiteral("/Program Files/DVR Tools"), stored},
        {m_root + QStringLiteral("/program files/dvr tools/viewer.bin"),
         stored + QStringLiteral("/Viewer.BIN")},
        {m_root + QStringLiteral("/program files/./other/../dvr tools/.hidden"),
         stored + QStringLiteral("/.Hidden")},
        {QStringLiteral("/"), QStringLiteral("/")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TrueCasePath::resolve(c.typed), c.expected) << c.typed.toStdString();
    }
}

TEST_F(TrueCasePathTest, MissingPartGivesEmptyText) {
    EXPECT_EQ(TrueCasePath::resolve(m_root + QStringLiteral("/program files/missing/viewer.bin")),
              QString());
    EXPECT_EQ(TrueCasePath::resolve(m_root + QStringLiteral("/program files/dvr tools/gone")),
              QString());
    EXPECT_EQ(TrueCasePath::resolve(QString()), QString());
}

TEST_F(TrueCasePathTest, RelativePathStartsAtTheCurrentFolder) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_root));
    const QString resolved = TrueCasePath::resolve(QStringLiteral("program files/dvr tools"));
    QDir::setCurrent(previous);
    EXPECT_EQ(resolved, m_root + QStringLiteral("/Program Files/DVR Tools"));
}

}  // namespace
