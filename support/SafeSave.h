// SafeSave.h: writing a whole text over a file so that a failure at any
// point (full disk, short write, failing close) leaves the file with either
// its old or its complete new content, never a truncated one (for a crash
// during a rewrite in place, see below).
//
//   SaveResult r = SafeSave("model.dsm", text, length);
//   if (!r.ok) ShowMessage("Cannot save to filepath model.dsm: " + SaveFailureText(r));
//
// The new content goes into a temporary file in the target's folder, is
// flushed to disk and renamed over the target, which keeps its permission
// bits (and owner where the system allows). A symbolic link is followed:
// the file it names is replaced, the link stays. A link that belongs to
// another user (neither the saver nor root) is refused, as the kernel's
// protected links refuse it in sticky folders. Such a save is atomic: a
// crash leaves the old or the new file.
//
// Three targets are rewritten in place instead: a file with several hard
// links (a rename would split them), another user's writable file that
// the new copy could not be given back to (a rename would take it from
// its owner, and a sticky folder refuses it), and a writable file in a
// folder the user may not write (no temporary file can be made beside
// it). The new length is reserved first, so a full disk stops the save
// before a byte of the file changes; should a write still fail, the old
// bytes are put back. Where a temporary file could be made, the new
// content is first written and flushed to it, and it guards that content
// while the file is rewritten. A disk without room for that copy (or for
// the copy and the growth together) still takes the save when it has room
// for the growth: the file is then rewritten with its old bytes held in
// memory, and a failing write puts them back.
//
// An in-place rewrite cannot be atomic: a crash or kill during it leaves
// the file part new, part old. The guarding copy then stays beside it,
// complete and marked so that it can be found and offered
// (support/SaveCopy.h).
//
// The write goes to the very file that was checked: the folder is held
// open from the check on, the file is opened in it without following a
// link, and a file whose device, inode, link count or owner changed since
// the check is refused (replaced is set) with nothing written to it.
#pragma once

#include <cstddef>
#include <string>

#include "support/FileStamp.h"

struct SaveResult {
  bool ok = false;
  // The errno value that stopped the save.
  int error = 0;
  // The name was made to name another file (a link, a renamed file)
  // between the check and the write; nothing was written.
  bool replaced = false;
  // The path runs through a symbolic link owned by neither the saver nor
  // root; it is never followed, and nothing was written.
  bool foreignLink = false;
  // A temporary file left holding the complete new text, because the
  // target could not be brought back to its old content; empty otherwise.
  std::string keptCopy;
  // On success, the stamp of the file written, taken from its descriptor.
  FileStamp stamp;
};

// Writes length bytes of data over path as described above. Prints nothing.
// On failure the target keeps its old content (keptCopy empty) and no
// temporary file is left.
SaveResult SafeSave(const char* path, const char* data, size_t length);

// Why a save failed, for the end of a message: the system's text for the
// error, "the file was replaced while it was being saved", or "it is a
// link that belongs to another user".
std::string SaveFailureText(const SaveResult& r);

// SafeSave with a status flag: 1 when every byte reached the disk, else 0.
void SafeWriteWholeFile(const char* path, const char* data, size_t length, int& status);

// The file a path finally names after following symbolic links (at most
// 40); the path itself when it is no link. A dangling link gives the
// missing file it names. Empty when the chain loops or cannot be read.
std::string ResolveLinks(const std::string& path);

// ResolveLinks that stops at a link owned by neither the effective user
// nor root: empty, with foreign set.
std::string ResolveOwnLinks(const std::string& path, bool& foreign);

// For tests: points of a save where a hook may step in (swap a name, hold
// the process for a kill). A hook that returns an errno value makes that
// step fail with it. One hook at a time; null removes it. Returns the
// hook it replaces.
enum class SaveStep {
  kBeforeInPlaceOpen,  // the checks are done; the file is about to be opened
  kTemporaryWrite,     // the text is in the temporary file, not yet flushed
  kInPlaceWrite,       // between two chunks (of 1 MiB) of an in-place rewrite
};
using SaveHook = int (*)(SaveStep step, const char* target);
SaveHook SetSaveHookForTests(SaveHook hook);
