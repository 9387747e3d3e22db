#include "persistence/SlotJournal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cerrno>
#include <cstring>

#include "platform/SafeFile.h"

namespace ms {

namespace {

constexpr char kHeader[] = "ms-staged-files 2";
constexpr qint64 kMaxJournalBytes = 64 * 1024;

// The journal's own check: it is read back only as a whole.
QByteArray digest(QByteArrayView bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

QString systemError() { return QString::fromLocal8Bit(std::strerror(errno)); }

// The path below `base`, "" when it is not below it.
QString relativeTo(const QString& base, const QString& path) {
    const QString root = base + QLatin1Char('/');
    return path.startsWith(root) && path.size() > root.size() ? path.mid(root.size()) : QString();
}

struct StatOf {
    bool exists = false;
    mode_t mode = 0;
};

StatOf lstatOf(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return {};
    return {true, st.st_mode};
}

// A regular file that is not a link.
bool isPlainFile(const QString& path) {
    const StatOf st = lstatOf(path);
    return st.exists && S_ISREG(st.mode);
}

// What tells one file from another without reading it: a rename keeps all three, a rewrite or
// another file at the name does not.
struct Identity {
    qint64 size = -1;
    quint64 inode = 0;
    qint64 modifiedNs = 0;
    bool operator==(const Identity&) const = default;
};

// The identity of the plain file at `path`; size -1 when there is none.
Identity identityOf(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    return {static_cast<qint64>(st.st_size), static_cast<quint64>(st.st_ino),
            static_cast<qint64>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

void syncFolder(const QString& folder) {
    // Only durability across a power cut depends on it; a folder that cannot be synced is still
    // written, so a failure here changes nothing the caller could act on.
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

void syncFoldersOf(const QStringList& paths) {
    QSet<QString> done;
    for (const QString& p : paths) {
        const QString folder = QFileInfo(p).path();
        if (done.contains(folder)) continue;
        done.insert(folder);
        syncFolder(folder);
    }
}

struct JournalLine {
    Identity identity;          // of the temporary once written
    QString temporary, target;  // absolute
};

QByteArray encodeJournal(const QString& base, const std::vector<JournalLine>& lines) {
    QByteArray text = QByteArray(kHeader) + '\n';
    for (const JournalLine& l : lines)
        text += QByteArray::number(l.identity.size) + '\t' + QByteArray::number(l.identity.inode) + '\t' +
                QByteArray::number(l.identity.modifiedNs) + '\t' + relativeTo(base, l.temporary).toUtf8() +
                '\t' + relativeTo(base, l.target).toUtf8() + '\n';
    const QByteArray check = digest(text);
    return text + "end\t" + QByteArray::number(static_cast<qsizetype>(lines.size())) + '\t' + check + '\n';
}

bool parseJournal(const QByteArray& bytes, const QString& base, std::vector<JournalLine>& out) {
    if (!bytes.endsWith('\n')) return false;
    const QList<QByteArray> lines = bytes.chopped(1).split('\n');
    if (lines.size() < 3 || lines.front() != kHeader) return false;
    const QList<QByteArray> end = lines.back().split('\t');
    const qsizetype body = bytes.size() - lines.back().size() - 1;
    if (end.size() != 3 || end[0] != "end" || end[1] != QByteArray::number(lines.size() - 2) ||
        end[2] != digest(QByteArrayView(bytes).first(body)))
        return false;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split('\t');
        if (fields.size() != 5 || fields[3].isEmpty() || fields[4].isEmpty()) return false;
        bool sized = false, numbered = false, dated = false;
        const Identity id{fields[0].toLongLong(&sized), fields[1].toULongLong(&numbered),
                          fields[2].toLongLong(&dated)};
        if (!sized || !numbered || !dated || id.size < 0) return false;
        out.push_back({id, base + QLatin1Char('/') + QString::fromUtf8(fields[3]),
                       base + QLatin1Char('/') + QString::fromUtf8(fields[4])});
    }
    return true;
}

bool allowedPair(const std::vector<StagedPair>& allowed, const JournalLine& line) {
    for (const StagedPair& p : allowed)
        if (p.temporary == line.temporary && p.target == line.target) return true;
    return false;
}

Status removeJournal(const QString& journal) {
    if (removeFileOrLink(journal)) return Status::success();
    return Status::writeFailed(QStringLiteral("无法删除保存记录 %1。").arg(shown(journal)));
}

// Renames each temporary over its target in order; the journal goes once all are in place.
Status putInPlace(const QString& journal, const std::vector<StagedPair>& moves, const QStringList& targets) {
    for (const StagedPair& m : moves) {
        if (::rename(QFile::encodeName(m.temporary).constData(), QFile::encodeName(m.target).constData()) !=
            0)
            return Status::writeFailed(QStringLiteral("无法把新文件放到 %1（%2），保存尚未完成。")
                                           .arg(shown(m.target), systemError()));
    }
    syncFoldersOf(targets);
    return removeJournal(journal);
}

// The journal is not to be followed: every temporary it could have named goes, the targets stay.
Status rollBack(const QString& journal, const std::vector<StagedPair>& allowed) {
    for (const StagedPair& p : allowed)
        if (!removeFileOrLink(p.temporary))
            return Status::writeFailed(QStringLiteral("无法删除临时文件 %1。").arg(shown(p.temporary)));
    return removeJournal(journal);
}

}  // namespace

bool removeFileOrLink(const QString& path) {
    const StatOf st = lstatOf(path);
    if (!st.exists) return true;
    if (!S_ISREG(st.mode) && !S_ISLNK(st.mode)) return false;
    return ::unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT;
}

bool isAtomicWriteLeftover(const QString& name, const QString& target) {
    constexpr int kSuffix = 7;  // '.' and six letters or digits
    if (name.size() != target.size() + kSuffix || !name.startsWith(target) ||
        name[target.size()] != QLatin1Char('.'))
        return false;
    for (qsizetype i = target.size() + 1; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))) return false;
    }
    return true;
}

Status stageFiles(const QString& journal, const QString& base, const std::vector<StagedFile>& files) {
    if (files.empty() || relativeTo(base, journal).isEmpty())
        return Status::refused(QStringLiteral("没有要保存的文件。"));
    for (const StagedFile& f : files) {
        if (relativeTo(base, f.target).isEmpty() || relativeTo(base, f.temporary).isEmpty() ||
            QFileInfo(f.temporary).path() != QFileInfo(f.target).path())
            return Status::refused(
                QStringLiteral("文件 %1 不在程序文件夹内，不予保存。").arg(shown(f.target)));
        if (lstatOf(f.target).exists && !isPlainFile(f.target))
            return Status::refused(
                QStringLiteral("无法替换 %1：它不是普通文件，原来的内容保持不变。").arg(shown(f.target)));
    }
    QStringList written;
    std::vector<JournalLine> lines;
    auto undo = [&written] {
        for (const QString& t : written) removeFileOrLink(t);
    };
    for (const StagedFile& f : files) {
        // Whatever holds the temporary name is a leftover; a link there must not redirect the write.
        if (!removeFileOrLink(f.temporary)) {
            undo();
            return Status::writeFailed(
                QStringLiteral("无法写入临时文件 %1，原来的文件保持不变。").arg(shown(f.temporary)));
        }
        if (Status st = replaceFile(f.temporary, f.content); !st) {
            undo();
            return st;
        }
        written << f.temporary;
        const Identity id = identityOf(f.temporary);
        if (id.size != f.content.size()) {
            undo();
            return Status::writeFailed(
                QStringLiteral("临时文件 %1 写入后不完整，原来的文件保持不变。").arg(shown(f.temporary)));
        }
        lines.push_back({id, f.temporary, f.target});
    }
    syncFoldersOf(written);
    if (Status st = replaceFile(journal, encodeJournal(base, lines)); !st) {
        undo();
        return st;
    }
    syncFolder(QFileInfo(journal).path());
    return Status::success();
}

Status replaceTogether(const QString& journal, const QString& base, const std::vector<StagedFile>& files) {
    if (Status st = stageFiles(journal, base, files); !st) return st;
    std::vector<StagedPair> moves;
    QStringList targets;
    for (const StagedFile& f : files) {
        moves.push_back({f.temporary, f.target});
        targets << f.target;
    }
    return putInPlace(journal, moves, targets);
}

Status recoverJournal(const QString& journal, const QString& base, const std::vector<StagedPair>& allowed) {
    if (!lstatOf(journal).exists) return Status::success();
    QByteArray bytes;
    std::vector<JournalLine> lines;
    bool whole = readRegularFile(journal, kMaxJournalBytes, bytes).ok() && parseJournal(bytes, base, lines);
    QSet<QString> targets;
    for (const JournalLine& line : lines) {
        whole = whole && allowedPair(allowed, line) && !targets.contains(line.target);
        targets.insert(line.target);
    }
    if (!whole) return rollBack(journal, allowed);

    // A file is in place when its target is the temporary that was written (renamed already);
    // otherwise the temporary must still be there as written.
    std::vector<StagedPair> moves;
    QStringList targetPaths;
    bool lost = false, moved = false;
    for (const JournalLine& line : lines) {
        targetPaths << line.target;
        if (identityOf(line.target) == line.identity)
            moved = true;
        else if (identityOf(line.temporary) == line.identity)
            moves.push_back({line.temporary, line.target});
        else
            lost = true;
    }
    if (!lost) return putInPlace(journal, moves, targetPaths);
    if (Status st = rollBack(journal, allowed); !st || !moved) return st;
    return Status::damaged(
        QStringLiteral("上一次保存的文件只有一部分已经放到位，其余的已丢失，新旧内容都无法完整恢复。"));
}

}  // namespace ms
