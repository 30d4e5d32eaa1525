// SaveCopy.h: the complete copy of the new text that a save rewriting a
// file in place keeps beside it until the rewrite is done, and finding
// such a copy that an interrupted save (a kill, a crash, a power cut)
// left behind, so the text it holds can be offered again.
//
//   FileStamp stamp;
//   char* text = ReadWholeFile("model.dsm", &length, &stamp);
//   SaveCopy copy = FindSaveCopy("model.dsm", stamp, {text, length});
//   if (copy.found) { ask; ReadSaveCopy(copy, newText); ... RemoveSaveCopy(copy); }
//
// The copy is named ".NAME.XXXXXX" in the file's folder (".xkest.XXXXXX"
// for a name too long to take a suffix) and ends with one trailer line
// that makes it checkable for completeness and ties it to its file:
//
//   "\n#xkest-save length=N fnv1a64=HEX16 dev=D ino=I\n"
//
// N bytes of text come before it, with the FNV-1a 64-bit checksum HEX16;
// D and I are the device and inode of the file it was written for.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "support/FileStamp.h"

// The start of a temporary or copy name for a file named base.
std::string SaveCopyStem(const std::string& base);

// The trailer line that closes the copy of text made for the file with
// device dev and inode ino.
std::string SaveCopyTrailer(std::string_view text, dev_t dev, ino_t ino);

struct SaveCopy {
  bool found = false;
  std::string path;  // in the folder of the file it belongs to
  dev_t dev = 0;     // the copy's own device and inode, so that the name
  ino_t ino = 0;     // meaning another file later is noticed
  size_t length = 0; // of the text, without the trailer
};

// The newest complete copy beside path (links followed) that was made for
// the file stamp describes, is the user's own, a regular file with one
// link, at most maxBytes long, and holds a text other than current (a
// copy equal to the file is what a save that finished left).
SaveCopy FindSaveCopy(const char* path, const FileStamp& stamp, std::string_view current,
                      size_t maxBytes);

// The text of the copy found, without its trailer; false when its name now
// names another file or it is no longer complete.
bool ReadSaveCopy(const SaveCopy& copy, std::string& text);

// Removes the copy when its name still names it; true when it is gone.
bool RemoveSaveCopy(const SaveCopy& copy);
