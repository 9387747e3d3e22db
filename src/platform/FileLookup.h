#pragma once
#include <QString>
#include <QStringList>
#include <optional>

namespace ms {

// Wildcard match of a file name: '*' any run of characters (also none), '?' one character.
// Letter case is ignored.
bool wildcardMatch(const QString& pattern, const QString& name);

// Plain files (no folders, no hidden files) of `folder` whose names match `pattern`, ascending by
// character codes. A missing folder lists nothing.
QStringList listMatching(const QString& folder, const QString& pattern);

// The same for "folder/pattern" in one text, as library patterns are kept.
QStringList listMatchingPath(const QString& folderAndPattern);

// The first file name (no folder) that listMatchingPath gives, if any.
std::optional<QString> firstMatching(const QString& folderAndPattern);

// Number of plain files in the folder.
int countFiles(const QString& folder);

}  // namespace ms
