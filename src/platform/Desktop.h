#pragma once
#include <QString>

namespace ms {

// Opens a document with the desktop's default handler. A missing file opens nothing and gives
// false, without any message: the caller decides whether that matters.
bool openDocument(const QString& path);

}  // namespace ms
