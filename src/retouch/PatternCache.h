#pragma once
#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>

#include "base/Status.h"
#include "imaging/Stamps.h"

namespace ms {

// Brush patterns, scissor shapes and the soft disc mask, kept between stamps and read again when
// the file on disk changes (its modification time or size). A file that cannot be read gives an
// empty mask; its problem is reported the first time only, until the file reads again.
class PatternCache {
  public:
    enum class Source {
        ComponentAlpha,  // a component pixel file: its alpha
        PictureRed,      // a picture: its red
    };
    // `reported` receives the problem the first time it occurs, else stays as it was.
    const AlphaMask& mask(const QString& path, Source source, Status& reported);

  private:
    struct Entry {
        QDateTime modified;
        qint64 size = -1;
        AlphaMask mask;
    };
    QHash<QString, Entry> entries_;
    QSet<QString> told_;
};

}  // namespace ms
