#include "platform/Desktop.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace ms {

bool openDocument(const QString& path) {
    if (!QFileInfo(path).isFile()) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace ms
