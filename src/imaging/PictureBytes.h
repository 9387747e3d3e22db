#pragma once
#include <QByteArray>

namespace ms {

// Whether the bytes of a BMP, JPEG or PNG picture reach the end their own structure promises: the
// pixel rows a BMP header announces, the end marker of a JPEG after its last scan, the end chunk
// of a PNG. Decoders fill what is missing with black and say nothing, so a picture cut short must
// be caught here. Other formats, and BMPs compressed with run lengths, count as complete.
bool pictureIsComplete(const QByteArray& bytes);

}  // namespace ms
