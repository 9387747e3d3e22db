#include <gtest/gtest.h>

#include "LibraryStudio.h"
#include "library/LibraryCatalogue.h"
#include "library/LibraryPages.h"

using namespace ms;
using ms::test::fileNames;

namespace {

QStringList numbered(int n) {
    QStringList out;
    for (int i = 0; i < n; ++i) out << QString("/lib/k%1.tta").arg(i, 3, 10, QChar('0'));
    return out;
}

struct PageView {
    QString page, total;
    bool previous, next;
    int shown;
};

PageView view(const LibraryPages& p) {
    return {p.pageText(), p.countText(), p.previousEnabled(), p.nextEnabled(), p.shownCount()};
}

void expectPage(const LibraryPages& p, const char* page, const char* total, bool previous, bool next,
                int shown) {
    const PageView v = view(p);
    EXPECT_EQ(v.page, QString::fromUtf8(page));
    EXPECT_EQ(v.total, QString::fromUtf8(total));
    EXPECT_EQ(v.previous, previous);
    EXPECT_EQ(v.next, next);
    EXPECT_EQ(v.shown, shown);
    for (int i = 0; i < p.perPage(); ++i) EXPECT_EQ(p.entry(i).isEmpty(), i >= shown) << "thumbnail " << i;
}

}  // namespace

TEST(Paging, SixPerPageWithFiveSixAndSevenFiles) {
    LibraryPages five(6);
    expectPage(five, "第1页", "共00页", false, true, 0);  // the window design, before any listing
    five.setListing(numbered(5));
    expectPage(five, "第1页", "共1页", false, false, 5);
    five.next();  // disabled: ignored
    expectPage(five, "第1页", "共1页", false, false, 5);

    LibraryPages six(6);
    six.setListing(numbered(6));
    expectPage(six, "第1页", "共2页", false, true, 6);
    six.next();
    expectPage(six, "第2页", "共2页", true, false, 0);
    six.previous();
    expectPage(six, "第1页", "共2页", false, true, 6);

    LibraryPages seven(6);
    seven.setListing(numbered(7));
    seven.next();
    expectPage(seven, "第2页", "共2页", true, false, 1);
    EXPECT_EQ(seven.entry(0), "/lib/k006.tta");
}

TEST(Paging, EightPerPageWithEightAndNineFiles) {
    LibraryPages eight(8);
    eight.setListing(numbered(8));
    expectPage(eight, "第1页", "共2页", false, true, 8);
    eight.next();
    expectPage(eight, "第2页", "共2页", true, false, 0);

    LibraryPages nine(8);
    nine.setListing(numbered(9));
    expectPage(nine, "第1页", "共2页", false, true, 8);
    EXPECT_EQ(nine.entry(7), "/lib/k007.tta");
    nine.next();
    expectPage(nine, "第2页", "共2页", true, false, 1);
    EXPECT_EQ(nine.entry(0), "/lib/k008.tta");
}

TEST(Paging, BackFromPageThreeKeepsPreviousEnabledAndRestartResets) {
    LibraryPages p(6);
    p.setListing(numbered(20));
    p.next();
    p.next();
    expectPage(p, "第3页", "共4页", true, true, 6);
    EXPECT_EQ(p.entry(0), "/lib/k012.tta");
    p.previous();
    expectPage(p, "第2页", "共4页", true, true, 6);
    p.next();
    p.next();
    expectPage(p, "第4页", "共4页", true, false, 2);
    p.restart();
    p.setListing(numbered(3));
    expectPage(p, "第1页", "共1页", false, false, 3);

    LibraryPages twelve(6);  // the second page of exactly twelve is still full
    twelve.setListing(numbered(12));
    twelve.next();
    expectPage(twelve, "第2页", "共3页", true, true, 6);
    twelve.next();
    expectPage(twelve, "第3页", "共3页", true, false, 0);
}

