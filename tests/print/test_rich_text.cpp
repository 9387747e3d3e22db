#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "print/RichText.h"

namespace {

using ms::StatusCode;

QTextCharFormat charFormat(bool bold, bool italic, bool underline, double points, QColor colour = {}) {
    QTextCharFormat f;
    if (bold) f.setFontWeight(QFont::Bold);
    f.setFontItalic(italic);
    f.setFontUnderline(underline);
    if (points > 0) f.setFontPointSize(points);
    if (colour.isValid()) f.setForeground(colour);
    return f;
}

// Every run of the document with the formatting the captions use, one block a line.
QString describe(const QTextDocument& doc) {
    QString out;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            out +=
                QStringLiteral("[%1|b%2 i%3 u%4 %5pt %6]")
                    .arg(it.fragment().text())
                    .arg(f.fontWeight() >= QFont::Bold)
                    .arg(f.fontItalic())
                    .arg(f.fontUnderline())
                    .arg(f.fontPointSize())
                    .arg(f.foreground().style() == Qt::NoBrush ? QString() : f.foreground().color().name());
        }
        out += QLatin1Char('\n');
    }
    return out;
}

// The format of the run that holds `text`.
QTextCharFormat formatOf(const QTextDocument& doc, const QString& text) {
    const QTextCursor found = doc.find(text, 0, QTextDocument::FindCaseSensitively);
    EXPECT_FALSE(found.isNull()) << text.toStdString();
    QTextCursor at(doc);
    at.setPosition(found.selectionStart() + 1);
    return at.charFormat();
}

QTextDocument& read(const QByteArray& rtf, QTextDocument& doc) {
    const ms::Status st = ms::rtf::read(rtf, doc);
    EXPECT_TRUE(st.ok()) << st.message.toStdString() << "\n" << rtf.toStdString();
    return doc;
}

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

TEST(RichText, RoundTripKeepsTextAndEveryRunsFormat) {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(text("发型设计 "), charFormat(true, false, false, 24));
    c.insertText(text("Cut & {Style} \\ 100%"), charFormat(false, true, false, 0, QColor(200, 30, 60)));
    c.insertText(text("染发😀"), charFormat(false, false, true, 16));
    c.insertBlock();
    c.insertText(text("第二段\tprice") + QChar::LineSeparator + text("¥88"),
                 charFormat(true, true, true, 16));
    c.insertText(text(" 护理"), charFormat(false, false, false, 0, QColor(200, 30, 60)));

    const QByteArray rtf = ms::rtf::write(doc);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936"));
    EXPECT_FALSE(std::any_of(rtf.begin(), rtf.end(), [](char b) {
        return static_cast<unsigned char>(b) >= 0x80;
    })) << "non-ASCII characters are written as \\uN";
    QTextDocument back;
    read(rtf, back);
    EXPECT_EQ(back.toPlainText(), doc.toPlainText());
    EXPECT_EQ(describe(back), describe(doc));
}

TEST(RichText, ReadsCharactersAsWordProcessorsWriteThem) {
    const char* header = R"({\rtf1\ansi\ansicpg936\deff0{\fonttbl{\f0\fnil\fcharset134 \'cb\'ce\'cc\'e5;}})"
                         R"({\*\generator Caption Writer 1.0;}\viewkind4\uc1 \pard\f0\fs22 )";
    const struct {
        const char* body;
        const char* plain;
    } cases[] = {
        {R"(\'b7\'a2\'d0\'cd\'c9\'e8\'bc\'c6\par})", "发型设计"},
        {"\\'b7\r\n\\'a2\\'d0\\'cd\\par}", "发型"},  // a line end between the two bytes of one character
        {R"(\u21457?\u22411?\u35774?\u35745?\par})", "发型设计"},
        {R"({\uc2\u21457\'b7\'a2\u22411\'d0\'cd}\u35774?\par})", "发型设"},
        {R"(\uc0\u21457\u22411 Cut\par})", "发型Cut"},
        {R"(Style \'b7\'a2 and \u22411? \u-10179?\u-8704?\par})", "Style 发 and 型 😀"},
        {R"(a\~b\_c\-d \{x\} \\\par})", "a\u00a0b\u2011cd {x} \\"},
    };
    for (const auto& k : cases) {
        QTextDocument doc;
        EXPECT_EQ(read(QByteArray(header) + k.body, doc).toPlainText(), text(k.plain)) << k.body;
    }

    // A Western document whose Chinese font gives its bytes their code page.
    QTextDocument mixed;
    read(R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\fnil\fcharset134 SimSun;}})"
         R"(\pard\f0 Hair \f1\'b7\'a2\'d0\'cd\f0  caf\'e9\par})",
         mixed);
    EXPECT_EQ(mixed.toPlainText(), text("Hair 发型 café"));
}

