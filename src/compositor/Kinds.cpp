#include "compositor/Kinds.h"

namespace ms {

namespace {

using D = DesignState;
using G = LayerGeometry;
using K = KindGrids;
using L = Layer;
using LK = LibraryKind;
using AS = AccessorySubKind;
using TK = ThumbnailKind;

constexpr GeometryRoles kNoGeometry{};

// clang-format off
const std::array<KindInfo, kKindCount> kTable{{
    {Kind::xiushi, "xiushi", u"抠图照片", nullptr, {380, 480}, true, 6, &K::cutout, nullptr,
     {L::Cutout}, 1, {kNoGeometry}, 0,
     false, SurfaceStep::Plain, LK::None, AS::Hat, TK::Hairstyle, false},
    {Kind::faxing, "faxing", u"发型", &D::faxingname, {380, 480}, false, 6, &K::hairstyle, &K::hairstyleBackup,
     {L::Hairstyle}, 1, {GeometryRoles{&G::faxingWidth, &G::faxingheight, &G::faxingleft, &G::faxingtop}}, 1,
     true, SurfaceStep::Plain, LK::Hairstyles, AS::Hat, TK::Hairstyle, false, &D::hairHeight},
    {Kind::meimao, "meimao", u"眉型", &D::meimaoxingname, {180, 40}, true, 6, &K::eyebrow, &K::eyebrowBackup,
     {L::EyebrowLeft, L::EyebrowRight}, 2,
     {GeometryRoles{&G::mmWidthz, &G::mmheightz, &G::mmleftz, &G::mmtopz},
      GeometryRoles{&G::mmWidthy, &G::mmheighty, &G::mmlefty, &G::mmtopy}}, 2,
     true, SurfaceStep::EyebrowStrength, LK::Eyebrows, AS::Hat, TK::Eyebrows, true},
    {Kind::zuixing, "zuixing", u"唇型", &D::zuixingname, {100, 50}, true, 2, &K::lips, &K::lipsBackup,
     {L::Lips}, 1,
     {GeometryRoles{&G::zuixingWidth, &G::zuixingheight, &G::zuixingleft, &G::zuixingtop}}, 1,
     true, SurfaceStep::LipColour, LK::Lips, AS::Hat, TK::Lips, false},
    {Kind::xianglian, "xianglian", u"项链", &D::xianglianname, {200, 140}, false, 6, nullptr, nullptr,
     {L::Necklace}, 1, {GeometryRoles{&G::xianglianWidth, nullptr, nullptr, &G::xiangliantop}}, 1,
     false, SurfaceStep::Plain, LK::Accessories, AS::Necklace, TK::Necklace, false},
    {Kind::maozi, "maozi", u"帽子", &D::maoziname, {380, 250}, false, 6, nullptr, nullptr,
     {L::Hat}, 1, {GeometryRoles{&G::maoziWidth, &G::maoziheight, &G::maozileft, &G::maozitop}}, 1,
     false, SurfaceStep::Plain, LK::Accessories, AS::Hat, TK::Hat, false},
    {Kind::yanjing, "yanjing", u"眼镜", &D::yanjingname, {180, 70}, false, 6, nullptr, nullptr,
     {L::Glasses}, 1,
     {GeometryRoles{&G::yanjingWidth, &G::yanjingheight, &G::yanjingleft, &G::yanjingtop}}, 1,
     false, SurfaceStep::Plain, LK::Accessories, AS::Glasses, TK::Glasses, true},
    {Kind::erhuan, "erhuan", u"耳环", &D::erhuanname, {80, 65}, false, 6, nullptr, nullptr,
     {L::EarringLeft, L::EarringRight}, 2,
     {GeometryRoles{&G::erhuanWidth, nullptr, &G::erhuanleft, &G::erhuantop}}, 1,
     false, SurfaceStep::Plain, LK::Accessories, AS::Earrings, TK::Earrings, false},
    {Kind::fuzhuang, "fuzhuang", u"服装", &D::fuzhuangname, {400, 190}, false, 6, &K::clothing,
     &K::clothingBackup, {L::Clothing}, 1,
     {GeometryRoles{&G::fuzhuangWidth, &G::fuzhuangheight, nullptr, &G::fuzhuangtop}}, 1,
     true, SurfaceStep::Plain, LK::Accessories, AS::Clothing, TK::Clothing, false},
}};
// clang-format on

}  // namespace

const std::array<KindInfo, kKindCount>& kindTable() { return kTable; }

std::vector<Kind> componentKinds() {
    std::vector<Kind> out;
    for (const KindInfo& k : kTable)
        if (k.hasComponentFile()) out.push_back(k.kind);
    return out;
}

Kind kindOf(Layer layer) {
    for (const KindInfo& k : kTable)
        for (Layer l : k.layers())
            if (l == layer) return k.kind;
    return Kind::xiushi;
}

Kind kindOfLibrary(LibraryKind library, AccessorySubKind subKind) {
    for (const KindInfo& k : kTable)
        if (k.library == library && (library != LibraryKind::Accessories || k.subKind == subKind))
            return k.kind;
    return Kind::faxing;
}

std::vector<int16_t LayerGeometry::*> geometryFields(Kind kind) {
    std::vector<int16_t LayerGeometry::*> out;
    for (const GeometryRoles& m : kindInfo(kind).members())
        for (auto f : {m.width, m.height, m.left, m.top})
            if (f) out.push_back(f);
    return out;
}

void resetGeometry(LayerGeometry& g, Kind kind) {
    for (auto f : geometryFields(kind)) g.*f = 0;
}

}  // namespace ms
