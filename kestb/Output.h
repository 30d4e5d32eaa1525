// Output: writing generated files whole, with optional backups.
//
// A file is written to a temporary file in the same folder and renamed
// over the old one, so a failed or interrupted run never leaves a partly
// written file (nor, when it is interrupted by a signal, the temporary). With backups on, the old version is first renamed to its
// backup name, chosen by the -backext pairs:
//
//   kestb::BackupRules r = kestb::ParseBackupExts("C bkC h bkh");
//   kestb::BackupName("shop.h", r)      // "shop.bkh"
//   kestb::BackupName("shop.txt", r)    // "shop.txt.bak": no pair for txt
//
// A word left over after the pairs (e.g. the single word ".bak") is the
// backup extension for every extension that has no pair of its own.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestb {

struct BackupRules {
  std::vector<std::pair<std::string, std::string>> pairs;  // ext -> backup ext
  std::string fallback = "bak";  // appended for extensions without a pair
};

// Words split at blanks and commas; a leading '.' of a word is ignored.
BackupRules ParseBackupExts(std::string_view list);

// The backup file name for a file name (folders are kept as they are).
// The extension is replaced by its paired backup extension; without a
// pair, or when that would give the file's own name, the fallback is
// appended to the whole name instead.
std::string BackupName(const std::string& fileName, const BackupRules& rules);

// The name with the backup extension appended rather than substituted,
// for when two files of one run would share a backup ("a.h" and "a.hxx"
// under "h bkh hxx bkh").
std::string LongBackupName(const std::string& fileName,
                           const BackupRules& rules);

// Why a backup extension list cannot be used, or empty when it can: an
// extension that holds a '/' or a control character would name a file
// outside the output folder or break the report's lines.
std::string BackupExtsProblem(const BackupRules& rules);

struct WriteResult {
  bool ok = false;
  bool backedUp = false;   // an old version was kept under backupPath
  bool unchanged = false;  // the file held the new content already: left alone
  std::string error;       // why not, when !ok
};

// One file on its way: Open makes a temporary file beside path, Append
// adds to it (buffered), Close flushes it to disk, SetBackup names where
// the old version goes, and Commit keeps the old version (when a backup
// is set and path exists) and renames the temporary over path. A file
// whose old content equals the new is left as it is, not even touched:
// Close finds that out and drops the temporary, and Commit then only
// says so. A run writes every temporary first and commits only when all
// were written, so it writes all of its files or none. A temporary not
// committed is removed by the destructor, or by the handlers of
// HandleFatalSignals.
class PendingFile {
 public:
  PendingFile() = default;
  PendingFile(PendingFile&& other) noexcept;
  PendingFile& operator=(PendingFile&&) = delete;
  ~PendingFile();

  WriteResult Open(const std::string& path);
  // After a failed write the rest is dropped, and Close says why.
  void Append(std::string_view text);
  WriteResult Close();
  WriteResult SetBackup(const std::string& backupPath);
  WriteResult Commit();

  // Open, SetBackup, Append and Close.
  WriteResult Write(const std::string& path, std::string_view content,
                    const std::string& backupPath);

 private:
  void Discard();
  bool Flush();
  bool SameAsOld();

  std::string path_, tmp_, backupPath_;
  bool exists_ = false;
  bool unchanged_ = false;
  int fd_ = -1;
  int writeErrno_ = 0;  // the first write that failed
  size_t nameMax_ = 255;
  unsigned long long size_ = 0;  // bytes handed to Append
  std::string buffer_;
};

// For tests: a hook that may fail the renames of a commit: it is asked
// before each and returns an errno value to make that one fail (0 lets it
// run). Null removes it; returns the hook it replaces.
enum class CommitStep {
  kKeepOld,  // the old version to its backup name
  kReplace,  // the temporary over the file
  kPutBack,  // the backup back to the file's name, the replace having failed
};
using CommitHook = int (*)(CommitStep step);
CommitHook SetCommitHookForTests(CommitHook hook);

// Commits every file with SIGINT, SIGTERM, SIGHUP and SIGPIPE held back,
// so that a signal takes effect after the last rename: all files or none.
std::vector<WriteResult> CommitAll(std::vector<PendingFile>& files);

// Replaces path with content (Write and Commit). On failure the old file is
// where it was and no temporary file remains.
WriteResult WriteWhole(const std::string& path, std::string_view content,
                       const std::string& backupPath);

// For the program, not the library: SIGINT, SIGTERM, SIGHUP and SIGPIPE remove the
// temporary files of unfinished writes before the signal ends the process,
// and SIGXFSZ is ignored so that passing the file-size limit fails the
// write (EFBIG) instead of killing the run.
void HandleFatalSignals();

}  // namespace kestb