TEST(RichText, ReadsLayoutAndGroupScopedFormattingPastTablesAndIgnorableGroups) {
    QTextDocument doc;
    read(R"({\rtf1\ansi\ansicpg936\deff0{\fonttbl{\f0\fnil\fcharset134 SimSun;}}
{\colortbl ;\red255\green0\blue0;\red0\green0\blue255;}
{\stylesheet{\s0 Normal;}}{\info{\title \'b1\'ea\'cc\'e2}{\author x}}{\*\generator Caption Writer 1.0;}
{\*\unknown with {nested} text}{\pict\pngblip\bin4 }}}}0a0b}
\pard\plain{\b\cf1 Bold red}\line next\tab col\par
\pard{\i\fs48 big {\ul\cf2 under} }tail\b  bold\b0  normal \ul uline\ulnone  nol \i ital\plain  last\par
})",
         doc);
    ASSERT_EQ(doc.blockCount(), 2);
    EXPECT_EQ(doc.begin().text(),
              QStringLiteral("Bold red") + QChar::LineSeparator + QStringLiteral("next\tcol"));
    EXPECT_EQ(doc.lastBlock().text(), QStringLiteral("big under tail bold normal uline nol ital last"));

    const auto expectFormat = [&](const char* run, const QTextCharFormat& want) {
        const QTextCharFormat got = formatOf(doc, QString::fromUtf8(run));
        EXPECT_EQ(got.fontWeight() >= QFont::Bold, want.fontWeight() >= QFont::Bold) << run;
        EXPECT_EQ(got.fontItalic(), want.fontItalic()) << run;
        EXPECT_EQ(got.fontUnderline(), want.fontUnderline()) << run;
        EXPECT_EQ(got.fontPointSize(), want.fontPointSize()) << run;
        EXPECT_EQ(got.foreground().color(), want.foreground().color()) << run;
    };
    expectFormat("Bold red", charFormat(true, false, false, 0, Qt::red));
    expectFormat("next", charFormat(false, false, false, 0));
    expectFormat("big", charFormat(false, true, false, 24));
    expectFormat("under", charFormat(false, true, true, 24, Qt::blue));
    expectFormat("tail", charFormat(false, false, false, 0));
    expectFormat("bold", charFormat(true, false, false, 0));
    expectFormat("normal", charFormat(false, false, false, 0));
    expectFormat("uline", charFormat(false, false, true, 0));
    expectFormat("nol", charFormat(false, false, false, 0));
    expectFormat("ital", charFormat(false, true, false, 0));
    expectFormat("last", charFormat(false, false, false, 0));
}

TEST(RichText, AcceptsSloppyEnds) {
    const QByteArray cases[] = {
        "{\\rtf1 caption\\par}\r\n  \t",
        QByteArray("{\\rtf1 caption\\par}") + QByteArray(3, '\0'),
        "{\\rtf1 caption\\par ",  // the final brace alone missing
        "{\\rtf1 \\fs2000000000 caption\\par}",
    };
    for (const QByteArray& rtf : cases) {
        QTextDocument doc;
        EXPECT_EQ(read(rtf, doc).toPlainText(), QStringLiteral("caption")) << rtf.toStdString();
        EXPECT_LT(formatOf(doc, QStringLiteral("caption")).fontPointSize(), 2000) << rtf.toStdString();
    }
}

