#pragma once
#include <QImage>
#include <QString>

#include "base/Status.h"

namespace ms {

// Loads a bitmap or JPEG picture. A missing or broken file leaves `out` as it was.
Status loadPicture(const QString& path, QImage& out);

// Saves a picture as a 24-bit bitmap, replacing the file atomically.
Status savePictureBmp(const QString& path, const QImage& picture);

}  // namespace ms
