// make-install-data P [PART...]: creates the folders, default components, sample portrait and
// component library of a program folder. Output depends only on this source: fixed seeds, no
// clock. Naming parts ("portrait", a library folder such as "faxing") rewrites only those into an
// existing folder, which keeps drawing iterations short; "faxing:n" rewrites only the hairstyles
// whose names start with "n".
#include <QDir>
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>
#include <algorithm>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

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

struct Part {
    const char* name;
    std::function<void(Writer&, const QString& prefix)> write;
};

// The drawn parts in the order they are written; the shell art and the database come after them.
const Part kParts[] = {
    {"portrait", [](Writer& out, const QString&) { installdata::writePortrait(out); }},
    {"faxing", installdata::writeHairstyles},
    {"meimao", [](Writer& out, const QString&) { installdata::writeEyebrows(out); }},
    {"zuixing", [](Writer& out, const QString&) { installdata::writeLips(out); }},
    {"yanjing", [](Writer& out, const QString&) { installdata::writeGlasses(out); }},
    {"maozi", [](Writer& out, const QString&) { installdata::writeHats(out); }},
    {"erhuan", [](Writer& out, const QString&) { installdata::writeEarrings(out); }},
    {"xianglian", [](Writer& out, const QString&) { installdata::writeNecklaces(out); }},
    {"fuzhuang", [](Writer& out, const QString&) { installdata::writeClothing(out); }},
    {"backdrop", [](Writer& out, const QString&) { installdata::writeBackdrop(out); }},
    {"retouch", [](Writer& out, const QString&) { installdata::writeRetouchArt(out); }},
    {"highlights", [](Writer& out, const QString&) { installdata::writeHighlightPatterns(out); }},
};

// The parts named on the command line ("faxing:n" names the part and a prefix of its items).
using Selection = std::vector<std::pair<const Part*, QString>>;

std::optional<Selection> selectParts(const QStringList& args) {
    Selection chosen;
    for (const QString& arg : args) {
        const QString name = arg.section(QLatin1Char(':'), 0, 0);
        const auto* part = std::find_if(std::begin(kParts), std::end(kParts),
                                        [&](const Part& p) { return name == QLatin1String(p.name); });
        if (part == std::end(kParts)) return std::nullopt;
        chosen.emplace_back(part, arg.section(QLatin1Char(':'), 1));
    }
    return chosen;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    QStringList args;
    for (int i = 2; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    const std::optional<Selection> chosen = selectParts(args);
    if (argc < 2 || !chosen) {
        err << "usage: make-install-data PROGRAM_FOLDER [PART[:PREFIX]...]\nparts:";
        for (const Part& part : kParts) err << ' ' << part.name;
        err << '\n';
        return 2;
    }
    Writer out(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
    makeFolders(out);
    if (out.failures().isEmpty()) {
        const bool all = chosen->empty();
        if (all) {
            writeDefaults(out);
            for (const Part& part : kParts) part.write(out, {});
            writeShellArt(out.root());
        }
        for (const auto& [part, prefix] : *chosen) part->write(out, prefix);
        const bool records = all || std::any_of(chosen->begin(), chosen->end(), [](const auto& c) {
                                 return QLatin1String(c.first->name) == QLatin1String("faxing");
                             });
        if (const QString problem = records ? installdata::writeHairstyleDatabase(out.root()) : QString();
            !problem.isEmpty()) {
            err << problem << '\n';
            return 1;
        }
        if (all && out.failures().isEmpty()) out.replaceManifest();
    }
    for (const QString& f : out.failures()) err << f << '\n';
    if (!out.failures().isEmpty()) return 1;
    QTextStream(stdout) << out.written() << " files written to " << out.root() << '\n';
    return 0;
}
