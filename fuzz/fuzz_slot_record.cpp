// Arbitrary bytes as the design state file of a slot, restored into a program folder that holds
// the traps a hostile record could point at: a folder, a pipe, links out of the library, files
// outside it. Whatever the record says, every accessory the design ends up with is empty or a
// regular file inside its own library folder, and an undo snapshot read from the same bytes names
// nothing outside the program folder.
#include <sys/stat.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "compositor/Kinds.h"
#include "persistence/DesignRecord.h"
#include "platform/ComponentFile.h"
#include "platform/ProfileFile.h"
#include "platform/SafeFile.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

// The program folder with its traps, made once.
const QString& programFolder() {
    static QTemporaryDir dir;
    static const bool made = [] {
        QDir root(dir.path());
        for (ms::Kind k : ms::componentKinds()) root.mkpath(ms::kindInfo(k).folder());
        root.mkpath(QStringLiteral("outside"));
        root.mkpath(QStringLiteral("maozi/sub"));
        (void)ms::writeComponentFile(dir.filePath(QStringLiteral("maozi/a.tta")), ms::PixelGrid(2, 2));
        (void)ms::writeComponentFile(dir.filePath(QStringLiteral("outside/evil.tta")), ms::PixelGrid(2, 2));
        QFile::link(dir.filePath(QStringLiteral("outside/evil.tta")),
                    dir.filePath(QStringLiteral("maozi/link.tta")));
        mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("yanjing/pipe.tta"))).constData(), 0600);
        return true;
    }();
    (void)made;
    static const QString path = dir.path();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString& P = programFolder();
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<ms::ProfileFile::Entries> entries =
        ms::ProfileFile::sectionIn(content, QStringLiteral("kelm1"));
    if (!entries) return 0;
    ms::DesignState slot;
    QStringList emptied;
    if (ms::decodeSlot(*entries, P, slot, emptied)) {
        for (ms::Kind k : ms::componentKinds()) {
            const ms::KindInfo& info = ms::kindInfo(k);
            if (info.keepsGrid()) continue;
            const QString& name = slot.*info.file;
            require(name.isEmpty() || ms::isRegularFileInside(name, P + QLatin1Char('/') + info.folder()));
        }
    }
    ms::DesignState snapshot;
    if (ms::decodeSnapshot(*entries, P, snapshot)) {
        for (ms::Kind k : ms::componentKinds()) {
            const QString& name = snapshot.*ms::kindInfo(k).file;
            require(name.isEmpty() || !QFileInfo::exists(name) || ms::isRegularFileInside(name, P));
        }
    }
    return 0;
}
