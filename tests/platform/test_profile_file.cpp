#include <gtest/gtest.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>

#include "platform/ProfileFile.h"

namespace ms {
namespace {

using Entries = ProfileFile::Entries;

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray("<unreadable>");
    return f.readAll();
}

// Byte literal that may contain NUL bytes.
template <std::size_t N>
QByteArray raw(const char (&text)[N]) {
    return QByteArray(text, qsizetype(N - 1));
}

void putBytes(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(data), data.size());
}

// A file path inside a fresh temporary folder.
struct Scratch {
    QTemporaryDir dir;
    QString file(const QString& name = QStringLiteral("record.ini")) const { return dir.filePath(name); }
};

QString read(const QString& path, const QString& section, const QString& key, int limit = 0) {
    return ProfileFile::readString(path, section, key, limit);
}

TEST(ProfileFile, FreshFileListsKeysInWriteOrder) {
    Scratch s;
    const QString path = s.file();
    ASSERT_TRUE(ProfileFile::writeString(path, "kelm1", "faxingname", QStringLiteral("短发01")));
    ASSERT_TRUE(ProfileFile::writeString(path, "kelm1", "zhonglei", "3"));
    ASSERT_TRUE(ProfileFile::writeString(path, "kelm1", "angle", "-1234"));
    EXPECT_EQ(bytesOf(path), QByteArray("[kelm1]\r\nfaxingname=\xE7\x9F\xAD\xE5\x8F\x91"
                                        "01\r\nzhonglei=3\r\nangle=-1234\r\n"));

    // A second section goes to the end, separated by one blank line.
    ASSERT_TRUE(ProfileFile::writeString(path, "kelm2", "zhonglei", "4"));
    EXPECT_EQ(bytesOf(path), QByteArray("[kelm1]\r\nfaxingname=\xE7\x9F\xAD\xE5\x8F\x91"
                                        "01\r\nzhonglei=3\r\nangle=-1234\r\n\r\n[kelm2]\r\nzhonglei=4\r\n"));
    EXPECT_EQ(read(path, "kelm1", "faxingname"), QStringLiteral("短发01"));
    EXPECT_EQ(read(path, "kelm2", "zhonglei"), "4");
}

TEST(ProfileFile, ExistingKeyIsReplacedInPlace) {
    Scratch s;
    const QString path = s.file();
    putBytes(path, "[a]\r\nx=1\r\ny=2\r\nz=3\r\n\r\n[b]\r\ny=20\r\n");
    ASSERT_TRUE(ProfileFile::writeString(path, "a", "y", "two"));
    EXPECT_EQ(bytesOf(path), "[a]\r\nx=1\r\ny=two\r\nz=3\r\n\r\n[b]\r\ny=20\r\n");
    ASSERT_TRUE(ProfileFile::writeString(path, "b", "y", "new"));
    EXPECT_EQ(bytesOf(path), "[a]\r\nx=1\r\ny=two\r\nz=3\r\n\r\n[b]\r\ny=new\r\n");
}

TEST(ProfileFile, NewKeyGoesAfterLastKeyOfItsSection) {
    Scratch s;
    const QString path = s.file();
    putBytes(path, "[a]\r\nx=1\r\n; about b\r\n\r\n[b]\r\ny=2\r\n");
    ASSERT_TRUE(ProfileFile::writeString(path, "a", "w", "9"));
    EXPECT_EQ(bytesOf(path), "[a]\r\nx=1\r\nw=9\r\n; about b\r\n\r\n[b]\r\ny=2\r\n");

    // A section without keys gets its first key right after the header.
    putBytes(path, "[a]\r\n\r\n[b]\r\ny=2\r\n");
    ASSERT_TRUE(ProfileFile::writeString(path, "a", "w", "9"));
    EXPECT_EQ(bytesOf(path), "[a]\r\nw=9\r\n\r\n[b]\r\ny=2\r\n");

    // The last section of a file without a final line break.
    putBytes(path, "[a]\r\nx=1\r\n[b]\r\ny=2");
    ASSERT_TRUE(ProfileFile::writeString(path, "b", "z", "3"));
    EXPECT_EQ(bytesOf(path), "[a]\r\nx=1\r\n[b]\r\ny=2\r\nz=3\r\n");
}

