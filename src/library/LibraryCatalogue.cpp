#include "library/LibraryCatalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "compositor/Kinds.h"

namespace ms {

namespace {

Category hair(const char* caption, const char* first, const char* second) {
    return {QString::fromUtf8(caption), QString::fromLatin1(first),     QString::fromLatin1(second), true,
            AccessorySubKind::Hat,      kindInfo(Kind::faxing).folder()};
}
Category brow(const char* caption, const char* code, bool woman) {
    return {QString::fromUtf8(caption), QString::fromLatin1(code),      {}, woman,
            AccessorySubKind::Hat,      kindInfo(Kind::meimao).folder()};
}
Category lip(const char* caption, const char* code) {
    return {QString::fromUtf8(caption), QString::fromLatin1(code),       {}, true,
            AccessorySubKind::Hat,      kindInfo(Kind::zuixing).folder()};
}
Category accessory(const char* caption, AccessorySubKind subKind) {
    return {QString::fromUtf8(caption),
            {},
            {},
            true,
            subKind,
            kindInfo(kindOfLibrary(LibraryKind::Accessories, subKind)).folder()};
}

const std::vector<Category>& hairstyleCategories() {
    static const std::vector<Category> tabs = {
        hair("短直", "d", "z"), hair("中直", "m", "z"), hair("碎发", "", "S"),  hair("长直", "c", "z"),
        hair("盘发", "p", ""),  hair("艺术", "y", ""),  hair("短卷", "d", "j"), hair("中卷", "m", "j"),
        hair("大卷", "", "o"),  hair("长卷", "c", "j"), hair("传统", "", "L"),  hair("男发", "", "n")};
    return tabs;
}

const std::vector<Category>& eyebrowCategories() {
    static const std::vector<Category> tabs = {brow(" 可爱眉 ", "k", true), brow(" 东方眉 ", "d", true),
                                               brow(" 雅致眉 ", "y", true), brow(" 野味眉 ", "x", true),
                                               brow(" 知性眉 ", "z", true), brow(" 妩媚眉 ", "w", true),
                                               brow(" 欧式眉 ", "o", true), brow(" 男士眉 ", "m", false)};
    return tabs;
}

const std::vector<Category>& lipCategories() {
    static const std::vector<Category> tabs = {lip("可爱型", "k"), lip("华丽型", "h"), lip("秀美型", "x"),
                                               lip("野味型", "y"), lip("知性型", "z")};
    return tabs;
}

const std::vector<Category>& accessoryCategories() {
    static const std::vector<Category> tabs = {
        accessory(" 帽子 ", AccessorySubKind::Hat), accessory(" 眼镜 ", AccessorySubKind::Glasses),
        accessory(" 耳环 ", AccessorySubKind::Earrings), accessory(" 项链 ", AccessorySubKind::Necklace),
        accessory(" 服装 ", AccessorySubKind::Clothing)};
    return tabs;
}

}  // namespace

const std::vector<Category>& categoriesOf(LibraryKind libraryKind) {
    switch (libraryKind) {
        case LibraryKind::Hairstyles:
            return hairstyleCategories();
        case LibraryKind::Eyebrows:
            return eyebrowCategories();
        case LibraryKind::Lips:
            return lipCategories();
        default:
            return accessoryCategories();
    }
}

int tabsPerRow(LibraryKind libraryKind) {
    switch (libraryKind) {
        case LibraryKind::Hairstyles:
            return 6;
        case LibraryKind::Eyebrows:
            return 4;
        default:
            return 5;
    }
}

QString libraryFolderName(LibraryKind libraryKind, AccessorySubKind accessorySubKind) {
    return kindInfo(kindOfLibrary(libraryKind, accessorySubKind)).folder();
}

QString libraryFolder(const QString& P, const QString& relativeFolder) {
    return P + QLatin1Char('/') + relativeFolder + QLatin1Char('/');
}

QString hairstylePattern(const QString& folder, const QString& first, const QString& second) {
    return folder + first + QLatin1Char('*') + second + QLatin1Char('*');
}

QString codePattern(const QString& folder, const QString& code) { return folder + code + QLatin1Char('*'); }

QString everythingPattern(const QString& folder) { return folder + QLatin1Char('*'); }

std::optional<SuitabilityField> suitabilityFieldOf(FaceShape shape) {
    static constexpr std::pair<FaceShape, SuitabilityField> kFields[] = {
        {FaceShape::Round, SuitabilityField::RoundFace},
        {FaceShape::Square, SuitabilityField::SquareFace},
        {FaceShape::Long, SuitabilityField::LongFace},
        {FaceShape::Pointed, SuitabilityField::PointedFace}};
    for (const auto& [s, f] : kFields)
        if (s == shape) return f;
    return std::nullopt;
}

QStringList suitingFirst(const QStringList& listing, const QStringList& suiting, bool onlySuiting) {
    const QSet<QString> names(suiting.begin(), suiting.end());
    QStringList first, rest;
    for (const QString& entry : listing)
        (names.contains(QFileInfo(entry).fileName()) ? first : rest) << entry;
    if (!onlySuiting) first << rest;
    return first;
}

QString hairstyleInfoPicture(const QString& P, const QString& hairstylePath) {
    const QString name = QFileInfo(hairstylePath).fileName();
    if (name.size() < 3) return {};
    const QString wanted = name.left(name.size() - 3) + QStringLiteral("BMP");
    const QString folder = P + QStringLiteral("/faxing1/");
    if (QFileInfo(folder + wanted).isFile()) return folder + wanted;
    const QStringList all = QDir(folder).entryList(QDir::Files);
    for (const QString& candidate : all)
        if (candidate.compare(wanted, Qt::CaseInsensitive) == 0) return folder + candidate;
    return {};
}

}  // namespace ms
