#pragma once
#include <QByteArray>
#include <QString>
#include <vector>

#include "base/Status.h"

namespace ms {

// A set of files replaced as one unit through a journal.
//
// Each new content is first written whole to a temporary name in its target's folder (replaceFile:
// flushed and checked). Then a journal naming every temporary, its target and the temporary's
// identity (size, inode number, modification time in nanoseconds) is written, also with
// replaceFile. Only then are the temporaries renamed over their targets, in the order given, and
// the journal removed. A rename keeps the identity, so recovery can tell a file that was put in
// place from one that was not, without reading either. The folders are synced after the
// temporaries, after the journal and after the renames, so that the journal never outlives its
// temporaries and never goes before the renames it describes.
//
// The journal is the point of decision: without it nothing but temporaries has been written and
// the targets are as they were; with it the replacement is completed (recoverJournal), unless a
// temporary is missing or changed, in which case the temporaries are removed instead.
//
// Journal (UTF-8 text, LF line ends), paths relative to the base folder with '/' separators:
//   ms-staged-files 2
//   <size> TAB <inode> TAB <mtime ns> TAB <temporary> TAB <target>   one line a file, renaming order
//   end TAB <file count> TAB <SHA-256 hex of every byte before this line>
// A journal that does not end with its end line, or whose end line does not match, is not whole.

struct StagedFile {
    QString target;     // absolute path below the base folder
    QString temporary;  // absolute path in the target's folder
    QByteArray content;
};

// A pair of names a journal may give: what recovery is allowed to rename or remove.
struct StagedPair {
    QString temporary, target;
};

// Writes each content to its temporary, then the journal. A target that exists and is not a plain
// file (a folder, a link) is refused before anything is written. On a failure the temporaries
// written so far are removed, no journal is left and the targets are untouched (WriteFailed).
Status stageFiles(const QString& journal, const QString& base, const std::vector<StagedFile>& files);

// stageFiles, then each temporary renamed over its target and the journal removed. A rename that
// fails (after the journal, so all temporaries are in their folders) leaves the journal in place:
// recoverJournal finishes the replacement once the obstacle is gone (WriteFailed until then).
Status replaceTogether(const QString& journal, const QString& base, const std::vector<StagedFile>& files);

// Settles the replacement `journal` describes, if there is one. A whole journal that names only
// `allowed` pairs, each of whose files is either in place already or still in its temporary as
// written, is completed: the remaining temporaries are renamed over their targets. Otherwise (a
// journal cut short or damaged, a pair that is not allowed, a temporary missing or changed) every
// temporary of `allowed` is removed and the targets stay as they are. Both end by removing the
// journal; a rename or removal that fails keeps it (WriteFailed). Damaged when a temporary is
// missing although others were put in place already: neither the old nor the new set is whole
// (only something else removing a temporary gets there); the journal and temporaries are removed
// and the caller decides what becomes of the targets.
Status recoverJournal(const QString& journal, const QString& base, const std::vector<StagedPair>& allowed);

// Removes the name `path` if it is a regular file or a link (the link, never what it points to);
// folders and anything else stay. True when nothing of that kind is left at the name.
bool removeFileOrLink(const QString& path);

// Whether `name` is the name an interrupted atomic write of `target` (a file name, no folder)
// leaves behind: the target's name, a dot and six letters or digits. Such a write streams into
// that name and renames it over the target; killed in between, the file stays.
bool isAtomicWriteLeftover(const QString& name, const QString& target);

}  // namespace ms
