#pragma once
#include <QByteArray>

#include "base/Status.h"

class QTextDocument;

// Rich-text captions in RTF: a small reader and writer of our own (no Debian library reads RTF
// into Qt). The rules of the format that matter here are stated once in RichText.cpp.
namespace ms::rtf {

// Reads RTF bytes into `out`: paragraphs with their text, and bold, italic, underline, font size
// and colour. A file that is not RTF, or is cut short or unbalanced past repair, gives a Chinese
// message and leaves `out` as it was.
Status read(const QByteArray& rtf, QTextDocument& out);

// The document as RTF that word processors read: \ansi\ansicpg936, a font and a colour table,
// paragraphs and the formatting above, every non-ASCII character as \uN with a "?" fallback.
QByteArray write(const QTextDocument& doc);

}  // namespace ms::rtf
