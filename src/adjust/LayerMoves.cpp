#include "adjust/LayerMoves.h"

#include "compositor/Composition.h"
#include "compositor/Kinds.h"
#include "compositor/Preparation.h"
#include "imaging/Rounding.h"

namespace ms {

namespace {

using G = LayerGeometry;
constexpr FieldMultiple kNone{};

// Per target, the fields of Slider3 .. Slider6. The vertical sliders have -10 at the top, so a
// field that moves a layer up by a positive value takes -v. A single brow moves with the slider:
// the left brow's placement subtracts its left field, hence -v.
struct TargetRow {
    MoveTarget target;
    std::array<SliderFields, kMoveSliderCount> sliders;
};
// clang-format off
const std::array<TargetRow, 10> kRows{{
    {MoveTarget::EyebrowsBoth, {{{{{&G::mmWidthz, 1}, {&G::mmWidthy, 1}}}, {{{&G::mmtopz, -1}, {&G::mmtopy, -1}}},
                                 {{{&G::mmleftz, 1}, {&G::mmlefty, 1}}}, {{{&G::mmheightz, 1}, {&G::mmheighty, 1}}}}}},
    {MoveTarget::EyebrowLeft, {{{{{&G::mmWidthz, 1}, kNone}}, {{{&G::mmtopz, -1}, kNone}},
                                {{{&G::mmleftz, -1}, kNone}}, {{{&G::mmheightz, 1}, kNone}}}}},
    {MoveTarget::EyebrowRight, {{{{{&G::mmWidthy, 1}, kNone}}, {{{&G::mmtopy, -1}, kNone}},
                                 {{{&G::mmlefty, 1}, kNone}}, {{{&G::mmheighty, 1}, kNone}}}}},
    {MoveTarget::Lips, {{{{{&G::zuixingWidth, 1}, kNone}}, {{{&G::zuixingtop, 1}, kNone}},
                         {{{&G::zuixingleft, 1}, kNone}}, {{{&G::zuixingheight, -1}, kNone}}}}},
    {MoveTarget::Hat, {{{{{&G::maoziWidth, 2}, kNone}}, {{{&G::maozitop, 4}, kNone}},
                        {{{&G::maozileft, 1}, kNone}}, {{{&G::maoziheight, -4}, kNone}}}}},
    {MoveTarget::Glasses, {{{{{&G::yanjingWidth, 1}, kNone}}, {{{&G::yanjingtop, 2}, kNone}},
                            {{{&G::yanjingleft, 2}, kNone}}, {{{&G::yanjingheight, -1}, kNone}}}}},
    {MoveTarget::Earrings, {{{{{&G::erhuanWidth, 1}, kNone}}, {{{&G::erhuantop, -1}, kNone}},
                             {{{&G::erhuanleft, 1}, kNone}}, {{kNone, kNone}}}}},
    {MoveTarget::Necklace, {{{{{&G::xianglianWidth, 1}, kNone}}, {{{&G::xiangliantop, 1}, kNone}},
                             {{kNone, kNone}}, {{kNone, kNone}}}}},
    {MoveTarget::Clothing, {{{{{&G::fuzhuangWidth, 1}, kNone}}, {{{&G::fuzhuangtop, -3}, kNone}},
                             {{kNone, kNone}}, {{{&G::fuzhuangheight, -4}, kNone}}}}},
    // Stretching up and down keeps the hairstyle's middle: top field 3 v with height -2 v puts the
    // top edge v lower and the bottom edge v higher.
    {MoveTarget::Hairstyle, {{{{{&G::faxingWidth, 1}, kNone}}, {{{&G::faxingtop, 2}, kNone}},
                              {{{&G::faxingleft, 1}, kNone}}, {{{&G::faxingheight, -2}, {&G::faxingtop, 3}}}}}},
}};
// clang-format on

const std::array<int16_t G::*, 8> kEyebrowFields{&G::mmWidthz, &G::mmheightz, &G::mmleftz, &G::mmtopz,
                                                 &G::mmWidthy, &G::mmheighty, &G::mmlefty, &G::mmtopy};

}  // namespace

std::optional<MoveTarget> moveTargetOf(LibraryKind library, AccessorySubKind tab, EyebrowSides sides) {
    switch (library) {
        case LibraryKind::Eyebrows:
            return sides == EyebrowSides::Left    ? MoveTarget::EyebrowLeft
                   : sides == EyebrowSides::Right ? MoveTarget::EyebrowRight
                                                  : MoveTarget::EyebrowsBoth;
        case LibraryKind::Lips:
            return MoveTarget::Lips;
        case LibraryKind::Accessories:
            switch (tab) {
                case AccessorySubKind::Hat:
                    return MoveTarget::Hat;
                case AccessorySubKind::Glasses:
                    return MoveTarget::Glasses;
                case AccessorySubKind::Earrings:
                    return MoveTarget::Earrings;
                case AccessorySubKind::Necklace:
                    return MoveTarget::Necklace;
                case AccessorySubKind::Clothing:
                    return MoveTarget::Clothing;
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

const SliderFields& sliderFields(MoveTarget target, MoveSlider slider) {
    return kRows[static_cast<size_t>(target)].sliders[static_cast<size_t>(slider)];
}

void dragMoveSlider(StudioState& s, MoveTarget target, MoveSlider slider, int v) {
    const SliderFields& fields = sliderFields(target, slider);
    if (!fields[0].field) return;
    for (const FieldMultiple& f : fields)
        if (f.field) s.doc.design.geometry.*f.field = wrap16(f.multiple * v);
    huaban_hecheng1(s);
}

void chooseEyebrowSides(StudioState& s, EyebrowSides sides) {
    s.session.eyebrowSides = sides;
    if (sides != EyebrowSides::Both) return;
    for (int16_t G::*f : kEyebrowFields) s.doc.design.geometry.*f = 0;
    huaban_hecheng1(s);
}

Status resetLayer(StudioState& s, LibraryKind library, AccessorySubKind tab) {
    if (library != LibraryKind::Eyebrows && library != LibraryKind::Lips &&
        library != LibraryKind::Accessories)
        return Status::success();
    const Kind k = kindOfLibrary(library, tab);
    resetGeometry(s.doc.design.geometry, k);
    Status st;
    if (k == Kind::zuixing) {
        // The file's shape again, in the current lip colour and strength: the warp is gone.
        st = zuixing_hecheng(s);
        if (st) s.doc.flags.modified(Kind::zuixing) = false;
    }
    if (k == Kind::fuzhuang) s.doc.flags.modified(Kind::fuzhuang) = false;
    huaban_hecheng1(s);
    return st;
}

}  // namespace ms