TEST(ProfileFile, NamesCompareAsciiCaseInsensitivelyAndKeepStoredSpelling) {
    Scratch s;
    const QString path = s.file();
    putBytes(path, "[Kelm1]\r\nFaXingName=old\r\n");
    EXPECT_EQ(read(path, "KELM1", "faxingname"), "old");
    ASSERT_TRUE(ProfileFile::writeString(path, "kelm1", "FAXINGNAME", "new"));
    EXPECT_EQ(bytesOf(path), "[Kelm1]\r\nFaXingName=new\r\n");

    // Only ASCII letters fold: these are two different keys.
    ASSERT_TRUE(ProfileFile::writeString(path, "kelm1", QStringLiteral("Ä"), "upper"));
    ASSERT_TRUE(ProfileFile::writeString(path, "kelm1", QStringLiteral("ä"), "lower"));
    EXPECT_EQ(read(path, "kelm1", QStringLiteral("Ä")), "upper");
    EXPECT_EQ(read(path, "kelm1", QStringLiteral("ä")), "lower");

    // Invalid UTF-8 in a name reads as U+FFFD, and every read path agrees on that.
    putBytes(path, "[s\xFF]\r\nK\xFE=1\r\nk\xFF=2\r\n");
    const QString section = QStringLiteral("S\uFFFD");
    const QString key = QStringLiteral("k\uFFFD");
    EXPECT_EQ(read(path, section, key), "1");
    EXPECT_EQ(ProfileFile::readSection(path, section), (Entries{{QStringLiteral("K\uFFFD"), "1"}}));
    ASSERT_TRUE(ProfileFile::writeString(path, section, key, "3"));
    EXPECT_EQ(bytesOf(path), "[s\xFF]\r\nK\xFE=3\r\nk\xFF=2\r\n");
}

TEST(ProfileFile, LimitCutsWholeUtf8Characters) {
    Scratch s;
    const QString path = s.file();
    const QString han = QStringLiteral("ab中");   // 2 + 3 bytes
    const QString emoji = QStringLiteral("a😀b");  // 1 + 4 + 1 bytes
    ASSERT_TRUE(ProfileFile::writeSection(path, "r", {{"n", "-1234"}, {"h", han}, {"e", emoji}}));

    EXPECT_EQ(read(path, "r", "n", 5), "-123");
    EXPECT_EQ(read(path, "r", "n", 6), "-1234");
    EXPECT_EQ(read(path, "r", "n", 1), "");
    EXPECT_EQ(read(path, "r", "n", 0), "-1234");
    EXPECT_EQ(read(path, "r", "n", -1), "-1234");

    EXPECT_EQ(read(path, "r", "h", 5), "ab");  // the 3-byte character would straddle the cut
    EXPECT_EQ(read(path, "r", "h", 6), han);
    EXPECT_EQ(read(path, "r", "e", 5), "a");
    EXPECT_EQ(read(path, "r", "e", 6), QStringLiteral("a😀"));
    EXPECT_EQ(read(path, "r", "e", 7), emoji);

    // readSection + limited gives the same as readString.
    const std::optional<Entries> entries = ProfileFile::readSection(path, "r");
    ASSERT_TRUE(entries.has_value());
    for (const auto& [key, value] : *entries) {
        for (int limit : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8}) {
            EXPECT_EQ(ProfileFile::limited(value, limit), read(path, "r", key, limit)) << key.toStdString();
        }
    }

    // Path-like values are read in full without a limit.
    const QString longPath = "/data/" + QString(3000, QChar('p')) + QStringLiteral("/照片.jpg");
    ASSERT_TRUE(ProfileFile::writeString(path, "r", "path", longPath));
    EXPECT_EQ(read(path, "r", "path", 0), longPath);
}

