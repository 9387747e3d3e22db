#pragma once
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

#include "base/Status.h"

namespace ms {

// Replaces the file at `path` as one unit: the new content goes to a temporary file in the same
// folder, is flushed and checked (a full disk shows at the flush, not always at the write, and a
// buffered write that failed must not be committed), and only then renamed over the old file. On
// any failure the old file stays byte-identical, the temporary file is removed and the error is
// returned (WriteFailed).
Status replaceFile(const QString& path, const QByteArray& content);
// The same for a writer that streams into the device; it returns false when it could not write.
Status replaceFile(const QString& path, const std::function<bool(QIODevice&)>& write);

// Several files that belong together (path, content): every one is written out in full and checked
// before any replaces the file that was there, so a failure while writing leaves all the old ones
// whole. The replacements are renames in the files' own folders, in the order given.
Status replaceFiles(const std::vector<std::pair<QString, QByteArray>>& files);

// Reads a whole file that the studio did not write itself (a record, a component, a picture):
// only a regular file is opened (never a folder, a pipe or a device, and the open never waits),
// a file over maxBytes is refused before it is read, and a file that ends early while being read
// is reported. NotFound when there is no file; Damaged otherwise.
Status readRegularFile(const QString& path, qint64 maxBytes, QByteArray& out);

// Whether `path` is a regular file (links followed); pipes, devices and folders are not.
bool isRegularFile(const QString& path);

// Whether `path` is a regular file inside `folder` once links are resolved: a name that leads out
// of the folder (by "..", an absolute path or a link) is not.
bool isRegularFileInside(const QString& path, const QString& folder);

}  // namespace ms
