#include "platform/FileLookup.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace ms {

bool wildcardMatch(const QString& pattern, const QString& name) {
    // Greedy match with one backtrack point per '*', linear in practice.
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    auto same = [](QChar a, QChar b) { return a.toCaseFolded() == b.toCaseFolded(); };
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || (pattern[p] != u'*' && same(pattern[p], name[n])))) {
            ++p, ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++, starN = n;
        } else if (starP >= 0) {
            p = starP + 1, n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

QStringList listMatching(const QString& folder, const QString& pattern) {
    QStringList out;
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists()) return out;
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo& fi : entries) {
        if (fi.isHidden() || !fi.isFile()) continue;
        if (wildcardMatch(pattern, fi.fileName())) out << fi.fileName();
    }
    std::sort(out.begin(), out.end(), [](const QString& a, const QString& b) { return a < b; });
    return out;
}

QStringList listMatchingPath(const QString& folderAndPattern) {
    const qsizetype cut = folderAndPattern.lastIndexOf(u'/');
    if (cut < 0) return listMatching(QStringLiteral("."), folderAndPattern);
    return listMatching(folderAndPattern.left(cut + 1), folderAndPattern.mid(cut + 1));
}

std::optional<QString> firstMatching(const QString& folderAndPattern) {
    const QStringList all = listMatchingPath(folderAndPattern);
    if (all.isEmpty()) return std::nullopt;
    return all.front();
}

int countFiles(const QString& folder) {
    return static_cast<int>(listMatching(folder, QStringLiteral("*")).size());
}

}  // namespace ms
