// XmpText.h: the text arithmetic of the message widget, free of X: joining
// the pieces a warning printer receives, counting lines, and deciding how
// much of an old text to drop when a new message would reach the line limit.
//
//   char* s = XmpConcatStrings("Xmp Warning: ", name, (char*)nullptr);
//   int n = XmpCountLines(s);   // 1 plus the number of newlines
//   XtFree(s);
#pragma once

#include <cstdarg>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

extern "C" {
// Joins the strings up to the first null one into one new string (free it
// with XtFree). A null first string gives "".
char* XmpConcatStrings(const char* first, ...);

// 1 plus the number of newline characters; null or "" count as one line.
int XmpCountLines(const char* s);
}

namespace xmp {

// Joins first and the strings of rest up to a null one.
std::string JoinPieces(const char* first, va_list rest);

// 1 plus the number of newline characters of s.
long CountLines(std::string_view s);

// Where the message widget cuts text before appending a message of
// messageLines lines, keeping at most maxLines lines once the note of
// noteLines lines replaces the dropped head. Returns the byte offset of the
// end of the part to drop (the newline there stays), or nothing when text
// and message together stay below maxLines.
std::optional<std::size_t> CutEnd(std::string_view text, long messageLines,
                                  long maxLines, long noteLines);

// The character position of byteOffset in the multibyte text, as Motif's
// text positions count characters, not bytes. Invalid sequences count one
// character per byte so the result never passes the text's end.
long CharPosition(std::string_view text, std::size_t byteOffset);

// s with every byte that does not begin a valid character of the current
// multibyte locale replaced by '?'. Motif's text stops inserting at the
// first such byte, which would drop the rest of a message (a file name in
// another encoding, say). Unchanged in single-byte locales.
std::string ValidMultibyte(std::string_view s);

}  // namespace xmp