TEST(ProfileFile, MissingFileSectionOrKeyReadsEmpty) {
    Scratch s;
    const QString path = s.file();
    EXPECT_EQ(read(path, "a", "x", 100), "");
    EXPECT_FALSE(ProfileFile::readSection(path, "a").has_value());
    EXPECT_FALSE(QFileInfo::exists(path));  // reading creates nothing

    putBytes(path, "[a]\r\nx=1\r\n[empty]\r\n");
    EXPECT_EQ(read(path, "b", "x", 100), "");
    EXPECT_EQ(read(path, "a", "y", 100), "");
    EXPECT_FALSE(ProfileFile::readSection(path, "b").has_value());
    const std::optional<Entries> empty = ProfileFile::readSection(path, "empty");
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->isEmpty());

    // A folder where the file should be is treated as missing.
    ASSERT_TRUE(QDir(s.dir.path()).mkdir("folder.ini"));
    EXPECT_EQ(read(s.file("folder.ini"), "a", "x", 100), "");
    EXPECT_FALSE(ProfileFile::readSection(s.file("folder.ini"), "a").has_value());
}

TEST(ProfileFile, TrimsBlanksAroundNamesAndValues) {
    Scratch s;
    const QString path = s.file();
    putBytes(path, " \t[ a ]  \r\n  x \t=  v  1\t\r\ny=\r\n");
    EXPECT_EQ(read(path, "a", "x"), "v  1");
    EXPECT_EQ(read(path, "a", "y"), "");
    const std::optional<Entries> entries = ProfileFile::readSection(path, "a");
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(*entries, (Entries{{"x", "v  1"}, {"y", ""}}));
}

TEST(ProfileFile, AcceptsLfAndCrLineEndingsAndWritesCrLf) {
    Scratch s;
    const QString path = s.file();
    putBytes(path, "[a]\nx=1\r\ny=2\r\r\nz=3\r");
    EXPECT_EQ(read(path, "a", "x"), "1");
    EXPECT_EQ(read(path, "a", "y"), "2");
    EXPECT_EQ(read(path, "a", "z"), "3");
    ASSERT_TRUE(ProfileFile::writeString(path, "a", "w", "4"));
    EXPECT_EQ(bytesOf(path), "[a]\r\nx=1\r\ny=2\r\nz=3\r\nw=4\r\n");
}

TEST(ProfileFile, KeysBeforeAnySectionAreIgnored) {
    Scratch s;
    const QString path = s.file();
    putBytes(path, "x=orphan\r\n[a]\r\ny=2\r\n");
    EXPECT_EQ(read(path, "a", "x"), "");
    EXPECT_EQ(read(path, "", "x"), "");
    ASSERT_TRUE(ProfileFile::writeString(path, "a", "x", "1"));
    EXPECT_EQ(bytesOf(path), "x=orphan\r\n[a]\r\ny=2\r\nx=1\r\n");

    // A file of orphan lines gets its first section after them.
    putBytes(path, "x=orphan");
    ASSERT_TRUE(ProfileFile::writeString(path, "a", "x", "1"));
    EXPECT_EQ(bytesOf(path), "x=orphan\r\n\r\n[a]\r\nx=1\r\n");
}

TEST(ProfileFile, ByteOrderMarkIsSkippedAndKept) {
    Scratch s;
    const QString path = s.file();
    putBytes(path, "\xEF\xBB\xBF[a]\r\nx=1\r\n");
    EXPECT_EQ(read(path, "a", "x"), "1");
    ASSERT_TRUE(ProfileFile::writeString(path, "a", "y", "2"));
    EXPECT_EQ(bytesOf(path), "\xEF\xBB\xBF[a]\r\nx=1\r\ny=2\r\n");

    // Only at the very start: elsewhere it is part of the text.
    putBytes(path, "[a]\r\n\xEF\xBB\xBFx=1\r\n");
    EXPECT_EQ(read(path, "a", "x"), "");
}

