#pragma once
#include <QImage>

#include "compositor/ToolFiles.h"

namespace installdata {

// The cursor of a canvas tool, kCursorSide square: a light shape traced with a dark line, so it
// shows on light and on dark skin, with the tool's point at the cursor's hot spot.
QImage toolCursor(ms::toolfiles::CursorId id);

}  // namespace installdata
