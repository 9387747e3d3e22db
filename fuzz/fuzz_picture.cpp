// Arbitrary bytes as a picture file, for every purpose: the decoder may refuse them, but it must not
// crash, allocate past the purpose's cap (the run's memory limit catches that) or return a picture
// larger than the purpose allows; whatever it takes must have been a complete picture.
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <cstdlib>

#include "imaging/PictureBytes.h"
#include "platform/PictureFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_picture";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (ms::PicturePurpose purpose : {ms::PicturePurpose::Canvas, ms::PicturePurpose::SlotPreview,
                                       ms::PicturePurpose::Card, ms::PicturePurpose::Artwork}) {
        QImage out;
        if (!ms::decodePicture(bytes, purpose, QStringLiteral("fuzz"), out)) continue;
        const ms::PictureLimit& limit = ms::pictureLimit(purpose);
        if (out.isNull() || out.width() > limit.maxWidth || out.height() > limit.maxHeight ||
            (!limit.readSize.isEmpty() && out.size() != limit.readSize) || !ms::pictureIsComplete(bytes))
            std::abort();
    }
    return 0;
}