TEST(ProfileFile, VeryLongLinesAreReadAndKept) {
    Scratch s;
    const QString path = s.file();
    const QByteArray big(1 << 20, 'v');
    putBytes(path, "[a]\r\nbig=" + big + "\r\n" + QByteArray(1 << 20, ';') + "\r\n");
    EXPECT_EQ(read(path, "a", "big").toLatin1(), big);
    EXPECT_EQ(read(path, "a", "big", 10), "vvvvvvvvv");
    ASSERT_TRUE(ProfileFile::writeString(path, "a", "small", "1"));
    EXPECT_EQ(bytesOf(path), "[a]\r\nbig=" + big + "\r\nsmall=1\r\n" + QByteArray(1 << 20, ';') + "\r\n");
}

TEST(ProfileFile, NulEndsTheSignificantPartOfALine) {
    Scratch s;
    const QString path = s.file();
    putBytes(path, raw("[a]\r\nx=1\0tail\r\ny\0=2\r\n[b]\0junk\r\nz=3\r\n"));
    EXPECT_EQ(read(path, "a", "x"), "1");
    EXPECT_EQ(read(path, "a", "y"), "");  // the '=' is after the NUL
    EXPECT_EQ(read(path, "b", "z"), "3");

    // Untouched lines keep their NUL bytes; a rewritten line loses the ignored tail.
    ASSERT_TRUE(ProfileFile::writeString(path, "b", "z", "4"));
    EXPECT_EQ(bytesOf(path), raw("[a]\r\nx=1\0tail\r\ny\0=2\r\n[b]\0junk\r\nz=4\r\n"));
    ASSERT_TRUE(ProfileFile::writeString(path, "a", "x", "5"));
    EXPECT_EQ(bytesOf(path), raw("[a]\r\nx=5\r\ny\0=2\r\n[b]\0junk\r\nz=4\r\n"));
}

TEST(ProfileFile, FirstOfDuplicateSectionsWins) {
    Scratch s;
    const QString path = s.file();
    putBytes(path, "[a]\r\nx=1\r\n[b]\r\n[A]\r\nx=2\r\ny=3\r\n");
    EXPECT_EQ(read(path, "a", "x"), "1");
    EXPECT_EQ(read(path, "a", "y"), "");
    ASSERT_TRUE(ProfileFile::writeString(path, "a", "y", "4"));
    EXPECT_EQ(bytesOf(path), "[a]\r\nx=1\r\ny=4\r\n[b]\r\n[A]\r\nx=2\r\ny=3\r\n");
    EXPECT_EQ(ProfileFile::readSection(path, "A"), (Entries{{"x", "1"}, {"y", "4"}}));
}

TEST(ProfileFile, FirstOfDuplicateKeysWins) {
    Scratch s;
    const QString path = s.file();
    putBytes(path, "[a]\r\nx=1\r\ny=2\r\nX=3\r\n");
    EXPECT_EQ(read(path, "a", "x"), "1");
    EXPECT_EQ(ProfileFile::readSection(path, "a"), (Entries{{"x", "1"}, {"y", "2"}}));
    ASSERT_TRUE(ProfileFile::writeString(path, "a", "X", "9"));
    EXPECT_EQ(bytesOf(path), "[a]\r\nx=9\r\ny=2\r\nX=3\r\n");
}

