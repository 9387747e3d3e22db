#include "ProfileFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

#include "platform/SafeFile.h"

namespace ms {
namespace {

constexpr QByteArrayView kBom("\xEF\xBB\xBF");

// The file as a list of lines without their line endings.
struct Document {
    bool bom = false;
    QList<QByteArray> lines;
};

enum class LineKind { Other, Section, Key };

// What a line means. The views point into the line they were taken from.
struct Line {
    LineKind kind = LineKind::Other;
    QByteArrayView name;   // section or key name, trimmed
    QByteArrayView value;  // key lines only, trimmed
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

QByteArrayView trimBlanks(QByteArrayView v) {
    qsizetype begin = 0;
    qsizetype end = v.size();
    while (begin < end && isBlank(v[begin])) ++begin;
    while (end > begin && isBlank(v[end - 1])) --end;
    return v.sliced(begin, end - begin);
}

char foldAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// UTF-8 to text. Unlike QString::fromUtf8 this keeps a leading U+FEFF, which is part of a name or value
// here (the file's own byte-order mark is removed before parsing); dropping it would make such a value
// read back differently from how it was written.
QString decodeUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder(bytes);
}

bool isAscii(QByteArrayView v) {
    for (char c : v) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// A stored name as callers see it. Bytes that are not valid UTF-8 decode to U+FFFD, so the name is
// compared in re-encoded form; otherwise readSection (decoded names) and readString (encoded lookup)
// could disagree about which key a line holds.
QByteArray canonicalName(QByteArrayView stored) {
    return isAscii(stored) ? stored.toByteArray() : decodeUtf8(stored).toUtf8();
}

bool equalFolded(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (foldAscii(a[i]) != foldAscii(b[i])) return false;
    }
    return true;
}

// wanted is the UTF-8 form of a QString, so it is already canonical.
bool sameName(QByteArrayView stored, QByteArrayView wanted) {
    return isAscii(stored) ? equalFolded(stored, wanted) : equalFolded(canonicalName(stored), wanted);
}

QByteArray foldedName(QByteArrayView stored) {
    QByteArray out = canonicalName(stored);
    for (char& c : out) c = foldAscii(c);
    return out;
}

// Content that counts: everything before the first NUL, trimmed.
QByteArrayView significant(const QByteArray& raw) {
    QByteArrayView v(raw);
    const qsizetype nul = v.indexOf('\0');
    if (nul >= 0) v = v.first(nul);
    return trimBlanks(v);
}

Line classify(const QByteArray& raw) {
    const QByteArrayView v = significant(raw);
    Line line;
    if (v.startsWith('[')) {
        const qsizetype close = v.indexOf(']');
        if (close > 0) {
            line.kind = LineKind::Section;
            line.name = trimBlanks(v.sliced(1, close - 1));
        }
        return line;
    }
    if (v.startsWith(';')) return line;
    const qsizetype eq = v.indexOf('=');
    if (eq <= 0) return line;
    line.name = trimBlanks(v.first(eq));
    if (line.name.isEmpty()) return line;
    line.kind = LineKind::Key;
    line.value = trimBlanks(v.sliced(eq + 1));
    return line;
}

Document parse(QByteArrayView data) {
    Document doc;
    if (data.startsWith(kBom)) {
        doc.bom = true;
        data = data.sliced(kBom.size());
    }
    qsizetype pos = 0;
    while (pos < data.size()) {
        const qsizetype lf = data.indexOf('\n', pos);
        const qsizetype end = lf < 0 ? data.size() : lf;
        qsizetype contentEnd = end;
        while (contentEnd > pos && data[contentEnd - 1] == '\r') --contentEnd;
        doc.lines.append(data.sliced(pos, contentEnd - pos).toByteArray());
        pos = end + 1;
    }
    return doc;
}

QByteArray serialise(const Document& doc) {
    qsizetype total = doc.bom ? kBom.size() : 0;
    for (const QByteArray& line : doc.lines) total += line.size() + 2;
    QByteArray out;
    out.reserve(total);
    if (doc.bom) out.append(kBom);
    for (const QByteArray& line : doc.lines) {
        out.append(line);
        out.append("\r\n");
    }
    return out;
}

// Index of the first header naming section, or -1.
qsizetype findSection(const Document& doc, QByteArrayView section) {
    for (qsizetype i = 0; i < doc.lines.size(); ++i) {
        const Line line = classify(doc.lines[i]);
        if (line.kind == LineKind::Section && sameName(line.name, section)) return i;
    }
    return -1;
}

std::optional<QByteArray> findValue(const Document& doc, QByteArrayView section, QByteArrayView key) {
    const qsizetype header = findSection(doc, section);
    if (header < 0) return std::nullopt;
    for (qsizetype i = header + 1; i < doc.lines.size(); ++i) {
        const Line line = classify(doc.lines[i]);
        if (line.kind == LineKind::Section) break;
        if (line.kind == LineKind::Key && sameName(line.name, key)) return line.value.toByteArray();
    }
    return std::nullopt;
}

QByteArray keyLine(QByteArrayView key, QByteArrayView value) {
    QByteArray out;
    out.reserve(key.size() + 1 + value.size());
    out.append(key).append('=').append(value);
    return out;
}

QByteArray headerLine(QByteArrayView section) {
    QByteArray out;
    out.reserve(section.size() + 2);
    out.append('[').append(section).append(']');
    return out;
}

void setValue(Document& doc, QByteArrayView section, QByteArrayView key, QByteArrayView value) {
    const qsizetype header = findSection(doc, section);
    if (header < 0) {
        if (!doc.lines.isEmpty() && !trimBlanks(doc.lines.last()).isEmpty()) doc.lines.append(QByteArray());
        doc.lines.append(headerLine(section));
        doc.lines.append(keyLine(key, value));
        return;
    }
    qsizetype insertAt = header + 1;
    for (qsizetype i = header + 1; i < doc.lines.size(); ++i) {
        const Line line = classify(doc.lines[i]);
        if (line.kind == LineKind::Section) break;
        if (line.kind != LineKind::Key) continue;
        if (sameName(line.name, key)) {
            QByteArray replaced = keyLine(line.name, value);  // line.name points into the old line
            doc.lines[i] = std::move(replaced);
            return;
        }
        insertAt = i + 1;
    }
    doc.lines.insert(insertAt, keyLine(key, value));
}

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

// Record files hold a few kilobytes; anything near this is not one of ours.
constexpr qint64 kMaxRecordBytes = 4 * 1024 * 1024;

// Loads path into doc. A missing file is an empty document; anything that exists but cannot be read is
// an error, so that a write never replaces a file whose content it could not see.
Status load(const QString& path, Document& doc) {
    QByteArray data;
    const Status st = readRegularFile(path, kMaxRecordBytes, data);
    if (st.code == StatusCode::NotFound) return Status::success();
    if (!st) return st.prefixed(QStringLiteral("无法读取记录文件 %1：").arg(shown(path)));
    doc = parse(data);
    return Status::success();
}

Status save(const QString& path, const Document& doc) { return replaceFile(path, serialise(doc)); }

bool hasOuterBlank(const QString& s) {
    return !s.isEmpty() && (isBlank(s.front().toLatin1()) || isBlank(s.back().toLatin1()));
}

bool containsAny(const QString& s, QStringView chars) {
    for (QChar c : chars) {
        if (s.contains(c)) return true;
    }
    return false;
}

Status checkSection(const QString& section) {
    const auto refuse = [&](const QString& why) {
        return Status::refused(QStringLiteral("记录节名“%1”无效：%2").arg(section, why));
    };
    if (section.isEmpty()) return Status::refused(QStringLiteral("记录节名不能为空"));
    if (!section.isValidUtf16()) return refuse(QStringLiteral("含有无效字符"));
    if (containsAny(section, u"\r\n")) return refuse(QStringLiteral("含有换行符"));
    if (section.contains(QChar(0))) return refuse(QStringLiteral("含有空字符"));
    if (containsAny(section, u"[]")) return refuse(QStringLiteral("不能含有方括号"));
    if (hasOuterBlank(section)) return refuse(QStringLiteral("首尾不能有空格或制表符"));
    return Status::success();
}

Status checkKey(const QString& key) {
    const auto refuse = [&](const QString& why) {
        return Status::refused(QStringLiteral("记录键名“%1”无效：%2").arg(key, why));
    };
    if (key.isEmpty()) return Status::refused(QStringLiteral("记录键名不能为空"));
    if (!key.isValidUtf16()) return refuse(QStringLiteral("含有无效字符"));
    if (containsAny(key, u"\r\n")) return refuse(QStringLiteral("含有换行符"));
    if (key.contains(QChar(0))) return refuse(QStringLiteral("含有空字符"));
    if (containsAny(key, u"=[]")) return refuse(QStringLiteral("不能含有等号或方括号"));
    if (key.startsWith(u';')) return refuse(QStringLiteral("不能以分号开头"));
    if (hasOuterBlank(key)) return refuse(QStringLiteral("首尾不能有空格或制表符"));
    return Status::success();
}

Status checkValue(const QString& key, const QString& value) {
    if (containsAny(value, u"\r\n")) {
        return Status::refused(QStringLiteral("记录值含有换行符，不能保存：%1").arg(key));
    }
    if (value.contains(QChar(0))) {
        return Status::refused(QStringLiteral("记录值含有空字符，不能保存：%1").arg(key));
    }
    if (hasOuterBlank(value)) {
        return Status::refused(QStringLiteral("记录值首尾含有空格或制表符，不能保存：%1").arg(key));
    }
    if (!value.isValidUtf16()) {
        return Status::refused(QStringLiteral("记录值含有无效字符，不能保存：%1").arg(key));
    }
    return Status::success();
}

Status checkEntries(const QString& section, const ProfileFile::Entries& entries) {
    if (Status s = checkSection(section); !s) return s;
    for (const ProfileFile::Entry& entry : entries) {
        if (Status s = checkKey(entry.first); !s) return s;
        if (Status s = checkValue(entry.first, entry.second); !s) return s;
    }
    return Status::success();
}

void apply(Document& doc, const QString& section, const ProfileFile::Entries& entries) {
    const QByteArray sectionUtf8 = section.toUtf8();
    for (const ProfileFile::Entry& entry : entries)
        setValue(doc, sectionUtf8, entry.first.toUtf8(), entry.second.toUtf8());
}

QString valueOf(const Document& doc, const QString& section, const QString& key, int limit) {
    const std::optional<QByteArray> value = findValue(doc, section.toUtf8(), key.toUtf8());
    if (!value) return QString();
    return ProfileFile::limited(decodeUtf8(*value), limit);
}

std::optional<ProfileFile::Entries> entriesOf(const Document& doc, const QString& section) {
    const qsizetype header = findSection(doc, section.toUtf8());
    if (header < 0) return std::nullopt;
    ProfileFile::Entries entries;
    QSet<QByteArray> seen;
    for (qsizetype i = header + 1; i < doc.lines.size(); ++i) {
        const Line line = classify(doc.lines[i]);
        if (line.kind == LineKind::Section) break;
        if (line.kind != LineKind::Key) continue;
        QByteArray folded = foldedName(line.name);
        if (seen.contains(folded)) continue;
        seen.insert(std::move(folded));
        entries.append({decodeUtf8(line.name), decodeUtf8(line.value)});
    }
    return entries;
}

}  // namespace

Status ProfileFile::writeString(const QString& path, const QString& section, const QString& key,
                                const QString& value) {
    return writeSection(path, section, {{key, value}});
}

Status ProfileFile::writeSection(const QString& path, const QString& section, const Entries& entries) {
    if (Status s = checkEntries(section, entries); !s) return s;
    if (entries.isEmpty()) return Status::success();
    Document doc;
    if (Status s = load(path, doc); !s) return s;
    apply(doc, section, entries);
    return save(path, doc);
}

QString ProfileFile::readString(const QString& path, const QString& section, const QString& key, int limit) {
    Document doc;
    if (!load(path, doc)) return QString();
    return valueOf(doc, section, key, limit);
}

std::optional<ProfileFile::Entries> ProfileFile::readSection(const QString& path, const QString& section) {
    Entries entries;
    if (!loadSection(path, section, entries)) return std::nullopt;
    return entries;
}

Status ProfileFile::loadSection(const QString& path, const QString& section, Entries& out) {
    if (!QFileInfo::exists(path))
        return Status::notFound(QStringLiteral("找不到记录文件：%1").arg(shown(path)));
    Document doc;
    if (Status s = load(path, doc); !s) return s;
    std::optional<Entries> entries = entriesOf(doc, section);
    if (!entries)
        return Status::notFound(QStringLiteral("记录文件 %1 中没有“%2”。").arg(shown(path), section));
    out = std::move(*entries);
    return Status::success();
}

std::optional<ProfileFile::Entries> ProfileFile::sectionIn(const QByteArray& content,
                                                           const QString& section) {
    return entriesOf(parse(content), section);
}

QString ProfileFile::valueIn(const QByteArray& content, const QString& section, const QString& key,
                             int limit) {
    return valueOf(parse(content), section, key, limit);
}

Status ProfileFile::withSection(const QByteArray& content, const QString& section, const Entries& entries,
                                QByteArray& out) {
    if (Status s = checkEntries(section, entries); !s) return s;
    if (entries.isEmpty()) {
        out = content;
        return Status::success();
    }
    Document doc = parse(content);
    apply(doc, section, entries);
    out = serialise(doc);
    return Status::success();
}

QString ProfileFile::limited(const QString& value, int limit) {
    if (limit <= 0) return value;
    const qsizetype budget = qsizetype(limit) - 1;
    if (value.size() * 3 <= budget) return value;  // every UTF-16 unit encodes to at most 3 bytes

    qsizetype bytes = 0;
    qsizetype i = 0;
    while (i < value.size()) {
        const char16_t u = value[i].unicode();
        qsizetype units = 1;
        qsizetype width = 3;  // rest of the BMP, and a lone surrogate (encoded as U+FFFD)
        if (u < 0x80) {
            width = 1;
        } else if (u < 0x800) {
            width = 2;
        } else if (QChar::isHighSurrogate(u) && i + 1 < value.size() && value[i + 1].isLowSurrogate()) {
            units = 2;
            width = 4;
        }
        if (bytes + width > budget) break;
        bytes += width;
        i += units;
    }
    return value.left(i);
}

}  // namespace ms
