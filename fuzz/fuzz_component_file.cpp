// Arbitrary bytes as a component pixel file, through every reader sizing.
#include <QByteArray>

#include "imaging/ComponentCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (ms::GridSizing sizing :
         {ms::GridSizing::fromHeader(), ms::GridSizing::fixed(180, 40), ms::GridSizing::fixed(100, 50)}) {
        ms::ComponentImage img;
        if (ms::parseComponentBytes(bytes, sizing, img)) {
            // What parsed must survive an encode/parse round trip unchanged.
            ms::ComponentImage again;
            const QByteArray out = ms::encodeComponent(img.grid);
            if (!ms::parseComponentBytes(out, ms::GridSizing::fromHeader(), again) ||
                !(again.grid == img.grid))
                __builtin_trap();
        }
    }
    return 0;
}
