#include "print/RichText.h"

#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <charconv>
#include <climits>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include "imaging/Rounding.h"

// RTF as read and written here, the part of RTF 1.9 that captions use:
// - A file is one group "{\rtf1 ...}". "{" opens a group and "}" closes it, restoring the
//   formatting of before its "{". CR and LF in the file are not text.
// - "\" starts a control word: 1-32 ASCII letters, an optional number ("-" and up to 10 digits)
//   and one optional space that belongs to the word. Any other character after "\" is a control
//   symbol: \\ \{ \} stand for themselves, \~ is a no-break space, \_ a no-break hyphen, \- an
//   optional hyphen (dropped), \'hh one byte in hex, \* marks its group as ignorable, and "\"
//   before a line end is \par.
// - Bytes, raw or as \'hh, are text in a code page: the current font's if its \fcharset is a CJK
//   one, else the document's \ansicpgN (1252 without it). Consecutive bytes decode together: a GBK
//   character is two, \'b7\'a2.
// - \uN is one UTF-16 unit, N signed 16-bit (N < 0 stands for N + 65536; a character beyond the
//   BMP is a surrogate pair). The next \ucN characters (default 1; a \'hh, a control word or a
//   symbol count as one; a brace ends the count) are a fallback for older readers and are skipped.
// - Groups that are not text: {\fonttbl} (\fN \fcharsetN per font), {\colortbl} (";"-ended
//   entries \redN\greenN\blueN, the first one empty: "auto"), and, skipped whole, any {\*\...} and
//   \stylesheet, \info, \pict, headers, footers and the like. \binN is N raw bytes.
// - \par ends a paragraph, \line breaks the line inside it, \tab is a tab. Character formatting:
//   \b \i \ul (\b0 \i0 \ul0 \ulnone end them), \fsN in half-points, \cfN a colour table entry,
//   \plain all off.
// Hostile files are bounded: 4 MiB of file, 256 nested groups, 256 Ki characters of text.

namespace ms::rtf {
namespace {

constexpr qsizetype kMaxInput = qsizetype{4} << 20;
constexpr size_t kMaxDepth = 256;
constexpr qsizetype kMaxText = qsizetype{1} << 18;
constexpr qsizetype kMaxNameLength = 32;
constexpr qsizetype kMaxDigits = 10;
constexpr int kMaxHalfPoints = 3276;  // 1638 pt, the largest size word processors offer
constexpr size_t kMaxColours = 1024;

Status notRtf() { return Status::damaged(QStringLiteral("这不是可读的RTF文字文件。")); }
Status damaged() { return Status::damaged(QStringLiteral("文字文件已损坏或不完整。")); }
Status tooLarge() { return Status::refused(QStringLiteral("文字文件太大或层次太深，无法读取。")); }

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// clang-format off
// Groups whose content is never text, skipped whole even without \*.
constexpr std::string_view kSkippedDestinations[] = {
    "stylesheet", "info", "pict", "generator", "header", "headerl", "headerr", "headerf", "footer",
    "footerl", "footerr", "footerf", "footnote", "object", "listtable", "listoverridetable", "revtbl",
    "rsidtbl", "filetbl", "fldinst", "themedata", "colorschememapping", "latentstyles", "datastore"};

// Control words that stand for one character.
constexpr std::pair<std::string_view, char16_t> kCharacterWords[] = {
    {"line", 0x2028}, {"tab", u'\t'}, {"emdash", 0x2014}, {"endash", 0x2013}, {"bullet", 0x2022},
    {"lquote", 0x2018}, {"rquote", 0x2019}, {"ldblquote", 0x201c}, {"rdblquote", 0x201d}};

// The code page of a font's \fcharsetN where it differs from the document's (0: it does not).
int codePageOfCharset(int charset) {
    switch (charset) {
        case 128: return 932;  // Japanese
        case 129: return 949;  // Korean
        case 134: return 936;  // simplified Chinese, GBK
        case 136: return 950;  // traditional Chinese, Big5
        default: return 0;
    }
}
// clang-format on

// A decoder for a Windows code page through ICU; invalid where Qt has none (then Latin-1).
QStringDecoder decoderFor(int codePage) {
    const auto stateless = QStringConverter::Flag::Stateless;
    if (codePage == 65001) return QStringDecoder(QStringConverter::Utf8, stateless);
    const QByteArray name = codePage == 936 ? QByteArray("GBK") : "windows-" + QByteArray::number(codePage);
    QStringDecoder d(name.constData(), stateless);
    if (!d.isValid() && codePage == 936) d = QStringDecoder("GB18030", stateless);
    return d;
}

// Text that QTextDocument keeps as characters: paragraph, frame and object marks would change its
// structure, and lone surrogate halves are no characters; each becomes U+FFFD.
QString cleaned(QString s) {
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t u = s[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < s.size() && s[i + 1].isLowSurrogate())
            ++i;
        else if (QChar::isSurrogate(u) || u == QChar::ParagraphSeparator ||
                 u == QChar::ObjectReplacementCharacter || u == 0xfdd0 || u == 0xfdd1)
            s[i] = QChar::ReplacementCharacter;
    }
    return s;
}

enum class Dest { Text, Fonts, Colours, Skipped };

// What a group restores when it closes.
struct State {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 0;  // 0: the document's default size
    int colour = 0;      // colour table entry; 0 is "auto"
    int font = -1;
    int fallback = 1;  // \ucN
    Dest dest = Dest::Text;
};

struct Run {
    QString text;
    QTextCharFormat format;
};
using Paragraph = std::vector<Run>;

class Reader {
  public:
    explicit Reader(const QByteArray& in) : in_(in) {}
    Status read();
    void moveInto(QTextDocument& out) const;

