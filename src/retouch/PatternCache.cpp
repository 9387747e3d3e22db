#include "retouch/PatternCache.h"

#include <QFileInfo>

#include "platform/ComponentFile.h"
#include "platform/PictureFile.h"

namespace ms {

namespace {

// The largest pattern a stamp accepts: larger ones would be no brush at all.
constexpr int kMaxPatternSide = 512;

Status readMask(const QString& path, PatternCache::Source source, AlphaMask& out) {
    if (source == PatternCache::Source::PictureRed) {
        QImage picture;
        if (Status st = loadPicture(path, PicturePurpose::Artwork, picture); !st) return st;
        out = AlphaMask::fromRed(picture);
    } else {
        ComponentImage c;
        if (Status st = readComponentFile(path, GridSizing::fromHeader(), c); !st) return st;
        out = AlphaMask::fromGridAlpha(c.grid);
    }
    if (out.width > kMaxPatternSide || out.height > kMaxPatternSide) {
        out = {};
        return Status::damaged(QStringLiteral("画笔文件的尺寸太大。"));
    }
    return Status::success();
}

}  // namespace

const AlphaMask& PatternCache::mask(const QString& path, Source source, Status& reported) {
    const QFileInfo info(path);
    Entry& e = entries_[path];
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    const qint64 size = info.exists() ? info.size() : -1;
    if (e.size == size && e.modified == modified && (size >= 0 || !e.mask.isEmpty())) return e.mask;
    e = Entry{modified, size, {}};
    const Status st =
        size < 0 ? Status::notFound(QStringLiteral("文件不存在。")) : readMask(path, source, e.mask);
    if (st) {
        told_.remove(path);
    } else if (!told_.contains(path)) {
        told_.insert(path);
        reported = Status::failure(st.code, QStringLiteral("画笔文件 %1 无法读取，这一笔没有画上：%2")
                                                .arg(QFileInfo(path).fileName(), st.message));
    }
    return e.mask;
}

}  // namespace ms
