#pragma once
#include <QString>
#include <cstdint>

#include "base/Status.h"
#include "imaging/ComponentCodec.h"
#include "imaging/PixelGrid.h"

namespace ms {

// Reads a component pixel file (see parseComponentBytes). Fails, leaving `out` untouched, when the
// file is missing or a folder, or its contents do not decode.
Status readComponentFile(const QString& path, GridSizing sizing, ComponentImage& out);

// Writes header + grid as one block, replacing the file atomically.
Status writeComponentFile(const QString& path, const PixelGrid& grid, uint8_t imageType = 6);

}  // namespace ms