  private:
    void fail(const Status& st) {
        if (failure_.ok()) failure_ = st;
    }
    void openGroup();
    void closeGroup();
    void controlSequence();
    void controlSymbol(char c);
    void controlWord(std::string_view word, bool hasNumber, int n);
    void textWord(std::string_view word, bool hasNumber, int n);
    void textByte(char c);
    // Consumes one fallback character of the last \uN, if one is due.
    bool skipFallback() {
        if (skip_ == 0) return false;
        --skip_;
        return true;
    }
    void flushBytes();
    void flushText();
    void paragraphBreak();
    QTextCharFormat format() const;

    const QByteArray& in_;
    qsizetype pos_ = 0;
    Status failure_;
    State state_;
    std::vector<State> groups_;  // the state before each open "{"
    bool closed_ = false;        // the outer group has ended
    int skip_ = 0;               // fallback characters still to skip after \uN
    int codePage_ = 1252;
    std::map<int, int> fontCodePages_;  // font number to its charset's code page (0: the document's)
    int tableFont_ = -1;                // the font table entry being read
    std::vector<QColor> colours_;
    int rgb_[3] = {-1, -1, -1};  // the colour table entry being read; -1: not given
    QByteArray bytes_;           // bytes not yet decoded
    QString text_;               // text in state_'s formatting not yet in a run
    std::vector<Paragraph> paragraphs_{1};
    qsizetype pendingBreaks_ = 0;  // \par not yet followed by text: trailing ones end the last paragraph
    qsizetype length_ = 0;         // characters and paragraph marks so far, against kMaxText
    QStringDecoder decoder_;       // for decoderCodePage_
    int decoderCodePage_ = 0;
};

Status Reader::read() {
    if (!in_.startsWith("{\\rtf")) return notRtf();
    if (in_.size() > kMaxInput) return tooLarge();
    while (pos_ < in_.size() && failure_.ok()) {
        const char c = in_[pos_++];
        if (closed_) {  // only padding may follow the outer group
            if (c != '\0' && c != ' ' && c != '\t' && c != '\r' && c != '\n') fail(damaged());
            continue;
        }
        if (c == '{')
            openGroup();
        else if (c == '}')
            closeGroup();
        else if (c == '\\')
            controlSequence();
        else if (c != '\r' && c != '\n')
            textByte(c);
    }
    flushText();
    // Lenient on a missing final "}" alone: the outer group is the only one still open.
    if (groups_.size() > 1) fail(damaged());
    // The last paragraph mark ends the last paragraph; those before it stand for empty ones.
    for (; pendingBreaks_ > 1; --pendingBreaks_) paragraphs_.emplace_back();
    return failure_;
}

void Reader::openGroup() {
    flushText();
    skip_ = 0;
    if (groups_.size() >= kMaxDepth) return fail(tooLarge());
    groups_.push_back(state_);
}

void Reader::closeGroup() {
    flushText();
    skip_ = 0;
    state_ = groups_.back();
    groups_.pop_back();
    closed_ = groups_.empty();
}

void Reader::controlSequence() {
    if (pos_ >= in_.size()) return fail(damaged());
    const char first = in_[pos_];
    if (first != '\'') flushText();
    if (!isLetter(first)) return controlSymbol(in_[pos_++]);
    const qsizetype start = pos_;
    while (pos_ < in_.size() && isLetter(in_[pos_])) ++pos_;
    if (pos_ - start > kMaxNameLength) return fail(damaged());
    const std::string_view word(in_.constData() + start, static_cast<size_t>(pos_ - start));
    const bool negative = pos_ + 1 < in_.size() && in_[pos_] == '-' && isDigit(in_[pos_ + 1]);
    if (negative) ++pos_;
    const qsizetype digits = pos_;
    qint64 n = 0;
    for (; pos_ < in_.size() && isDigit(in_[pos_]); ++pos_) {
        if (pos_ - digits == kMaxDigits) return fail(damaged());
        n = n * 10 + (in_[pos_] - '0');
    }
    const bool hasNumber = pos_ > digits;
    if (negative) n = -n;
    if (n > INT_MAX || n < INT_MIN) return fail(damaged());
    // A word ended by the end of the file was cut short: a whole file ends with "}".
    if (pos_ >= in_.size()) return fail(damaged());
    if (in_[pos_] == ' ') ++pos_;
    controlWord(word, hasNumber, static_cast<int>(n));
}

void Reader::controlSymbol(char c) {
    if (c == '\'') {
        if (pos_ + 2 > in_.size()) return fail(damaged());
        unsigned byte = 0;
        const char* end = in_.constData() + pos_ + 2;
        if (std::from_chars(end - 2, end, byte, 16).ptr != end) return fail(damaged());
        pos_ += 2;
        if (state_.dest == Dest::Text && !skipFallback()) bytes_ += static_cast<char>(byte);
        return;
    }
    if (c == '*') {
        state_.dest = Dest::Skipped;
        return;
    }
    if (state_.dest != Dest::Text || skipFallback()) return;
    if (c == '\\' || c == '{' || c == '}')
        text_ += QLatin1Char(c);
    else if (c == '~')
        text_ += QChar::Nbsp;
    else if (c == '_')
        text_ += QChar(0x2011);
    else if (c == '\r' || c == '\n')
        paragraphBreak();
}

void Reader::controlWord(std::string_view word, bool hasNumber, int n) {
    if (word == "bin") {  // raw bytes, even inside skipped groups
        if (n > in_.size() - pos_) return fail(damaged());
        pos_ += std::max(n, 0);
        return;
    }
    if (state_.dest == Dest::Skipped || skipFallback()) return;
    if (word == "fonttbl") {
        state_.dest = Dest::Fonts;
    } else if (word == "colortbl") {
        state_.dest = Dest::Colours;
        colours_.clear();
    } else if (std::ranges::find(kSkippedDestinations, word) != std::end(kSkippedDestinations)) {
        state_.dest = Dest::Skipped;
    } else if (word == "u" && hasNumber) {  // fallback characters follow in every destination
        if (n < SHRT_MIN || n > USHRT_MAX) return fail(damaged());
        const auto unit = static_cast<char16_t>(n);
        if (state_.dest == Dest::Text && (unit >= 0x20 || unit == u'\t')) text_ += QChar(unit);
        skip_ = state_.fallback;
    } else if (word == "uc") {
        state_.fallback = std::max(n, 0);
    } else if (state_.dest == Dest::Fonts) {
        if (word == "f") tableFont_ = n;
        if (word == "fcharset") fontCodePages_[tableFont_] = codePageOfCharset(n);
    } else if (state_.dest == Dest::Colours) {
        const int channel = word == "red" ? 0 : word == "green" ? 1 : word == "blue" ? 2 : -1;
        if (channel >= 0) rgb_[channel] = std::clamp(n, 0, 255);
    } else {
        textWord(word, hasNumber, n);
    }
}

void Reader::textWord(std::string_view word, bool hasNumber, int n) {
    const bool on = !hasNumber || n != 0;
    if (word == "par") {
        paragraphBreak();
    } else if (word == "ansicpg") {
        codePage_ = n;
    } else if (word == "plain") {
        state_ = State{.fallback = state_.fallback, .dest = state_.dest};
    } else if (word == "b") {
        state_.bold = on;
    } else if (word == "i") {
        state_.italic = on;
    } else if (word == "ul" || word == "ulnone") {
        state_.underline = on && word == "ul";
    } else if (word == "fs") {
        state_.halfPoints = hasNumber ? std::clamp(n, 0, kMaxHalfPoints) : 24;
    } else if (word == "cf") {
        state_.colour = std::max(n, 0);
    } else if (word == "f") {
        state_.font = n;
    } else {
        const auto character =
            std::ranges::find(kCharacterWords, word, &std::pair<std::string_view, char16_t>::first);
        if (character != std::end(kCharacterWords)) text_ += QChar(character->second);
    }
}

void Reader::textByte(char c) {
    if (state_.dest == Dest::Colours && c == ';') {
        const bool given = *std::max_element(std::begin(rgb_), std::end(rgb_)) >= 0;
        if (colours_.size() < kMaxColours)
            colours_.push_back(
                given ? QColor(std::max(rgb_[0], 0), std::max(rgb_[1], 0), std::max(rgb_[2], 0)) : QColor());
        std::fill(std::begin(rgb_), std::end(rgb_), -1);
        return;
    }
    if (state_.dest != Dest::Text || (static_cast<unsigned char>(c) < 0x20 && c != '\t') || skipFallback())
        return;
    if (static_cast<unsigned char>(c) >= 0x80) {  // sloppy writers leave code page bytes raw
        bytes_ += c;
        return;
    }
    flushBytes();
    text_ += QLatin1Char(c);
}

void Reader::flushBytes() {
    if (bytes_.isEmpty()) return;
    const auto font = fontCodePages_.find(state_.font);
    const int codePage = font != fontCodePages_.end() && font->second != 0 ? font->second : codePage_;
    if (codePage != decoderCodePage_) {
        decoder_ = decoderFor(codePage);
        decoderCodePage_ = codePage;
    }
    text_ += decoder_.isValid() ? QString(decoder_.decode(bytes_)) : QString::fromLatin1(bytes_);
    bytes_.clear();
}

void Reader::flushText() {
    flushBytes();
    if (text_.isEmpty()) return;
    const QString text = std::exchange(text_, {});
    length_ += text.size();
    if (length_ > kMaxText) return fail(tooLarge());
    for (; pendingBreaks_ > 0; --pendingBreaks_) paragraphs_.emplace_back();
    const QTextCharFormat f = format();
    Paragraph& p = paragraphs_.back();
    if (!p.empty() && p.back().format == f)
        p.back().text += text;
    else
        p.push_back({text, f});
}

void Reader::paragraphBreak() {
    flushText();
    ++pendingBreaks_;
    if (++length_ > kMaxText) fail(tooLarge());
}

QTextCharFormat Reader::format() const {
    QTextCharFormat f;
    if (state_.bold) f.setFontWeight(QFont::Bold);
    if (state_.italic) f.setFontItalic(true);
    if (state_.underline) f.setFontUnderline(true);
    if (state_.halfPoints > 0) f.setFontPointSize(state_.halfPoints / 2.0);
    const auto entry = static_cast<size_t>(state_.colour);
    if (entry > 0 && entry < colours_.size() && colours_[entry].isValid()) f.setForeground(colours_[entry]);
    return f;
}

void Reader::moveInto(QTextDocument& out) const {
    out.clear();
    QTextCursor cursor(&out);
    for (size_t i = 0; i < paragraphs_.size(); ++i) {
        if (i > 0) cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        for (const Run& run : paragraphs_[i]) cursor.insertText(cleaned(run.text), run.format);
    }
}

// One run's text: ASCII as itself with \ { } escaped, tabs and line breaks as words, and every
// other character as \uN? (N signed 16-bit, "?" the fallback of \uc1).
void appendText(QByteArray& out, QStringView text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out.append('\\').append(static_cast<char>(u));
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (c == QChar::LineSeparator) {
            out += "\\line ";
        } else if (u < 0x20 || c == QChar::ObjectReplacementCharacter) {
            continue;  // no control characters, no images
        } else if (u < 0x80) {
            out += static_cast<char>(u);
        } else {
            out += "\\u" + QByteArray::number(wrap16(u)) + '?';
        }
    }
}

}  // namespace

