#include "persistence/DesignRecord.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <functional>

#include "compositor/Kinds.h"
#include "platform/ProfileFile.h"
#include "platform/SafeFile.h"

namespace ms {

namespace {

using D = DesignState;
using G = LayerGeometry;

// A name key of a design value that is no layer (eyes, beard).
RecordKey name(const char* k, QString D::*m) {
    return {k, ValueForm::Name, m, nullptr, false, true, nullptr};
}
// The name key of a component kind. A slot stores the grids of the kinds that keep one in files of
// its own; the others (the accessories) are in the slot record, by bare file name in their library
// folder.
RecordKey name(const char* k, Kind kind) {
    const KindInfo& info = kindInfo(kind);
    const bool slot = !info.keepsGrid();
    return {k, ValueForm::Name, info.file, nullptr, slot, true, slot ? info.key : nullptr, true, kind};
}
RecordKey geo(const char* k, int16_t G::*f) {
    return {k, ValueForm::Geometry, nullptr, f, true, true, nullptr};
}

std::vector<RecordKey> buildTable() {
    // clang-format off
    return {
        {"woman", ValueForm::Woman, nullptr, nullptr, true, false, nullptr},
        {"chunsb", ValueForm::Colour, nullptr, nullptr, true, false, nullptr},
        {"zuixingnd", ValueForm::Strength, nullptr, nullptr, true, false, nullptr},
        name("faxingname", Kind::faxing),
        geo("faxingWidth", &G::faxingWidth), geo("faxingheight", &G::faxingheight),
        geo("faxingleft", &G::faxingleft), geo("faxingtop", &G::faxingtop),
        name("meimaoxingname", Kind::meimao),
        geo("mmWidthz", &G::mmWidthz), geo("mmheightz", &G::mmheightz), geo("mmleftz", &G::mmleftz),
        geo("mmtopz", &G::mmtopz), geo("mmWidthy", &G::mmWidthy), geo("mmheighty", &G::mmheighty),
        geo("mmlefty", &G::mmlefty), geo("mmtopy", &G::mmtopy),
        name("yjzname", &D::yjzname), name("yjyname", &D::yjyname),
        geo("yjWidthz", &G::yjWidthz), geo("yjWidthy", &G::yjWidthy), geo("yjheightz", &G::yjheightz),
        geo("yjheighty", &G::yjheighty), geo("yjleftz", &G::yjleftz), geo("yjtopz", &G::yjtopz),
        geo("yjlefty", &G::yjlefty), geo("yjtopy", &G::yjtopy),
        name("huziname", &D::huziname),
        geo("huziWidth", &G::huziWidth), geo("huziheight", &G::huziheight), geo("huzileft", &G::huzileft),
        geo("huzitop", &G::huzitop),
        name("zuixingname", Kind::zuixing),
        geo("zuixingWidth", &G::zuixingWidth), geo("zuixingheight", &G::zuixingheight),
        geo("zuixingleft", &G::zuixingleft), geo("zuixingtop", &G::zuixingtop),
        name("yanjingname", Kind::yanjing),
        geo("yanjingWidth", &G::yanjingWidth), geo("yanjingheight", &G::yanjingheight),
        geo("yanjingleft", &G::yanjingleft), geo("yanjingtop", &G::yanjingtop),
        name("maoziname", Kind::maozi),
        geo("maoziWidth", &G::maoziWidth), geo("maoziheight", &G::maoziheight), geo("maozileft", &G::maozileft),
        geo("maozitop", &G::maozitop),
        name("erhuanname", Kind::erhuan),
        geo("erhuanWidth", &G::erhuanWidth), geo("erhuanleft", &G::erhuanleft), geo("erhuantop", &G::erhuantop),
        name("xianglianname", Kind::xianglian),
        geo("xianglianWidth", &G::xianglianWidth), geo("xiangliantop", &G::xiangliantop),
        name("fuzhuangname", Kind::fuzhuang),
        geo("fuzhuangWidth", &G::fuzhuangWidth), geo("fuzhuangtop", &G::fuzhuangtop),
    };
    // clang-format on
}

std::vector<const RecordKey*> select(bool RecordKey::*member) {
    std::vector<const RecordKey*> out;
    for (const RecordKey& k : recordKeys())
        if (k.*member) out.push_back(&k);
    return out;
}

QString encodeValue(const RecordKey& k, const DesignState& d) {
    switch (k.form) {
        case ValueForm::Name:
            return d.*k.name;
        case ValueForm::Geometry:
            return QString::number(d.geometry.*k.field);
        case ValueForm::Woman:
            return d.woman ? QStringLiteral("True") : QStringLiteral("False");
        case ValueForm::Colour:
            return QString::number(d.lipColour);
        case ValueForm::Strength:
            return QString::number(d.zuixingnd);
    }
    return {};
}

QString unreadable(const RecordKey& k, const QString& value) {
    return QStringLiteral("设计记录中的“%1”无法读取（值为“%2”）。").arg(QLatin1String(k.key), value);
}

// What a name read from a record becomes, or why it cannot be used.
struct NameCheck {
    QString value;
    QString problem;
};
using NameRule = std::function<NameCheck(const RecordKey&, const QString&)>;

// Applies the keys of one layout from `entries`; every value is checked before any is set. A name
// with a problem fails the record when `refuseBadNames`, otherwise it is taken as given by the rule
// and the problem is added to `notes`.
Status decode(const RecordEntries& entries, const std::vector<const RecordKey*>& keys, const NameRule& rule,
              bool refuseBadNames, DesignState& d, QStringList& notes) {
    QHash<QString, QString> byKey;
    for (const auto& [key, value] : entries)
        if (!byKey.contains(key.toLower())) byKey.insert(key.toLower(), value);
    DesignState next = d;
    QStringList found;
    for (const RecordKey* k : keys) {
        const auto at = byKey.constFind(QString::fromLatin1(k->key).toLower());
        if (at == byKey.constEnd())
            return Status::damaged(QStringLiteral("设计记录不完整，缺少“%1”。").arg(QLatin1String(k->key)));
        const QString v = ProfileFile::limited(*at, readLimit(k->form));
        bool ok = true;
        switch (k->form) {
            case ValueForm::Name: {
                const NameCheck c = rule(*k, v);
                if (!c.problem.isEmpty()) {
                    if (refuseBadNames) return Status::damaged(c.problem);
                    found << c.problem;
                }
                next.*k->name = c.value;
                break;
            }
            case ValueForm::Geometry:
                ok = parseInt16(v, next.geometry.*k->field);
                break;
            case ValueForm::Woman:
                ok = parseWoman(v, next.woman);
                break;
            case ValueForm::Colour:
                ok = parseInt32(v, next.lipColour);
                break;
            case ValueForm::Strength:
                ok = parseInt16(v, next.zuixingnd);
                break;
        }
        if (!ok) return Status::damaged(unreadable(*k, v));
    }
    d = std::move(next);
    notes << found;
    return Status::success();
}

// Whether `path` stays inside `folder`: an existing path must be a regular file there once links
// are resolved; a missing one must lie there by its own letters (its preparation will report it).
bool staysInside(const QString& path, const QString& folder) {
    if (folder.isEmpty()) return false;
    if (QFileInfo::exists(path)) return isRegularFileInside(path, folder);
    const QString root = QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) + QLatin1Char('/');
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath()).startsWith(root);
}

}  // namespace