TEST(ProfileFile, LinesWithoutEqualsAndCommentsAreIgnoredAndKept) {
    Scratch s;
    const QString path = s.file();
    putBytes(path, "[a]\r\njust text\r\n;x=commented\r\n  ; y=also\r\n[broken\r\nz=1\r\n");
    EXPECT_EQ(read(path, "a", "x"), "");
    EXPECT_EQ(read(path, "a", ";x"), "");
    EXPECT_EQ(read(path, "a", "y"), "");
    EXPECT_EQ(read(path, "a", "z"), "1");  // "[broken" is not a header, z still belongs to [a]
    EXPECT_EQ(ProfileFile::readSection(path, "a"), (Entries{{"z", "1"}}));
    ASSERT_TRUE(ProfileFile::writeString(path, "a", "z", "2"));
    EXPECT_EQ(bytesOf(path), "[a]\r\njust text\r\n;x=commented\r\n  ; y=also\r\n[broken\r\nz=2\r\n");
}

TEST(ProfileFile, ValuesWithSyntaxCharactersRoundTrip) {
    Scratch s;
    const QString path = s.file();
    const QStringList values = {
        "a=b",   "[x]", "; not a comment",       "=[y]=z;",
        "k = v", "",    QStringLiteral("中 文"), QStringLiteral("\uFEFFbom"),
    };
    for (qsizetype i = 0; i < values.size(); ++i) {
        ASSERT_TRUE(ProfileFile::writeString(path, "r", QString("k%1").arg(i), values[i]));
    }
    ASSERT_TRUE(ProfileFile::writeString(path, "r", "after", "1"));  // later writes must not misparse them
    for (qsizetype i = 0; i < values.size(); ++i) {
        EXPECT_EQ(read(path, "r", QString("k%1").arg(i)), values[i]) << i;
    }
    EXPECT_EQ(read(path, "r", "after"), "1");
    ASSERT_TRUE(ProfileFile::writeString(path, "r", QStringLiteral("\uFEFFk"), "key with a BOM"));
    EXPECT_EQ(read(path, "r", QStringLiteral("\uFEFFk")), "key with a BOM");
    EXPECT_EQ(read(path, "r", "k"), "");
    EXPECT_EQ(ProfileFile::readSection(path, "r")->size(), values.size() + 2);
}

TEST(ProfileFile, RefusesNamesAndValuesThatWouldNotReadBack) {
    Scratch s;
    const QString path = s.file();
    const QByteArray before("[a]\r\nx=1\r\n");
    putBytes(path, before);

    const QString nul(QChar(0));
    const QStringList badValues = {
        "a\nb", "a\rb", "a\r\n", "a" + nul + "b", " a", "a\t", QString(QChar(0xD800))};
    for (const QString& v : badValues) {
        const Status st = ProfileFile::writeString(path, "a", "x", v);
        EXPECT_FALSE(st.ok()) << v.toStdString();
        EXPECT_FALSE(st.message.isEmpty());
    }
    const QStringList badKeys = {"", "a=b", "[k", "k]", " k", "k\t", "k\n", "k\r", "k" + nul, ";k"};
    for (const QString& k : badKeys)
        EXPECT_FALSE(ProfileFile::writeString(path, "a", k, "v").ok()) << k.toStdString();
    const QStringList badSections = {"", "a]", "[a", "a\r\nb", "a" + nul, " a", "a "};
    for (const QString& sec : badSections) {
        EXPECT_FALSE(ProfileFile::writeString(path, sec, "k", "v").ok()) << sec.toStdString();
    }
    // One bad entry stops the whole section write.
    EXPECT_FALSE(ProfileFile::writeSection(path, "a", {{"y", "fine"}, {"z", "bad\n"}}).ok());
    EXPECT_EQ(bytesOf(path), before);

    const QString fresh = s.file("fresh.ini");
    EXPECT_FALSE(ProfileFile::writeString(fresh, "a", "x", "line\nbreak").ok());
    EXPECT_FALSE(QFileInfo::exists(fresh));
}

