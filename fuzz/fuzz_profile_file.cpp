// Feeds arbitrary bytes to ProfileFile as the content of a record file, in memory, then reads and
// writes keys and checks that the results are consistent: reads agree with each other, a refused
// write leaves the content byte-identical, an accepted write reads back unchanged and leaves every
// other key as it was. The file functions do exactly these operations between reading and writing
// the file, so the parser is fuzzed without touching the disk.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "platform/ProfileFile.h"

namespace {

using ms::ProfileFile;

void require(bool condition) {
    if (!condition) std::abort();
}

char16_t foldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c; }

bool sameName(const QString& a, const QString& b) {
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (foldAscii(a[i].unicode()) != foldAscii(b[i].unicode())) return false;
    }
    return true;
}

struct Name {
    QString section;
    QString key;
};

// Every read path must agree on the value of (section, key). limit is the cut checked against the file.
QString checkedRead(const QByteArray& content, const Name& name, int limit) {
    const QString full = ProfileFile::valueIn(content, name.section, name.key, 0);
    require(ProfileFile::valueIn(content, name.section, name.key, limit) ==
            ProfileFile::limited(full, limit));
    for (int n = 1; n <= 8; ++n) {
        const QString cut = ProfileFile::limited(full, n);
        require(full.startsWith(cut));
        require(cut.toUtf8().size() <= n - 1);
        require(cut.size() == full.size() || ProfileFile::limited(full, n + 4).size() > cut.size());
    }
    const std::optional<ProfileFile::Entries> entries = ProfileFile::sectionIn(content, name.section);
    QString fromSection;
    if (entries) {
        for (const ProfileFile::Entry& entry : *entries) {
            if (sameName(entry.first, name.key)) {
                fromSection = entry.second;
                break;
            }
        }
    }
    require(fromSection == full);
    return full;
}

// Reads of every name, in the order of names.
QList<QString> checkedReads(const QByteArray& content, const QList<Name>& names, int limit) {
    QList<QString> values;
    for (const Name& name : names) values.append(checkedRead(content, name, limit));
    return values;
}

// Writes entries into section and checks the outcome against the reads of every name; values holds
// what those reads gave before and is updated.
void checkedWrite(QByteArray& content, const QString& section, const ProfileFile::Entries& entries,
                  const QList<Name>& names, int limit, QList<QString>& values) {
    QByteArray after = content;
    const ms::Status status = ProfileFile::withSection(content, section, entries, after);
    if (!status) {
        require(!status.message.isEmpty());
        require(after == content);
        return;
    }
    content = after;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (!sameName(names[i].section, section)) continue;
        for (const ProfileFile::Entry& entry : entries) {
            if (sameName(entry.first, names[i].key)) values[i] = entry.second;  // the last write wins
        }
    }
    require(checkedReads(content, names, limit) == values);
}

// The part of the last line before its first '=' and the part after it, as a name and a value the
// fuzzer can steer.
void nameAndValueFromInput(const QByteArray& input, QString* name, QString* value) {
    const qsizetype lineStart = input.lastIndexOf('\n') + 1;
    const QByteArray last = input.mid(lineStart);
    const qsizetype eq = last.indexOf('=');
    // Keep a leading U+FEFF (QString::fromUtf8 would drop it) so the names and values can start with one.
    const auto decode = [](const QByteArray& bytes) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return QString(decoder(bytes));
    };
    *name = decode(eq < 0 ? last : last.left(eq));
    *value = decode(eq < 0 ? QByteArray() : last.mid(eq + 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));

    QString steeredName;
    QString steeredValue;
    nameAndValueFromInput(content, &steeredName, &steeredValue);

    const QList<Name> names = {
        {QStringLiteral("kelm1"), QStringLiteral("faxingname")},
        {QStringLiteral("KELM1"), QStringLiteral("x")},
        {QStringLiteral("a"), QStringLiteral("x")},
        {QStringLiteral("a"), steeredName},
        {steeredName, QStringLiteral("x")},
    };
    const int limit = 1 + int(size % 8);
    QList<QString> values = checkedReads(content, names, limit);

    checkedWrite(content, QStringLiteral("a"), {{QStringLiteral("x"), steeredValue}}, names, limit, values);
    checkedWrite(content, QStringLiteral("A"), {{steeredName, steeredValue}}, names, limit, values);
    checkedWrite(content, steeredName,
                 {{QStringLiteral("X"), QStringLiteral("1=[2];3")},
                  {QStringLiteral("faxingname"), steeredValue},
                  {QStringLiteral("x"), QStringLiteral("second")}},
                 names, limit, values);
    checkedWrite(content, QStringLiteral("kelm1"), {{QStringLiteral("faxingname"), QStringLiteral("短发")}},
                 names, limit, values);
    return 0;
}
