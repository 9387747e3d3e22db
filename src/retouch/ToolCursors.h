#pragma once
#include <QCursor>
#include <QHash>
#include <QString>

#include "base/Status.h"
#include "compositor/ToolFiles.h"

namespace ms {

// The canvas tools' cursors from their icon files below the program folder, read once. An icon
// that cannot be read gives a standard cursor; the first time, `reported` says so.
class ToolCursors {
  public:
    explicit ToolCursors(QString programFolder) : P_(std::move(programFolder)) {}
    QCursor cursor(toolfiles::CursorId id, Status& reported);

  private:
    QString P_;
    QHash<int, QCursor> loaded_;
};

}  // namespace ms
