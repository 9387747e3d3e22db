// Reads arbitrary bytes as RTF: the reader must never crash, hang or read out of bounds.
#include <QTextDocument>
#include <cstddef>
#include <cstdint>

#include "print/RichText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QTextDocument doc;
    (void)ms::rtf::read(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), doc);
    return 0;
}