TEST(RichText, RefusesHostileInputAndLeavesTheDocumentAlone) {
    const QByteArray deep = "{\\rtf1 " + QByteArray(5000, '{') + "x" + QByteArray(5001, '}');
    const QByteArray huge = "{\\rtf1 " + QByteArray(5 << 20, 'x') + "}";
    const struct {
        const char* what;
        QByteArray rtf;
        StatusCode code;
    } cases[] = {
        {"empty", "", StatusCode::Damaged},
        {"not RTF", "Hello, hair studio", StatusCode::Damaged},
        {"cut in a control word", "{\\rtf1\\ansi caption\\pa", StatusCode::Damaged},
        {"cut after a backslash", "{\\rtf1 caption\\", StatusCode::Damaged},
        {"cut in a byte", "{\\rtf1 \\'b", StatusCode::Damaged},
        {"bad hex byte", "{\\rtf1 \\'zz}", StatusCode::Damaged},
        {"cut inside a group", "{\\rtf1 {\\b bold caption", StatusCode::Damaged},
        {"one brace too many", "{\\rtf1 caption}}", StatusCode::Damaged},
        {"text after the end", "{\\rtf1 caption} more", StatusCode::Damaged},
        {"binary beyond the end", "{\\rtf1 \\bin999 x}", StatusCode::Damaged},
        {"huge font size", "{\\rtf1 \\fs99999999999999999999 x}", StatusCode::Damaged},
        {"unicode overflow", "{\\rtf1 \\u70000?}", StatusCode::Damaged},
        {"unicode int overflow", "{\\rtf1 \\u-2147483649?}", StatusCode::Damaged},
        {"deep nesting", deep, StatusCode::Refused},
        {"too large", huge, StatusCode::Refused},
    };
    for (const auto& k : cases) {
        QTextDocument doc;
        QTextCursor(&doc).insertText(text("原来的说明"), charFormat(true, false, false, 18));
        const QString before = doc.toHtml();
        const ms::Status st = ms::rtf::read(k.rtf, doc);
        EXPECT_EQ(st.code, k.code) << k.what;
        EXPECT_FALSE(st.message.isEmpty()) << k.what;
        EXPECT_EQ(doc.toHtml(), before) << k.what;
    }
}

// Debian's unrtf, an independent reader, must find our text: as HTML it prints every \uN as a
// numeric entity (a surrogate pair as two), as plain text it prints the "?" fallback instead.
QString unrtf(const QString& mode, const QString& path) {
    QProcess p;
    p.start(QStringLiteral("unrtf"), {mode, path});
    if (!p.waitForStarted()) {
        ADD_FAILURE() << "unrtf could not be started (the build installs Debian's unrtf): "
                      << p.errorString().toStdString();
        return {};
    }
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString htmlText(QString html) {
    html.remove(QRegularExpression(QStringLiteral("<!--.*?-->|<[^>]*>")));
    QString out;
    const QRegularExpression entity(QStringLiteral("&#(\\d+);"));
    qsizetype from = 0;
    for (auto it = entity.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        out +=
            html.mid(from, m.capturedStart() - from) + QChar(static_cast<char16_t>(m.captured(1).toUInt()));
        from = m.capturedEnd();
    }
    out += html.mid(from);
    return out.replace(QStringLiteral("&amp;"), QStringLiteral("&"))
        .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""));
}

TEST(RichText, UnrtfReadsWhatWeWrite) {
    const QStringList paragraphs = {text("发型设计 Cut & <Style> {A}"), text("染发护理 ¥88 😀 done")};
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(paragraphs[0], charFormat(true, false, false, 24, Qt::red));
    c.insertBlock();
    c.insertText(paragraphs[1], charFormat(false, true, true, 0));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("caption.rtf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(ms::rtf::write(doc));
    file.close();

    const QString html = htmlText(unrtf(QStringLiteral("--html"), file.fileName()));
    const QString plain = unrtf(QStringLiteral("--text"), file.fileName());
    for (const QString& p : paragraphs) {
        EXPECT_TRUE(html.contains(p)) << p.toStdString() << " not in:\n" << html.toStdString();
        QString fallback = p;
        for (QChar& ch : fallback)
            if (ch.unicode() >= 0x80) ch = QLatin1Char('?');
        EXPECT_TRUE(plain.contains(fallback)) << fallback.toStdString() << " not in:\n"
                                              << plain.toStdString();
    }
}

}  // namespace