int readLimit(ValueForm form) {
    switch (form) {
        case ValueForm::Name:
            return 0;
        case ValueForm::Woman:
            return 100;
        case ValueForm::Colour:
        case ValueForm::Strength:
            return 10;
        case ValueForm::Geometry:
            return 5;
    }
    return 0;
}

const std::vector<RecordKey>& recordKeys() {
    static const std::vector<RecordKey> table = buildTable();
    return table;
}

std::vector<const RecordKey*> slotRecordKeys() { return select(&RecordKey::inSlot); }
std::vector<const RecordKey*> snapshotRecordKeys() { return select(&RecordKey::inSnapshot); }

RecordEntries encodeSnapshot(const DesignState& d) {
    RecordEntries out;
    for (const RecordKey* k : snapshotRecordKeys())
        out.append({QString::fromLatin1(k->key), encodeValue(*k, d)});
    return out;
}

RecordEntries encodeSlot(const DesignState& d) {
    RecordEntries out;
    for (const RecordKey* k : slotRecordKeys()) {
        QString v = encodeValue(*k, d);
        // Accessories are stored by bare file name, "" when the file no longer exists.
        if (k->form == ValueForm::Name) {
            const QFileInfo fi(v);
            v = !v.isEmpty() && fi.isFile() ? fi.fileName() : QString();
        }
        out.append({QString::fromLatin1(k->key), v});
    }
    return out;
}

Status decodeSnapshot(const RecordEntries& entries, const QString& P, DesignState& d) {
    QStringList unused;
    const NameRule rule = [&P](const RecordKey& k, const QString& v) -> NameCheck {
        if (!k.componentFile || v.isEmpty() || staysInside(v, P)) return {v, {}};
        return {{},
                QStringLiteral("撤销记录中的“%1”不是程序文件夹中的文件：%2").arg(QLatin1String(k.key), v)};
    };
    return decode(entries, snapshotRecordKeys(), rule, true, d, unused);
}

Status decodeSlot(const RecordEntries& entries, const QString& P, DesignState& d, QStringList& emptied) {
    const NameRule rule = [&P](const RecordKey& k, const QString& v) -> NameCheck {
        // An empty accessory name means the kind had no component: it stays empty, not the folder.
        if (v.isEmpty()) return {};
        const QString folder = P + QLatin1Char('/') + QLatin1String(k.libraryFolder);
        const QString path = folder + QLatin1Char('/') + v;
        if (isBareFileName(v) && isRegularFileInside(path, folder)) return {path, {}};
        return {
            {},
            QStringLiteral("设计中的%1“%2”不在%1库中，这一层留空。").arg(kindInfo(k.kind).displayName(), v)};
    };
    return decode(entries, slotRecordKeys(), rule, false, d, emptied);
}

bool isBareFileName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

bool parseInt16(const QString& text, int16_t& out) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v < INT16_MIN || v > INT16_MAX) return false;
    out = static_cast<int16_t>(v);
    return true;
}

bool parseInt32(const QString& text, int32_t& out) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok) return false;
    out = v;
    return true;
}

bool parseWoman(const QString& text, bool& out) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return out = true, true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return out = false, true;
    bool ok = false;
    const int v = t.toInt(&ok);
    if (!ok) return false;
    out = v != 0;
    return true;
}

}  // namespace ms
