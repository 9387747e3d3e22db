#include "persistence/DesignRecord.h"

#include <QFileInfo>
#include <QHash>
#include <functional>

#include "compositor/Kinds.h"
#include "platform/ProfileFile.h"

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
    return {k, ValueForm::Name, info.file, nullptr, slot, true, slot ? info.key : nullptr};
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

// Applies the keys of one layout from `entries`; every value is checked before any is set.
Status decode(const RecordEntries& entries, const std::vector<const RecordKey*>& keys,
              const std::function<QString(const RecordKey&, const QString&)>& nameValue, DesignState& d) {
    QHash<QString, QString> byKey;
    for (const auto& [key, value] : entries)
        if (!byKey.contains(key.toLower())) byKey.insert(key.toLower(), value);
    DesignState next = d;
    for (const RecordKey* k : keys) {
        const auto found = byKey.constFind(QString::fromLatin1(k->key).toLower());
        if (found == byKey.constEnd())
            return Status::damaged(QStringLiteral("设计记录不完整，缺少“%1”。").arg(QLatin1String(k->key)));
        const QString v = ProfileFile::limited(*found, readLimit(k->form));
        bool ok = true;
        switch (k->form) {
            case ValueForm::Name:
                next.*k->name = nameValue(*k, v);
                break;
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
    return Status::success();
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

Status decodeSnapshot(const RecordEntries& entries, DesignState& d) {
    return decode(
        entries, snapshotRecordKeys(), [](const RecordKey&, const QString& v) { return v; }, d);
}

Status decodeSlot(const RecordEntries& entries, const QString& P, DesignState& d) {
    // An empty accessory name means the kind had no component: it stays empty, not the bare folder.
    return decode(
        entries, slotRecordKeys(),
        [&P](const RecordKey& k, const QString& v) {
            return v.isEmpty() ? QString()
                               : P + QLatin1Char('/') + QLatin1String(k.libraryFolder) + QLatin1Char('/') + v;
        },
        d);
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
