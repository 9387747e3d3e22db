#include "adjust/FeatureColour.h"

#include <algorithm>

#include "compositor/Composition.h"
#include "compositor/Preparation.h"
#include "imaging/PixelGrid.h"

namespace ms {

void meimao_yanse(StudioState& s) {
    rebuildKindSurface(s, Kind::meimao);
    huaban_hecheng1(s);
}

void zuixing_yanse(StudioState& s) {
    rebuildKindSurface(s, Kind::zuixing);
    huaban_hecheng1(s);
}

void releaseColourSlider(StudioState& s, LibraryKind library, int v) {
    v = std::clamp(v, -20, 0);
    if (library == LibraryKind::Eyebrows) {
        s.session.eyebrowStrength = 8 * v;
        meimao_yanse(s);
    } else if (library == LibraryKind::Lips) {
        s.doc.design.zuixingnd = static_cast<int16_t>(5 * v);
        zuixing_yanse(s);
    }
}

LipColourFollow lipColourPicked(StudioState& s, Status& problem) {
    if (!s.session.lipDesignMode) return LipColourFollow::Nothing;
    if (!s.doc.flags.modified(Kind::zuixing)) {
        problem = huaban_hecheng2(s);
        return LipColourFollow::Reloaded;
    }
    // The warped shape stays: only the colour of every pixel changes.
    for (PixelGrid* g : {&s.doc.grids.lips, &s.doc.grids.lipsBackup})
        tintWithLipColour(*g, s.doc.design.lipColour);
    zuixing_yanse(s);
    return LipColourFollow::Retinted;
}

}  // namespace ms
