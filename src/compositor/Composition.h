#pragma once
#include <functional>

#include "base/Status.h"
#include "compositor/Kind.h"
#include "compositor/StudioState.h"

namespace ms {

// Main-window load: canvas, empty kind surfaces, the built-in portrait in the canvas view and as
// working and reference photo. A missing portrait file leaves a plain grey portrait and reports it.
Status initialiseStudio(StudioState& s, const QString& programFolder);

// Redraw from prepared surfaces over background and working photo; no file reading.
void huaban_hecheng1(StudioState& s);

// Reload every layer from its file over the working photo, keeping layers whose modified flag is
// set. A layer that cannot be prepared is reported and the recomposition goes on with the next.
Status huaban_hecheng2(StudioState& s);

// Rebuild from the background, every layer reloaded, the cut-out photo over necklace and clothing.
Status huaban_hecheng3(StudioState& s);

// Automatic-design step: background, cut-out photo, a random hairstyle.
Status huaban_hecheng(StudioState& s);

// A cut-out picture as stored: an empty one is a black canvas, which as a mask removes everything.
QImage cutoutOrBlack(const QImage& picture);

// Copies the canvas to the canvas view and its copy, and into the magnified view while visible.
void outputStep(StudioState& s);

// Draws the canvas view's picture, stretched 1.6 times, into the magnified view.
void magnifyView(Views& v);

// Chooses a random hairstyle whose name carries a number between 1 and the file count and the
// current hairstyle codes. Gives up after a bounded number of tries and keeps the current one.
Status faxing_name(StudioState& s);
Status faxing_name(StudioState& s, const std::function<double()>& uniform01);

// Every kind back to its "000" default, the background from the canvas view, recomposed.
Status CHUSHI_MOBAN(StudioState& s);

// The first file of the kind's library folder matching prefix + "*", as a full path; "" when there
// is none.
QString defaultComponent(const StudioState& s, Kind kind, const QString& prefix);

}  // namespace ms
