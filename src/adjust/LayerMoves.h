#pragma once
#include <array>
#include <optional>

#include "base/Status.h"
#include "compositor/Kind.h"
#include "compositor/LayerGeometry.h"
#include "compositor/StudioState.h"

namespace ms {

// The four move and stretch sliders of the component library window.
enum class MoveSlider {
    Slider3,  // "水平伸缩：" stretch across
    Slider4,  // "垂直移动：" move up and down
    Slider5,  // "水平移动：" move across
    Slider6,  // "垂直伸缩：" stretch up and down
};
constexpr int kMoveSliderCount = 4;

// What the sliders move: the layer of the open library, for eyebrows also the side selection;
// the hairstyle is moved by the hair tools window's sliders.
enum class MoveTarget {
    EyebrowsBoth,
    EyebrowLeft,
    EyebrowRight,
    Lips,
    Hat,
    Glasses,
    Earrings,
    Necklace,
    Clothing,
    Hairstyle
};

// A geometry field and the multiple of the slider value it takes.
struct FieldMultiple {
    int16_t LayerGeometry::*field = nullptr;
    int multiple = 0;
};
using SliderFields = std::array<FieldMultiple, 2>;  // unused entries have no field

// The target of a library window: its library kind and, for accessories, its tab; the eyebrows
// follow the program-wide side selection. None for the hairstyle library, which has its own sliders.
std::optional<MoveTarget> moveTargetOf(LibraryKind library, AccessorySubKind tab, EyebrowSides sides);

// The fields a slider writes for a target, with their multiples.
const SliderFields& sliderFields(MoveTarget target, MoveSlider slider);
// A slider with no field for its target is hidden.
inline bool sliderUsed(MoveTarget target, MoveSlider slider) { return sliderFields(target, slider)[0].field; }

// A drag of a slider to value v (-10 .. 10): its fields take their multiples of v and the canvas is
// redrawn from the prepared layers. Nothing happens for a slider without fields.
void dragMoveSlider(StudioState& s, MoveTarget target, MoveSlider slider, int v);

// The side options: "双眉" also puts all eight eyebrow fields back to 0 and redraws; "左眉" and "右眉"
// only choose the side.
void chooseEyebrowSides(StudioState& s, EyebrowSides sides);

// The reset button of the library: the kind's move and stretch fields back to 0 and the canvas
// redrawn. The lips are prepared again from their file, which drops a lip warp; the clothing loses
// its warped flag, so that the next full recomposition reads its file again.
Status resetLayer(StudioState& s, LibraryKind library, AccessorySubKind tab);

}  // namespace ms
