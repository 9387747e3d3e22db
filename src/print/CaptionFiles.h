#pragma once
#include <QString>

#include "base/Status.h"

class QTextDocument;

namespace ms {

// The two captions of a print page kept as RTF files F and F + "2".

// Reads F into caption 1 and F + "2" into caption 2 (a missing F + "2" gives an empty caption 2).
// A file that cannot be read or is not RTF changes neither caption and says why.
Status loadCaptionFiles(const QString& path, QTextDocument& caption1, QTextDocument& caption2);

// Writes both files, or neither: both are written out in full before either replaces the file that
// was there, so a failure leaves the previous files whole.
Status saveCaptionFiles(const QString& path, const QTextDocument& caption1, const QTextDocument& caption2);

}  // namespace ms