TEST(Paging, EmptyListingIsOneEmptyPage) {
    LibraryPages p(8);
    p.setListing({});
    expectPage(p, "第1页", "共1页", false, false, 0);
}

TEST(Listing, AscendingByCharacterCodesWithoutALengthLimit) {
    test::LibraryStudio st;
    st.components("maozi", {"b1.tta", "B1.tta", "01.tta", "a1.tta", "A1.tta", "_1.tta"});
    QDir(st.folder.file("maozi")).mkdir("a-folder.tta");
    const QString folder = libraryFolder(st.s.P, "maozi");
    const QStringList listed = LibraryPages::buildListing(everythingPattern(folder));
    EXPECT_EQ(fileNames(listed), QStringList({"01.tta", "A1.tta", "B1.tta", "_1.tta", "a1.tta", "b1.tta"}));
    EXPECT_EQ(listed.front(), folder + "01.tta");

    for (int i = 0; i < 450; ++i)
        QFile(st.folder.file(QString("erhuan/e%1").arg(i, 3, 10, QChar('0')))).open(QIODevice::WriteOnly);
    LibraryPages pages(6);
    pages.setListing(LibraryPages::buildListing(everythingPattern(libraryFolder(st.s.P, "erhuan"))));
    EXPECT_EQ(pages.count(), 450);
    EXPECT_EQ(pages.countText(), "共76页");
    for (int i = 0; i < 74; ++i) pages.next();
    EXPECT_EQ(fileNames({pages.entry(5)}), QStringList{"e449"});
    EXPECT_TRUE(LibraryPages::buildListing(everythingPattern(libraryFolder(st.s.P, "missing"))).isEmpty());
}

TEST(Categories, HairstylePatternsIgnoreLetterCase) {
    test::LibraryStudio st;
    st.components("faxing",
                  {"dz1.tta", "DZ2.tta", "zd3.tta", "mz1.tta", "Sx1.tta", "ms1.tta", "cz1.tta", "p1.tta",
                   "P2.tta", "y1.tta", "dj1.tta", "mj1.tta", "ao1.tta", "cj1.tta", "al1.tta", "bn1.tta"});
    const QString folder = libraryFolder(st.s.P, "faxing");
    const std::vector<Category>& tabs = categoriesOf(LibraryKind::Hairstyles);
    ASSERT_EQ(tabs.size(), 12u);
    EXPECT_EQ(tabsPerRow(LibraryKind::Hairstyles), 6);
    const std::vector<QStringList> expected = {
        {"DZ2.tta", "dz1.tta"},  // 短直 d*z*
        {"mz1.tta"},             // 中直 m*z*
        {"Sx1.tta", "ms1.tta"},  // 碎发 *S*: the lower-case s counts, first letter included
        {"cz1.tta"},             // 长直
        {"P2.tta", "p1.tta"},    // 盘发 p**
        {"y1.tta"},              // 艺术
        {"dj1.tta"},             // 短卷
        {"mj1.tta"},             // 中卷
        {"ao1.tta"},             // 大卷 *o*
        {"cj1.tta"},             // 长卷
        {"al1.tta"},             // 传统 *L*
        {"bn1.tta"}};            // 男发 *n*
    const QStringList captions = {"短直", "中直", "碎发", "长直", "盘发", "艺术",
                                  "短卷", "中卷", "大卷", "长卷", "传统", "男发"};
    for (size_t t = 0; t < tabs.size(); ++t) {
        EXPECT_EQ(tabs[t].caption, captions[static_cast<qsizetype>(t)]);
        const QString pattern = hairstylePattern(folder, tabs[t].firstCode, tabs[t].secondCode);
        EXPECT_EQ(fileNames(LibraryPages::buildListing(pattern)), expected[t]) << "tab " << t;
    }
    EXPECT_EQ(hairstylePattern(folder, "p", ""), folder + "p**");
}

