#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <initializer_list>

#include "print/RichText.h"

namespace {

using ms::StatusCode;

// A character format from flags "b", "i", "u", a size in points (0: none) and a colour.
QTextCharFormat fmt(const char* flags = "", double points = 0, QColor colour = {}) {
    QTextCharFormat f;
    const QByteArray on(flags);
    if (on.contains('b')) f.setFontWeight(QFont::Bold);
    f.setFontItalic(on.contains('i'));
    f.setFontUnderline(on.contains('u'));
    if (points > 0) f.setFontPointSize(points);
    if (colour.isValid()) f.setForeground(colour);
    return f;
}

struct Run {
    QString text;
    QTextCharFormat format;
};

// A document of paragraphs, each of formatted runs.
void fill(QTextDocument& doc, std::initializer_list<std::initializer_list<Run>> paragraphs) {
    QTextCursor c(&doc);
    for (const auto& paragraph : paragraphs) {
        if (&paragraph != paragraphs.begin()) c.insertBlock();
        for (const Run& run : paragraph) c.insertText(run.text, run.format);
    }
}

// Every run with the formatting captions use, one paragraph a line.
QString describe(const QTextDocument& doc) {
    QString out;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QString colour =
                f.foreground().style() == Qt::NoBrush ? QString() : f.foreground().color().name();
            out += QStringLiteral("[%1|b%2 i%3 u%4 %5pt %6]")
                       .arg(it.fragment().text())
                       .arg(f.fontWeight() >= QFont::Bold)
                       .arg(f.fontItalic())
                       .arg(f.fontUnderline())
                       .arg(f.fontPointSize())
                       .arg(colour);
        }
        out += QLatin1Char('\n');
    }
    return out;
}

QTextDocument& read(const QByteArray& rtf, QTextDocument& doc) {
    const ms::Status st = ms::rtf::read(rtf, doc);
    EXPECT_TRUE(st.ok()) << st.message.toStdString() << "\n" << rtf.toStdString();
    return doc;
}

QString u8(const char* text) { return QString::fromUtf8(text); }

TEST(RichText, RoundTripKeepsTextAndEveryRunsFormat) {
    const QColor rose(200, 30, 60);
    QTextDocument doc;
    fill(doc, {{{u8("发型设计 "), fmt("b", 24)},
                {u8("Cut & {Style} \\ 100%"), fmt("i", 0, rose)},
                {u8("染发😀"), fmt("u", 16)}},
               {{u8("第二段\tprice\u2028¥88"), fmt("biu", 16)}, {u8(" 护理"), fmt("", 0, rose)}}});

    const QByteArray rtf = ms::rtf::write(doc);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936"));
    EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char b) {
        return static_cast<unsigned char>(b) < 0x80;
    })) << "non-ASCII characters are written as \\uN";
    const QRegularExpression unicodeWord(QStringLiteral("\\\\u(-?\\d+)"));
    for (auto it = unicodeWord.globalMatch(QString::fromLatin1(rtf)); it.hasNext();) {
        const int n = it.next().captured(1).toInt();
        EXPECT_TRUE(n >= -32768 && n <= 32767) << "\\u" << n << " is not signed 16-bit";
    }
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
        {R"(lone \u-10179?x\par})", "lone \uFFFDx"},
        {R"(a\~b\_c\-d \{x\} \\\par})", "a\u00a0b\u2011cd {x} \\"},
    };
    for (const auto& k : cases) {
        QTextDocument doc;
        EXPECT_EQ(read(QByteArray(header) + k.body, doc).toRawText(), u8(k.plain)) << k.body;
    }

    // A Western document whose Chinese font gives its bytes their code page.
    QTextDocument mixed;
    read(R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\fnil\fcharset134 SimSun;}})"
         R"(\pard\f0 Hair \f1\'b7\'a2\'d0\'cd\f0  caf\'e9\par})",
         mixed);
    EXPECT_EQ(mixed.toPlainText(), u8("Hair 发型 café"));
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
    QTextDocument want;
    fill(want, {{{u8("Bold red"), fmt("b", 0, Qt::red)}, {u8("\u2028next\tcol"), fmt()}},
                {{u8("big "), fmt("i", 24)},
                 {u8("under"), fmt("iu", 24, Qt::blue)},
                 {u8(" "), fmt("i", 24)},
                 {u8("tail"), fmt()},
                 {u8(" bold"), fmt("b")},
                 {u8(" normal "), fmt()},
                 {u8("uline"), fmt("u")},
                 {u8(" nol "), fmt()},
                 {u8("ital"), fmt("i")},
                 {u8(" last"), fmt()}}});
    EXPECT_EQ(describe(doc), describe(want));
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
        EXPECT_LT(doc.begin().begin().fragment().charFormat().fontPointSize(), 2000) << rtf.toStdString();
    }
}

TEST(RichText, RefusesHostileInputAndLeavesTheDocumentAlone) {
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
        {"deep nesting", "{\\rtf1 " + QByteArray(5000, '{') + "x" + QByteArray(5001, '}'),
         StatusCode::Refused},
        {"too large", "{\\rtf1 " + QByteArray(5 << 20, 'x') + "}", StatusCode::Refused},
    };
    for (const auto& k : cases) {
        QTextDocument doc;
        fill(doc, {{{u8("原来的说明"), fmt("b", 18)}}});
        const QString before = doc.toHtml();
        const ms::Status st = ms::rtf::read(k.rtf, doc);
        EXPECT_EQ(st.code, k.code) << k.what;
        EXPECT_FALSE(st.message.isEmpty()) << k.what;
        EXPECT_EQ(doc.toHtml(), before) << k.what;
    }
}

// Debian's unrtf, an independent reader, must find our text: as HTML it prints every \uN as an
// entity (a surrogate pair as two numeric ones), as plain text the "?" fallback instead. Its HTML
// loses the letters that follow a fallback up to the next space, so the test text has a space or
// another \uN after every non-ASCII character.
QString unrtf(const QString& mode, const QString& path) {
    QProcess p;
    p.start(QStringLiteral("unrtf"), {mode, path});
    EXPECT_TRUE(p.waitForStarted()) << "unrtf could not be started (the build installs Debian's unrtf): "
                                    << p.errorString().toStdString();
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(RichText, UnrtfReadsWhatWeWrite) {
    const QString paragraphs[] = {u8("发型设计 Cut & <Style> {A}"), u8("染发护理 ¥ 88 😀 done")};
    QTextDocument doc;
    fill(doc, {{{paragraphs[0], fmt("b", 0, Qt::red)}}, {{paragraphs[1], fmt("iu")}}});
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("caption.rtf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(ms::rtf::write(doc));
    file.close();

    QTextDocument html;
    html.setHtml(unrtf(QStringLiteral("--html"), file.fileName()));
    const QString plain = unrtf(QStringLiteral("--text"), file.fileName());
    for (const QString& p : paragraphs) {
        EXPECT_TRUE(html.toRawText().contains(p)) << p.toStdString() << " not in:\n"
                                                  << html.toRawText().toStdString();
        QString fallback = p;
        for (QChar& c : fallback)
            if (c.unicode() >= 0x80) c = QLatin1Char('?');
        EXPECT_TRUE(plain.contains(fallback)) << fallback.toStdString() << " not in:\n"
                                              << plain.toStdString();
    }
}

}  // namespace
