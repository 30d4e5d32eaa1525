// FileUtil.h: whole-file reading and writing, file and directory tests and
// a few file edits. Routines that can fail take a status flag: they set it
// to 1 on entry and to 0 when they fail, and never print anything.
//
//   int ok;
//   WriteWholeFile("out.dsm", text.c_str(), ok);
//   if (!ok) ShowMessage("Cannot save to filepath ...");
//   char* text = ReadWholeFile("in.dsm");   // null if unreadable; free() it
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// No file larger than this is read whole (1 GiB): a text that size is
// already far past what a text window can show usefully.
inline constexpr uintmax_t kLoadSizeCap = uintmax_t(1) << 30;

// The largest file that is read whole: the smallest of cap and the memory
// the process can still get (room under its address-space and data
// limits, the system's available memory). Each room is UINTMAX_MAX when
// unknown or unlimited.
uintmax_t LoadLimit(uintmax_t cap, uintmax_t addressRoom, uintmax_t dataRoom, uintmax_t memAvailable);
// The same for this process now: kLoadSizeCap, RLIMIT_AS and RLIMIT_DATA
// less what the process uses (/proc/self/statm), and MemAvailable from
// /proc/meminfo.
uintmax_t LoadLimit();

struct FileStamp;

// The file's bytes plus a terminating zero in a malloc'd buffer, or null
// when it cannot be opened, sized or read (or is a directory), or is
// larger than LoadLimit() (its size then goes to *tooLarge, which is left
// 0 otherwise). A file that shrinks while read yields the bytes really
// read, one that grows only the bytes it had when sized. The byte count
// goes to *length when given; the stamp of the very file read (taken from
// the open descriptor) to *stamp.
char* ReadWholeFile(const char* path, size_t* length = nullptr, FileStamp* stamp = nullptr,
                    uintmax_t* tooLarge = nullptr);
// Creates or truncates path and writes text without its terminator.
// Status 0 when the file cannot be opened or the data did not all reach it.
void WriteWholeFile(const char* path, const char* text, int& status);

// 1 for an existing regular file (following links), else 0.
int IsRegularFile(const char* path);
// 1 for an existing directory, else 0.
int IsDirectory(const char* path);

// The folder part of a path ("." for a bare name, "/" at the root) and its
// last component.
std::string FolderOf(const std::string& path);
std::string LeafOf(const std::string& path);

// Letters, digits and "-_.".
bool IsFileNameChar(char c);
// File-name characters plus "~/".
bool IsPathChar(char c);
// 1 for a non-empty string of file-name (path) characters only.
int IsFileName(const char* s);
int IsPathName(const char* s);

// Creates or truncates path as an empty file.
void CreateEmptyFile(const char* path, int& status);
// mkdir with mode 0777 (less the umask).
void MakeDirectory(const char* path, int& status);
// Adds text at the end of path, creating it when missing.
void AppendToFile(const char* path, const char* text, int& status);
// Puts text before the old contents of path, creating it when missing. The
// old contents are kept unless the new file is complete.
void PrependToFile(const char* path, const char* text, int& status);
// Copies source to dest (names non-empty, not the same file).
void CopyFile(const char* dest, const char* source, int& status);
// Replaces the lines between the first two lines of target that begin with
// marker by the whole insert file; the marker lines stay. Does nothing when
// status is already 0; status 0 and target unchanged when either file is
// not a regular file, a marker line is missing, or writing fails.
void ReplaceFileSection(const char* target, const char* insert,
                        const char* marker, int& status);