TEST(Categories, EyebrowLipAndAccessoryTabs) {
    test::LibraryStudio st;
    st.components("meimao", {"k1.tta", "K2.tta", "m1.tta", "dk1.tta"});
    st.components("zuixing", {"h1.tta", "H2.tta", "k1.tta"});
    const std::vector<Category>& brows = categoriesOf(LibraryKind::Eyebrows);
    ASSERT_EQ(brows.size(), 8u);
    EXPECT_EQ(tabsPerRow(LibraryKind::Eyebrows), 4);
    EXPECT_EQ(brows[0].caption, " 可爱眉 ");
    EXPECT_EQ(brows[7].caption, " 男士眉 ");
    for (size_t i = 0; i < 7; ++i) EXPECT_TRUE(brows[i].woman);
    EXPECT_FALSE(brows[7].woman);
    const QString mm = libraryFolder(st.s.P, "meimao");
    EXPECT_EQ(fileNames(LibraryPages::buildListing(codePattern(mm, brows[0].firstCode))),
              QStringList({"K2.tta", "k1.tta"}));
    EXPECT_EQ(fileNames(LibraryPages::buildListing(codePattern(mm, brows[1].firstCode))),
              QStringList({"dk1.tta"}));

    const std::vector<Category>& lips = categoriesOf(LibraryKind::Lips);
    ASSERT_EQ(lips.size(), 5u);
    EXPECT_EQ(lips[1].caption, "华丽型");
    EXPECT_EQ(fileNames(LibraryPages::buildListing(
                  codePattern(libraryFolder(st.s.P, "zuixing"), lips[1].firstCode))),
              QStringList({"H2.tta", "h1.tta"}));

    const std::vector<Category>& acc = categoriesOf(LibraryKind::Accessories);
    ASSERT_EQ(acc.size(), 5u);
    const QStringList folders = {"maozi", "yanjing", "erhuan", "xianglian", "fuzhuang"};
    const QStringList captions = {" 帽子 ", " 眼镜 ", " 耳环 ", " 项链 ", " 服装 "};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(acc[static_cast<size_t>(i)].folder, folders[i]);
        EXPECT_EQ(acc[static_cast<size_t>(i)].caption, captions[i]);
        EXPECT_EQ(static_cast<int>(acc[static_cast<size_t>(i)].subKind), 8 + i);
    }
    st.components("yanjing", {"g1.tta", "000.tta", "Z.tta"});
    EXPECT_EQ(fileNames(LibraryPages::buildListing(everythingPattern(libraryFolder(st.s.P, "yanjing")))),
              QStringList({"000.tta", "Z.tta", "g1.tta"}));
}

TEST(InfoPicture, NameWithoutItsLastThreeCharactersPlusBMP) {
    test::LibraryStudio st;
    const QString P = st.s.P;
    QFile(st.folder.file("faxing1/dz012.BMP")).open(QIODevice::WriteOnly);
    QFile(st.folder.file("faxing1/mz7.bmp")).open(QIODevice::WriteOnly);
    QFile(st.folder.file("faxing1/dz1BMP")).open(QIODevice::WriteOnly);
    EXPECT_EQ(hairstyleInfoPicture(P, P + "/faxing/dz012.tta"), P + "/faxing1/dz012.BMP");
    EXPECT_EQ(hairstyleInfoPicture(P, P + "/faxing/mz7.tta"), P + "/faxing1/mz7.bmp");  // letter case differs
    // A two-letter extension loses its dot too: dz1.ta is looked up as "dz1BMP".
    EXPECT_EQ(hairstyleInfoPicture(P, P + "/faxing/dz1.ta"), P + "/faxing1/dz1BMP");
    QFile(st.folder.file("faxing1/dz2.BMP")).open(QIODevice::WriteOnly);
    EXPECT_EQ(hairstyleInfoPicture(P, P + "/faxing/dz2.tttt"), "");  // looks for dz2.tBMP
    EXPECT_EQ(hairstyleInfoPicture(P, P + "/faxing/cz9.tta"), "");
}
