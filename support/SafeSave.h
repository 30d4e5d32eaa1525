// SafeSave.h: writing a whole text over a file so that a failure at any
// point (full disk, short write, failing close, a crash) leaves the file
// with either its old or its complete new content, never a truncated one.
//
//   int ok;
//   SafeWriteWholeFile("model.dsm", text, length, ok);
//   if (!ok) ShowMessage("Cannot save to filepath model.dsm");
//
// The new content goes into a temporary file in the target's folder, is
// flushed to disk and renamed over the target, which keeps its permission
// bits (and owner where the system allows). A symbolic link is followed:
// the file it names is replaced, the link stays. A file with several hard
// links is rewritten in place, but only after the new content was written
// and flushed to the temporary file, so all links keep seeing one file.
#pragma once

#include <cstddef>
#include <string>

// Status 1 when every byte reached the disk, else 0 (and the target keeps
// its old content; for a hard-linked target whose in-place rewrite failed,
// the new content stays in the temporary file). Prints nothing.
void SafeWriteWholeFile(const char* path, const char* data, size_t length, int& status);

// The file a path finally names after following symbolic links (at most
// 40); the path itself when it is no link. A dangling link gives the
// missing file it names. Empty when the chain loops or cannot be read.
std::string ResolveLinks(const std::string& path);
