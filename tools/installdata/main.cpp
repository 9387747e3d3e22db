// make-install-data P: creates the folders, default components, sample portrait and component
// library of a program folder. Output depends only on this source: fixed seeds, no clock.
#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

#include "HairstyleDatabaseSeed.h"
#include "InstallData.h"
#include "ShellArt.h"
#include "compositor/Kinds.h"

namespace {

using installdata::Writer;

constexpr const char* kOtherFolders[] = {"faxing1", "penqiang", "baheng", "ziyuan", "kelm", "temp"};

void makeFolders(Writer& out) {
    for (ms::Kind k : ms::componentKinds()) out.makeFolder(ms::kindInfo(k).folder());
    for (const char* f : kOtherFolders) out.makeFolder(QString::fromLatin1(f));
}

// Every library starts with a transparent "000.tta" of its kind's size: the "no component" item.
void writeDefaults(Writer& out) {
    for (ms::Kind k : ms::componentKinds()) {
        const ms::KindInfo& info = ms::kindInfo(k);
        out.emptyComponent(info.size.width(), info.size.height(), info.folder() + QStringLiteral("/000.tta"),
                           info.imageType);
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: make-install-data PROGRAM_FOLDER\n";
        return 2;
    }
    Writer out(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
    makeFolders(out);
    if (out.failures().isEmpty()) {
        writeDefaults(out);
        installdata::writePortrait(out);
        installdata::writeHairstyles(out);
        installdata::writeEyebrows(out);
        installdata::writeLips(out);
        installdata::writeGlasses(out);
        installdata::writeHats(out);
        installdata::writeEarrings(out);
        installdata::writeNecklaces(out);
        installdata::writeClothing(out);
        installdata::writeBackdrop(out);
        installdata::writeRetouchArt(out);
        installdata::writeHighlightPatterns(out);
        writeShellArt(out.root());
        if (const QString problem = installdata::writeHairstyleDatabase(out.root()); !problem.isEmpty()) {
            err << problem << '\n';
            return 1;
        }
    }
    for (const QString& f : out.failures()) err << f << '\n';
    if (!out.failures().isEmpty()) return 1;
    QTextStream(stdout) << out.written() << " files written to " << out.root() << '\n';
    return 0;
}
