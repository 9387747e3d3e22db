#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "print/CaptionFiles.h"
#include "support/Fixtures.h"

using namespace ms;

TEST(CaptionFiles, APairRoundTripsAndAFailedSaveKeepsTheOldPair) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.rtf"));
    QTextDocument one, two;
    QTextCursor c(&one);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("王女士 "), bold);
    c.insertText(QStringLiteral("新发型"));
    two.setPlainText(QStringLiteral("短发\n栗色"));
    ASSERT_TRUE(saveCaptionFiles(path, one, two));
    EXPECT_TRUE(QFile::exists(path + QStringLiteral("2")));

    QTextDocument back1, back2;
    ASSERT_TRUE(loadCaptionFiles(path, back1, back2));
    EXPECT_EQ(back1.toPlainText(), QStringLiteral("王女士 新发型"));
    EXPECT_EQ(back2.toPlainText(), QStringLiteral("短发\n栗色"));
    EXPECT_EQ(back1.begin().begin().fragment().charFormat().fontWeight(), QFont::Bold);

    // The second file cannot be written (a folder is in its place): neither file changes.
    const QString other = dir.filePath(QStringLiteral("b.rtf"));
    ASSERT_TRUE(saveCaptionFiles(other, one, two));
    const QByteArray before = test::bytesOf(other);
    ASSERT_TRUE(QFile::remove(other + QStringLiteral("2")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("b.rtf2")));
    QTextDocument changed;
    changed.setPlainText(QStringLiteral("改过的"));
    EXPECT_FALSE(saveCaptionFiles(other, changed, changed));
    EXPECT_EQ(test::bytesOf(other), before);

    // A file that is not RTF leaves both captions as they were.
    QFile junk(dir.filePath(QStringLiteral("c.rtf")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("plain words, no rich text");
    junk.close();
    const Status st = loadCaptionFiles(junk.fileName(), back1, back2);
    EXPECT_FALSE(st);
    EXPECT_FALSE(st.message.isEmpty());
    EXPECT_EQ(back1.toPlainText(), QStringLiteral("王女士 新发型"));
}
