#include "print/CaptionFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextDocument>
#include <array>
#include <memory>

#include "platform/SafeFile.h"
#include "print/RichText.h"

namespace ms {

namespace {

constexpr qint64 kMaxCaptionBytes = 4 * 1024 * 1024;

Status readCaption(const QString& path, QTextDocument& out) {
    QByteArray bytes;
    if (Status st = readRegularFile(path, kMaxCaptionBytes, bytes); !st) return st;
    return rtf::read(bytes, out).prefixed(QFileInfo(path).fileName() + QStringLiteral("："));
}

}  // namespace

Status loadCaptionFiles(const QString& path, QTextDocument& caption1, QTextDocument& caption2) {
    QTextDocument first, second;
    if (Status st = readCaption(path, first); !st) return st;
    const QString other = path + QLatin1Char('2');
    if (QFileInfo::exists(other))
        if (Status st = readCaption(other, second); !st) return st;
    caption1.setHtml(first.toHtml());
    caption2.setHtml(second.toHtml());
    return Status::success();
}

Status saveCaptionFiles(const QString& path, const QTextDocument& caption1, const QTextDocument& caption2) {
    const std::array<std::pair<QString, QByteArray>, 2> files{
        {{path + QLatin1Char('2'), rtf::write(caption2)}, {path, rtf::write(caption1)}}};
    std::array<std::unique_ptr<QSaveFile>, 2> out;
    const QString failed = QStringLiteral("文字没有保存：%1 无法写入。之前的文件保持不变。");
    for (size_t i = 0; i < files.size(); ++i) {
        out[i] = std::make_unique<QSaveFile>(files[i].first);
        if (!out[i]->open(QIODevice::WriteOnly) || out[i]->write(files[i].second) != files[i].second.size() ||
            !out[i]->flush()) {
            for (auto& f : out)
                if (f) f->cancelWriting();
            return Status::writeFailed(failed.arg(files[i].first));
        }
    }
    // Both are complete on disk: each commit is a rename in the same folder.
    for (size_t i = 0; i < out.size(); ++i)
        if (!out[i]->commit()) {
            if (i == 0) out[1]->cancelWriting();
            return Status::writeFailed(failed.arg(files[i].first));
        }
    return Status::success();
}

}  // namespace ms
