#include "library/LibraryPages.h"

#include <vector>

#include "imaging/PixelHelpers.h"
#include "platform/FileLookup.h"

namespace ms {

QStringList LibraryPages::buildListing(const QString& folderAndPattern) {
    const qsizetype cut = folderAndPattern.lastIndexOf(u'/');
    const QString folder = folderAndPattern.left(cut + 1);
    std::vector<QString> numbered{QString()};  // entries are numbered from 1
    for (const QString& name : listMatchingPath(folderAndPattern)) numbered.push_back(folder + name);
    const int n = static_cast<int>(numbered.size()) - 1;
    const std::vector<QString> sorted = sort_by_key(numbered, n, true);
    return QStringList(sorted.begin() + 1, sorted.end());
}

void LibraryPages::setListing(const QStringList& sortedEntries) {
    entries_ = sortedEntries;
    listed_ = true;
    if (count() < perPage_) {
        showLastPage(count());
    } else {
        fullPage_ = true;
        nextEnabled_ = true;
    }
}

void LibraryPages::restart() {
    pageNumber_ = 1;
    offset_ = 0;
    previousEnabled_ = false;
}

void LibraryPages::next() {
    if (!nextEnabled_) return;
    ++pageNumber_;
    previousEnabled_ = true;
    const int old = offset_;
    offset_ = old + perPage_;
    if (old + 2 * perPage_ <= count()) {
        fullPage_ = true;
        nextEnabled_ = true;
    } else {
        showLastPage(count() % perPage_);
    }
}

void LibraryPages::previous() {
    if (!previousEnabled_) return;
    --pageNumber_;
    nextEnabled_ = true;
    const int old = offset_;
    offset_ = old - perPage_;
    if (old == perPage_) previousEnabled_ = false;
    fullPage_ = true;
}

void LibraryPages::showLastPage(int partial) {
    fullPage_ = false;
    partial_ = partial;
    nextEnabled_ = false;
}

QString LibraryPages::entry(int i) const {
    if (i < 0 || i >= shownCount()) return {};
    const int index = offset_ + i;
    return index < count() ? entries_[index] : QString();
}

QString LibraryPages::pageText() const { return QStringLiteral("第%1页").arg(pageNumber_); }

QString LibraryPages::countText() const {
    if (!listed_) return QStringLiteral("共00页");
    return QStringLiteral("共%1页").arg(count() / perPage_ + 1);
}

}  // namespace ms
