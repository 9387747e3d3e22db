// make-install-data P: creates the folders, default components, sample portrait and component
// library of a program folder. Output depends only on this source: fixed seeds, no clock.
#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

#include "HairstyleDatabaseSeed.h"
#include "InstallData.h"
#include "ShellArt.h"

namespace {

using installdata::Writer;

struct Kind {
    const char* folder;
    int w, h;
    uint8_t imageType;
};

// Component folders with the size of their pictures; lips are stored without the alpha flag type.
constexpr Kind kKinds[] = {{"faxing", 380, 480, 6},    {"meimao", 180, 40, 6},   {"zuixing", 100, 50, 2},
                           {"maozi", 380, 250, 6},     {"yanjing", 180, 70, 6},  {"erhuan", 80, 65, 6},
                           {"xianglian", 200, 140, 6}, {"fuzhuang", 400, 190, 6}};
constexpr const char* kOtherFolders[] = {"faxing1", "penqiang", "baheng", "ziyuan", "kelm", "temp"};

void makeFolders(Writer& out) {
    for (const Kind& k : kKinds) out.makeFolder(QString::fromLatin1(k.folder));
    for (const char* f : kOtherFolders) out.makeFolder(QString::fromLatin1(f));
}

void writeDefaults(Writer& out) {
    for (const Kind& k : kKinds)
        out.emptyComponent(k.w, k.h, QString::fromLatin1(k.folder) + QStringLiteral("/000.tta"), k.imageType);
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