TEST(ProfileFile, UnwritableLocationsFailAndKeepOldContent) {
    Scratch s;
    const QString missingFolder = s.file("no/such/folder/record.ini");
    const Status st = ProfileFile::writeString(missingFolder, "a", "x", "1");
    EXPECT_FALSE(st.ok());
    EXPECT_TRUE(st.message.contains("record.ini"));
    EXPECT_FALSE(QFileInfo::exists(s.file("no")));

    // The parent "folder" is a regular file.
    const QString plain = s.file("plain");
    putBytes(plain, "content");
    EXPECT_FALSE(ProfileFile::writeString(plain + "/record.ini", "a", "x", "1").ok());
    EXPECT_EQ(bytesOf(plain), "content");

    // The existing "file" cannot be read: it is a folder with something inside.
    const QString folder = s.file("folder.ini");
    ASSERT_TRUE(QDir(s.dir.path()).mkpath("folder.ini/inner"));
    EXPECT_FALSE(ProfileFile::writeString(folder, "a", "x", "1").ok());
    EXPECT_TRUE(QFileInfo(folder + "/inner").isDir());
}

TEST(ProfileFile, WriteReplacesTheFileInsteadOfOverwritingIt) {
    // A hard link to the old file still sees the old bytes, so the new content went to a new file that
    // was renamed into place rather than into the old file (which a crash could leave half-written).
    Scratch s;
    const QString path = s.file();
    const QString link = s.file("link.ini");
    putBytes(path, "[a]\r\nx=1\r\n");
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(link).constData()), 0);
    ASSERT_TRUE(ProfileFile::writeString(path, "a", "x", "2"));
    EXPECT_EQ(bytesOf(path), "[a]\r\nx=2\r\n");
    EXPECT_EQ(bytesOf(link), "[a]\r\nx=1\r\n");
    EXPECT_EQ(QDir(s.dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);  // no temporary left
}

TEST(ProfileFile, WriteSectionMatchesSequentialWrites) {
    Scratch s;
    const QString batch = s.file("batch.ini");
    const QString single = s.file("single.ini");
    const QByteArray start("[other]\r\nk1=keep\r\n\r\n[kelm1]\r\nK7=old\r\n; note\r\n\r\n[tail]\r\nz=1\r\n");
    putBytes(batch, start);
    putBytes(single, start);

    Entries entries;
    for (int i = 0; i < 54; ++i)
        entries.append(ProfileFile::Entry{QString("k%1").arg(i), QString("v%1=[%1]").arg(i)});
    entries.append(
        ProfileFile::Entry{"K3", "again"});  // a repeated key replaces the value written earlier in the batch

    ASSERT_TRUE(ProfileFile::writeSection(batch, "KELM1", entries));
    for (const auto& [key, value] : entries)
        ASSERT_TRUE(ProfileFile::writeString(single, "KELM1", key, value));
    EXPECT_EQ(bytesOf(batch), bytesOf(single));

    const std::optional<Entries> back = ProfileFile::readSection(batch, "kelm1");
    ASSERT_TRUE(back.has_value());
    ASSERT_EQ(back->size(), 54);
    for (int i = 0; i < 54; ++i) {
        const QString expectedKey = i == 7 ? "K7" : QString("k%1").arg(i);  // K7 existed before
        const QString expectedValue = i == 3 ? "again" : QString("v%1=[%1]").arg(i);
        const int position = i < 7 ? i + 1 : (i == 7 ? 0 : i);
        EXPECT_EQ(back->at(position), (ProfileFile::Entry{expectedKey, expectedValue})) << i;
    }
    EXPECT_EQ(read(batch, "other", "k1"), "keep");
    EXPECT_EQ(read(batch, "tail", "z"), "1");

    // Nothing to write leaves even a missing file missing.
    EXPECT_TRUE(ProfileFile::writeSection(s.file("none.ini"), "kelm1", {}).ok());
    EXPECT_FALSE(QFileInfo::exists(s.file("none.ini")));
}

}  // namespace
}  // namespace ms
