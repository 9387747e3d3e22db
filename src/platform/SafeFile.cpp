#include "platform/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <memory>

namespace ms {

namespace {

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

Status writeFailed(const QString& path, const QString& reason) {
    return Status::writeFailed(
        QStringLiteral("无法写入文件 %1（%2），原来的文件保持不变。").arg(shown(path), reason));
}

}  // namespace

Status replaceFile(const QString& path, const QByteArray& content) {
    return replaceFile(path, [&content](QIODevice& d) { return d.write(content) == content.size(); });
}

Status replaceFile(const QString& path, const std::function<bool(QIODevice&)>& write) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return writeFailed(path, f.errorString());
    const bool written = write(f);
    // The explicit flush reports a full disk or an exceeded file size; commit() would rename anyway.
    if (!written || !f.flush() || f.error() != QFileDevice::NoError) {
        const QString reason =
            f.error() != QFileDevice::NoError ? f.errorString() : QStringLiteral("写入不完整");
        f.cancelWriting();
        return writeFailed(path, reason);
    }
    if (!f.commit()) return writeFailed(path, f.errorString());
    return Status::success();
}

Status replaceFiles(const std::vector<std::pair<QString, QByteArray>>& files) {
    std::vector<std::unique_ptr<QSaveFile>> out;
    for (const auto& [path, content] : files) {
        out.push_back(std::make_unique<QSaveFile>(path));
        QSaveFile& f = *out.back();
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size() || !f.flush() ||
            f.error() != QFileDevice::NoError) {
            const QString reason = f.errorString();
            for (auto& written : out) written->cancelWriting();
            return writeFailed(path, reason);
        }
    }
    for (size_t i = 0; i < out.size(); ++i)
        if (!out[i]->commit()) {
            for (size_t k = i + 1; k < out.size(); ++k) out[k]->cancelWriting();
            return writeFailed(files[i].first, out[i]->errorString());
        }
    return Status::success();
}

bool isRegularFile(const QString& path) {
    struct stat st {};
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isRegularFileInside(const QString& path, const QString& folder) {
    if (!isRegularFile(path)) return false;
    const QString file = QFileInfo(path).canonicalFilePath();
    const QString root = QFileInfo(folder).canonicalFilePath();
    return !file.isEmpty() && !root.isEmpty() && file.startsWith(root + QLatin1Char('/'));
}

Status readRegularFile(const QString& path, qint64 maxBytes, QByteArray& out) {
    const QString name = QFileInfo(path).fileName();
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (path.isEmpty() || ::stat(native.constData(), &st) != 0)
        return Status::notFound(QStringLiteral("找不到文件：%1").arg(name));
    if (!S_ISREG(st.st_mode)) return Status::damaged(QStringLiteral("不是普通文件，不能读取：%1").arg(name));
    // O_NONBLOCK: should the name have become a pipe since the check, the open does not wait.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Status::damaged(
            QStringLiteral("无法打开文件 %1（%2）").arg(name, QString::fromLocal8Bit(std::strerror(errno))));
    Status result;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        result = Status::damaged(QStringLiteral("不是普通文件，不能读取：%1").arg(name));
    } else if (st.st_size > maxBytes) {
        result =
            Status::damaged(QStringLiteral("文件过大（%1 字节），不予读取：%2").arg(st.st_size).arg(name));
    } else {
        QByteArray bytes(static_cast<qsizetype>(st.st_size), Qt::Uninitialized);
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += n;
        }
        if (done != bytes.size())
            result = Status::damaged(QStringLiteral("文件读取不完整：%1").arg(name));
        else
            out = std::move(bytes);
    }
    ::close(fd);
    return result;
}

}  // namespace ms