Status read(const QByteArray& rtf, QTextDocument& out) {
    Reader reader(rtf);
    if (Status st = reader.read(); !st) return st;
    reader.moveInto(out);
    return Status::success();
}

QByteArray write(const QTextDocument& doc) {
    std::vector<QRgb> colours;  // colour table entries from 1; entry 0 is "auto"
    QByteArray body;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        body += "\\pard\\plain";
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat f = fragment.charFormat();
            QByteArray words;
            if (f.fontWeight() > QFont::Medium) words += "\\b";
            if (f.fontItalic()) words += "\\i";
            if (f.fontUnderline()) words += "\\ul";
            if (f.fontPointSize() > 0)
                words += "\\fs" + QByteArray::number(
                                      roundHalfEven(std::min(f.fontPointSize() * 2, 1.0 * kMaxHalfPoints)));
            if (f.foreground().style() != Qt::NoBrush) {
                const QRgb rgb = f.foreground().color().rgb();
                auto entry = std::find(colours.begin(), colours.end(), rgb);
                if (entry == colours.end()) entry = colours.insert(colours.end(), rgb);
                words += "\\cf" + QByteArray::number(entry - colours.begin() + 1);
            }
            body += '{' + words + (words.isEmpty() ? "" : " ");
            appendText(body, fragment.text());
            body += '}';
        }
        body += "\\par\n";
    }
    QByteArray out =
        "{\\rtf1\\ansi\\ansicpg936\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}}\n{\\colortbl;";
    for (const QRgb c : colours)
        out += "\\red" + QByteArray::number(qRed(c)) + "\\green" + QByteArray::number(qGreen(c)) + "\\blue" +
               QByteArray::number(qBlue(c)) + ';';
    return out + "}\n" + body + "}\n";
}

}  // namespace ms::rtf
