#include "HairstyleRecords.h"

#include <algorithm>

#include "HairVariants.h"

// A stylist's rules of thumb applied to the variant table: length, curl, volume, fringe and
// layering decide which faces and hair the style flatters.
namespace installdata {

namespace {

enum class Length { Short, Medium, Long };

struct Traits {
    Length length;
    bool curly, wavy, layered, full, updo, men;
    Bangs bangs;
    MensCut cut;
};

Traits traitsOf(const HairVariant& v) {
    double tip = std::max(v.tipLeft, v.tipRight);
    bool gathered = false;  // plaited or tied back: worn like an updo, however long
    for (const Attachment& a : v.pieces) {
        gathered = gathered || a.kind == Piece::Braid || a.kind == Piece::Tail;
        if (a.kind == Piece::Braid || a.kind == Piece::Tail) tip = std::max(tip, a.endY);
    }
    Traits t;
    t.updo = v.form == Form::Updo || gathered;
    t.men = v.form == Form::Crop || qstrcmp(v.code, "n") == 0;
    t.length = (t.updo && !gathered) || tip < 320 ? Length::Short : tip < 410 ? Length::Medium : Length::Long;
    t.wavy = v.curl.amp >= 10;
    t.curly = !t.wavy && v.curl.amp >= 5 && v.curl.waves >= 3.5;
    t.layered = v.choppy >= 0.15;
    t.full = v.volume >= 14;
    t.bangs = v.bangs;
    t.cut = v.form == Form::Crop ? v.cut : v.form == Form::Updo ? MensCut::SlickBack : MensCut::Shoulder;
    return t;
}

void faceShapes(const Traits& t, HairstyleRecord& r) {
    const bool fringe = t.bangs == Bangs::Full || t.bangs == Bangs::Curtain || t.bangs == Bangs::Wispy;
    const bool side = t.bangs == Bangs::Side;
    if (t.men) {
        r.round = t.cut == MensCut::Quiff || t.cut == MensCut::SidePart || t.cut == MensCut::Textured ||
                  t.cut == MensCut::Curly;
        r.square = t.cut == MensCut::Crew || t.cut == MensCut::SidePart || t.cut == MensCut::SlickBack ||
                   t.cut == MensCut::Curly;
        r.longFace = t.cut == MensCut::Fringe || t.cut == MensCut::Crew || t.cut == MensCut::Shoulder;
        r.pointed = t.cut == MensCut::Fringe || t.cut == MensCut::Textured || t.cut == MensCut::Shoulder;
        return;
    }
    // Length below the chin and a side sweep slim a round face; curls and waves soften a square
    // jaw; a fringe and width at the sides shorten a long face; volume at the jaw balances a
    // pointed chin.
    r.round = (t.length != Length::Short && t.bangs != Bangs::Full && !t.full) || side ||
              (t.updo && t.bangs != Bangs::None);
    r.square = t.curly || t.wavy || side || t.bangs == Bangs::Curtain || t.layered;
    r.longFace = (fringe || t.full) && !(t.updo && t.bangs == Bangs::None);
    r.pointed = (t.length != Length::Long && !t.updo) || t.curly || t.wavy;
    if (!r.round && !r.square && !r.longFace && !r.pointed) r.pointed = true;
}

void hairTexture(const Traits& t, const HairVariant& v, HairstyleRecord& r) {
    const bool tight = v.curl.waves >= 13;
    if (t.men) {
        r.softHair = t.cut == MensCut::Fringe || t.cut == MensCut::Textured || t.cut == MensCut::SidePart ||
                     t.cut == MensCut::Shoulder;
        r.mediumHair = true;
        r.coarseHair = t.cut == MensCut::Crew || t.cut == MensCut::SlickBack || t.cut == MensCut::Quiff ||
                       t.cut == MensCut::Curly;
        r.thinHair = t.cut == MensCut::Textured || t.cut == MensCut::Quiff || t.cut == MensCut::Crew ||
                     t.cut == MensCut::Curly;
        r.mediumAmount = true;
        r.thickHair = t.cut == MensCut::Crew || t.cut == MensCut::SlickBack || t.cut == MensCut::SidePart ||
                      t.cut == MensCut::Shoulder;
        return;
    }
    // Fine hair holds short cuts, layers and pinned styles; long curls and big waves drop out of it.
    // Coarse hair wants length or curl to carry its weight.
    r.softHair = (!t.curly && !t.wavy && t.length != Length::Long) || t.updo || t.layered;
    r.mediumHair = !tight;
    r.coarseHair = t.length == Length::Long || t.curly || t.wavy || t.updo;
    // Volume styles make thin hair look more; long sleek styles and layers suit a lot of hair.
    r.thinHair = t.curly || t.wavy || t.layered || t.full || t.length == Length::Short;
    r.mediumAmount = true;
    r.thickHair = (t.length == Length::Long && !t.curly) || t.updo || t.layered;
    if (!r.softHair && !r.mediumHair && !r.coarseHair) r.coarseHair = true;
}

}  // namespace

std::vector<HairstyleRecord> hairstyleRecords() {
    std::vector<HairstyleRecord> out;
    const auto variants = hairVariants();
    for (size_t i = 0; i < variants.size(); ++i) {
        const Traits t = traitsOf(variants[i]);
        HairstyleRecord r{};
        r.name = hairstyleFileName(static_cast<int>(i));
        faceShapes(t, r);
        hairTexture(t, variants[i], r);
        out.push_back(r);
    }
    return out;
}

}  // namespace installdata
