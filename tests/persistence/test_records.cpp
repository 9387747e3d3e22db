#include <gtest/gtest.h>

#include <QFile>

#include "compositor/Composition.h"
#include "persistence/DesignRecord.h"
#include "persistence/History.h"
#include "platform/ProfileFile.h"
#include "support/Fixtures.h"

using namespace ms;

namespace {

// The undo snapshot layout, written out independently of the code's table.
const char* const kSnapshotKeys[] = {
    "faxingname",    "faxingWidth",    "faxingheight", "faxingleft",   "faxingtop",     "meimaoxingname",
    "mmWidthz",      "mmheightz",      "mmleftz",      "mmtopz",       "mmWidthy",      "mmheighty",
    "mmlefty",       "mmtopy",         "yjzname",      "yjyname",      "yjWidthz",      "yjWidthy",
    "yjheightz",     "yjheighty",      "yjleftz",      "yjtopz",       "yjlefty",       "yjtopy",
    "huziname",      "huziWidth",      "huziheight",   "huzileft",     "huzitop",       "zuixingname",
    "zuixingWidth",  "zuixingheight",  "zuixingleft",  "zuixingtop",   "yanjingname",   "yanjingWidth",
    "yanjingheight", "yanjingleft",    "yanjingtop",   "maoziname",    "maoziWidth",    "maoziheight",
    "maozileft",     "maozitop",       "erhuanname",   "erhuanWidth",  "erhuanleft",    "erhuantop",
    "xianglianname", "xianglianWidth", "xiangliantop", "fuzhuangname", "fuzhuangWidth", "fuzhuangtop"};

QStringList keysOf(const std::vector<const RecordKey*>& keys) {
    QStringList out;
    for (const RecordKey* k : keys) out << QString::fromLatin1(k->key);
    return out;
}

}  // namespace

TEST(DesignRecord, LayoutsInWriteOrder) {
    QStringList snapshot;
    for (const char* k : kSnapshotKeys) snapshot << k;
    EXPECT_EQ(keysOf(snapshotRecordKeys()), snapshot);
    QStringList slot = {"woman", "chunsb", "zuixingnd"};
    for (const QString& k : snapshot)
        if (!k.endsWith("name") || k == "yanjingname" || k == "maoziname" || k == "erhuanname" ||
            k == "xianglianname")
            slot << k;
    EXPECT_EQ(slot.size(), 50);
    EXPECT_EQ(keysOf(slotRecordKeys()), slot);
}

TEST(DesignRecord, FreshSnapshotFileBytes) {
    test::ProgramFolder folder;
    StudioState s;
    s.P = folder.path();
    s.doc.design.faxingname = "/p/faxing/dz001.tta";
    s.doc.design.geometry.mmtopz = -7;
    s.doc.design.geometry.fuzhuangtop = 12;
    ASSERT_TRUE(huifu_baochun(s));
    QFile f(snapshotPath(s, 1));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray expected = "[kelm1]\r\n";
    for (const char* k : kSnapshotKeys) {
        QByteArray v = QByteArray(k).endsWith("name") ? QByteArray() : QByteArray("0");
        if (QByteArray(k) == "faxingname") v = "/p/faxing/dz001.tta";
        if (QByteArray(k) == "mmtopz") v = "-7";
        if (QByteArray(k) == "fuzhuangtop") v = "12";
        expected += QByteArray(k) + "=" + v + "\r\n";
    }
    EXPECT_EQ(f.readAll(), expected);
    EXPECT_TRUE(snapshotPath(s, 12).endsWith("/temp/huifu12.ini"));
}

TEST(DesignRecord, ValuesAreCutToTheirReadLimitsBeforeConversion) {
    DesignState d;
    RecordEntries e = encodeSnapshot(d);
    auto set = [&](const char* key, const QString& v) {
        for (auto& [k, val] : e)
            if (k == key) val = v;
    };
    set("faxingWidth", "-1234");
    set("faxingleft", "12345");
    set("mmtopz", "12");
    const QString folder = "/" + QString("深").repeated(60);  // a program folder far over 99 bytes
    const QString longPath = folder + "/faxing/dz001.tta";
    set("faxingname", longPath);
    ASSERT_TRUE(decodeSnapshot(e, folder, d));
    EXPECT_EQ(d.geometry.faxingWidth, -123);
    EXPECT_EQ(d.geometry.faxingleft, 1234);
    EXPECT_EQ(d.geometry.mmtopz, 12);
    EXPECT_EQ(d.faxingname, longPath);
}

TEST(DesignRecord, BadValuesFailTheWholeRecordAndChangeNothing) {
    DesignState d;
    d.faxingname = "before";
    d.geometry.maozitop = 9;
    const DesignState original = d;
    for (const auto& [key, value] : std::vector<std::pair<const char*, QString>>{
             {"maoziWidth", ""}, {"maoziWidth", "abc"}, {"erhuantop", "1.5"}, {"fuzhuangtop", "--1"}}) {
        RecordEntries e = encodeSnapshot(DesignState{});
        for (auto& [k, v] : e)
            if (k == key) v = value;
        EXPECT_FALSE(decodeSnapshot(e, "/studio", d)) << key << "=" << value.toStdString();
        EXPECT_EQ(d.faxingname, original.faxingname);
        EXPECT_EQ(d.geometry, original.geometry);
    }
    RecordEntries missing = encodeSnapshot(DesignState{});
    missing.removeAt(10);
    EXPECT_FALSE(decodeSnapshot(missing, "/studio", d));
    EXPECT_EQ(d.geometry, original.geometry);
}

TEST(DesignRecord, WomanAndNumbersParse) {
    bool w = false;
    EXPECT_TRUE(parseWoman("TRUE", w) && w);
    EXPECT_TRUE(parseWoman("false", w) && !w);
    EXPECT_TRUE(parseWoman("-1", w) && w);
    EXPECT_TRUE(parseWoman("0", w) && !w);
    EXPECT_FALSE(parseWoman("yes", w));
    int32_t c = 0;
    EXPECT_TRUE(parseInt32("5243135", c));
    EXPECT_EQ(c, 5243135);
    int16_t g = 0;
    EXPECT_FALSE(parseInt16("40000", g));
    EXPECT_TRUE(parseInt16("-3", g));
    EXPECT_EQ(g, -3);
}
