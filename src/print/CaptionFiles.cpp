#include "print/CaptionFiles.h"

#include <QFileInfo>
#include <QTextDocument>

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
    return replaceFiles({{path + QLatin1Char('2'), rtf::write(caption2)}, {path, rtf::write(caption1)}})
        .prefixed(QStringLiteral("文字没有保存："));
}

}  // namespace ms
