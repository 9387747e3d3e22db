#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <optional>

#include "base/Status.h"

namespace ms {

// Reads and writes private-profile ("INI") record files: "[section]" lines followed by "key=value" lines.
//
// File format as read:
//  - Text is UTF-8. A UTF-8 byte-order mark at the very start is skipped, and written back on rewrite.
//  - Lines are separated by LF. Any CRs directly before the LF (or at the end of the file) belong to
//    the line ending, so CR LF, LF and a lone trailing CR all end a line the same way. A CR elsewhere in
//    a line is ordinary text.
//  - A NUL byte ends the significant content of its line; whatever follows it on that line is ignored.
//  - Spaces and tabs around section names, key names and values are trimmed.
//  - A line whose content starts with '[' and contains ']' is a section header; the name is the text up
//    to the first ']', and anything after that ']' is ignored. A line starting with '[' without ']' is
//    neither a header nor a key line.
//  - A line starting with ';' is a comment.
//  - Any other line containing '=' is a key line: the key is the text before the FIRST '=', the value is
//    everything after it. A line with an empty key, or without '=', is ignored.
//  - Key lines before the first section header belong to no section and are ignored.
//  - Section and key names compare ASCII case-insensitively; other characters must match exactly.
//    Bytes that are not valid UTF-8 read as U+FFFD, in names and values alike.
//  - If a section appears more than once, only its first occurrence is read and written. Likewise, if a
//    key appears more than once in a section, only its first line is read and written.
//
// Writing:
//  - An existing key's line is replaced in place ("storedKey=value", keeping the stored spelling).
//  - A new key goes directly after the last key line of its section (before trailing comments, blank
//    lines and the next section), or directly after the header if the section has no keys yet.
//  - A new section is appended at the end of the file, after a blank line unless the file is empty or
//    already ends with a blank line. The section name is written as given.
//  - Every line that is not changed is written back byte for byte; all line endings become CR LF.
//  - Names and values that would not read back unchanged are refused, and nothing is written:
//    section names that are empty, have leading/trailing spaces or tabs, or contain '[', ']', CR, LF
//    or NUL; keys that are empty, have leading/trailing spaces or tabs, start with ';', or contain '=',
//    '[', ']', CR, LF or NUL; values that contain CR, LF or NUL or have leading/trailing spaces or tabs.
//    Text that is not valid UTF-16 (a lone surrogate) is refused everywhere.
//  - The file is replaced atomically (temporary file in the same folder, then rename). If the existing
//    file cannot be read, or the folder cannot be written, an error is returned and the old file stays.
//
// Reading never fails: a missing or unreadable file, section or key reads as "".
class ProfileFile {
  public:
    using Entry = QPair<QString, QString>;
    using Entries = QList<Entry>;

    ProfileFile() = delete;

    // Sets one key, creating the file and section as needed.
    static Status writeString(const QString& path, const QString& section, const QString& key,
                              const QString& value);

    // Sets several keys of one section in a single atomic replacement. The result is exactly what
    // calling writeString for each entry in order would give; if any entry is refused, nothing is
    // written. An empty list leaves the file untouched.
    static Status writeSection(const QString& path, const QString& section, const Entries& entries);

    // Value of a key, cut with limited(value, limit); "" if the file, section or key is missing.
    static QString readString(const QString& path, const QString& section, const QString& key, int limit);

    // All keys of a section in file order, each key once (its first line). std::nullopt if the file
    // or the section is missing or the file cannot be read. Values are not cut.
    static std::optional<Entries> readSection(const QString& path, const QString& section);

    // The section's entries as readSection gives them, telling a missing file or section (NotFound)
    // from a file that cannot be read (Damaged).
    static Status loadSection(const QString& path, const QString& section, Entries& out);

    // The same operations on a record file's content in memory, exactly as the file functions do
    // them between reading and writing the file.
    static std::optional<Entries> sectionIn(const QByteArray& content, const QString& section);
    static QString valueIn(const QByteArray& content, const QString& section, const QString& key, int limit);
    static Status withSection(const QByteArray& content, const QString& section, const Entries& entries,
                              QByteArray& out);

    // Keeps at most (limit - 1) bytes of the UTF-8 form of value, never splitting a character: a
    // character that does not fit completely is dropped. limit <= 0 means no limit.
    static QString limited(const QString& value, int limit);
};

}  // namespace ms
