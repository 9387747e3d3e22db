#pragma once
#include <QString>

// The installation files of the hair colour window: the twelve highlight patterns, each a colour
// file and a mask file (component pixel files below the program folder), stamped centred on the
// pointer: the offset k is half the pattern's side.
namespace ms::hairfiles {

constexpr int kHighlightPatternCount = 12;
inline QString highlightPattern(int i) { return QStringLiteral("baheng/%1.tta").arg(i); }
inline QString highlightMask(int i) { return QStringLiteral("baheng/%1p.tta").arg(i); }
inline int highlightOffset(int i) { return i < 10 ? 40 : 25; }
inline int highlightSide(int i) { return 2 * highlightOffset(i); }

}  // namespace ms::hairfiles
