// DsmCl generator and printer runs: the kestb command line, its report
// read back into the message window, and printing the DSM file.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/Application.h"
#include "app/DsmCl.h"
#include "app/MsgCl.h"
#include "app/OptsCl.h"
#include "app/ShellQuote.h"
#include "support/Utf8.h"

namespace {

constexpr const char* kSaveFirst = "Please save the DSM file before generating code";
constexpr const char* kReportUnsafe =
    "The report file /tmp/kestout.txt is a link or belongs to another user: "
    "the generator was not run";

constexpr const char* kNoPrinter = "Cannot print: the command lpr was not found";

// Another run (of this or another xkest of the user's) holds the report
// file: the run waits for it without stopping the window, and says so
// once the wait is longer than a moment.
constexpr const char* kWaitingForReport = "Another run is writing /tmp/kestout.txt; waiting...";
constexpr unsigned long kLockRetryMs = 100;
constexpr int kTriesBeforeSaying = 20;

// Whether the shell would find program on PATH (an empty entry is the
// working folder).
bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string_view rest = path ? path : "";
  for (;;) {
    size_t colon = rest.find(':');
    std::string dir(rest.substr(0, colon));
    std::string file = (dir.empty() ? "." : dir) + "/" + program;
    struct stat st;
    if (stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(file.c_str(), X_OK) == 0) return true;
    if (colon == std::string_view::npos) return false;
    rest.remove_prefix(colon + 1);
  }
}

// An empty value is written '' so that it stays a word of its own: left
// out, it would shift every later argument (an empty output folder would
// be read as the next option).
Str Word(const Str& value) {
  if (value.IsEmpty()) return Str("''");
  return Str(xkest::ShellWord(value.c_str()).c_str());
}
Str PathWord(const Str& path) {
  if (path.IsEmpty()) return Str("''");
  return Str(xkest::PathWord(path.c_str()).c_str());
}

const char* TrueFalse(int flag) { return flag ? "true " : "false "; }

// Inside double quotes the shell still reads " \ $ and `; a value holding
// one of them is quoted as a whole instead.
Str QuotedBackupExts(const Str& exts) {
  for (const char* p = exts.c_str(); *p; ++p)
    if (*p == '"' || *p == '\\' || *p == '$' || *p == '`') return Word(exts);
  return Str("\"") + exts + "\"";
}

}  // namespace

Str KestbCommandLine(const Str& dsmFile, const OptsCl& opts) {
  Str cmd("kestb ");
  cmd += PathWord(dsmFile) + " ";
  cmd += PathWord(opts.GetTemplatePath()) + " ";
  cmd += PathWord(opts.GetOutputDir()) + " ";
  cmd += "-nb ";
  cmd += "-noini ";
  cmd += Str("-homedir ") + PathWord(opts.GetHomeDir()) + " ";
  cmd += Str("-showfiles ") + TrueFalse(opts.GetShowFiles());
  cmd += Str("-showsummary ") + TrueFalse(opts.GetShowSummary());
  cmd += Str("-nokwada ") + TrueFalse(opts.GetNoAdaKeywords());
  cmd += Str("-nokwcxx ") + TrueFalse(opts.GetNoCxxKeywords());
  cmd += Str("-ttrace ") + TrueFalse(opts.GetTemTrace());
  cmd += Str("-makebak ") + TrueFalse(opts.GetMakeBackups());
  cmd += Str("-backext ") + QuotedBackupExts(opts.GetBackupExts());
  cmd += Str(" > ") + kReportFile;
  return cmd;
}

namespace {

// A regular file of this user with no other name: another user cannot
// have planted it as a link to a file of ours.
bool IsOwnLoneFile(int fd) {
  struct stat st;
  return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && st.st_nlink == 1;
}

// The file's bytes from the start, NUL bytes left out, up to what can be
// held in memory; false when the file holds more than that.
bool ReadWithoutNuls(int fd, std::string& out) {
  out.clear();
  uintmax_t limit = LoadLimit();
  struct stat st;
  if (::fstat(fd, &st) == 0) out.reserve(size_t(std::min(uintmax_t(st.st_size), limit)));
  char chunk[1 << 16];
  for (off_t at = 0;;) {
    if (uintmax_t(at) >= limit) {
      char probe;
      return ::pread(fd, &probe, 1, at) <= 0;
    }
    ssize_t n = ::pread(fd, chunk, size_t(std::min(uintmax_t(sizeof chunk), limit - uintmax_t(at))), at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    at += n;
    const char* p = chunk;
    const char* end = chunk + n;
    while (p < end) {
      const char* nul = static_cast<const char*>(std::memchr(p, '\0', size_t(end - p)));
      out.append(p, nul ? nul : end);
      p = nul ? nul + 1 : end;
    }
  }
  return true;
}

}  // namespace

// kestb's own exit codes are 0 to 2, so a larger one is the shell's.
std::string RunFailureLine(int status) {
  if (status == -1) return "xkest: kestb could not be run (status -1)";
  if (WIFSIGNALED(status)) return "xkest: kestb was ended by signal " + std::to_string(WTERMSIG(status));
  if (!WIFEXITED(status)) return {};
  int code = WEXITSTATUS(status);
  if (code == 126 || code == 127) return "xkest: kestb could not be run (status " + std::to_string(code) + ")";
  if (code > 128) return "xkest: kestb was ended by signal " + std::to_string(code - 128);
  return {};
}

int OpenReportFile(const char* path) {
  // O_NOFOLLOW refuses a planted link; once the file is ours, the sticky
  // /tmp keeps others from swapping it before the shell opens it. Reports
  // are the user's own: no one else may read them, nor open the file to
  // hold its lock.
  int fd = ::open(path, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  struct stat st;
  if (!IsOwnLoneFile(fd) || ::fstat(fd, &st) != 0 ||
      ((st.st_mode & 07777) != 0600 && ::fchmod(fd, 0600) != 0)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool PrepareReportFile(const char* path) {
  int fd = OpenReportFile(path);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

bool ReadReportFile(const char* path, std::string& out) {
  out.clear();
  int fd = ::open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = IsOwnLoneFile(fd);
  if (ok) ReadWithoutNuls(fd, out);
  ::close(fd);
  return ok;
}

namespace {

// A run waiting for the report file's lock, tried again from a timer so
// that the window keeps answering; what it runs once it has the lock.
struct WaitingRun {
  int report = -1;
  Str cmd;
  Str dsmFile;
  XtIntervalId timer = 0;
  int tries = 0;
};
std::optional<WaitingRun> waiting;

// True when the lock is taken, or cannot be had at all (as a file system
// without locks): the run then goes on unguarded, as it always could.
bool TryLock(int fd) {
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EINTR) return errno != EWOULDBLOCK;
  }
}

// The run, once it holds the report file: kestb into the file, then the
// report into the message window.
void RunLocked(int report, const Str& cmd, const Str& dsmFile) {
  // A shell that cannot start must not leave an older report to be shown.
  (void)!::ftruncate(report, 0);
  int status = std::system(cmd.c_str());
  // One insertion of the whole report: piecewise insertion with a redraw
  // each grows quadratic when the window is scrolled away from the end.
  std::string text;
  bool whole = ReadWithoutNuls(report, text);
  ::close(report);
  SetBusyCursor(theAppShell, 0);
  std::string failure = RunFailureLine(status);
  if (!whole) failure = "xkest: the report is cut at " + std::to_string(text.size()) + " bytes";
  if (!failure.empty()) {
    if (!text.empty() && text.back() != '\n') text += '\n';
    text += failure + "\n";
  }
  // A UTF-8 window would cut the report at its first byte that is no
  // character (a name from a Latin-1 file, say): show such bytes as Latin-1.
  if (XmTextMirror::UnitsOf(theMsg.GetTextWidget()) == TextMirror::Units::kUtf8Chars) text = utf8::Repair(text);
  theMsg.ClearText();
  theMsg.AppendText(text.c_str());
  theMsg.TakeReport(std::move(text), dsmFile);
  // Another file may have been opened while the run waited.
  if (theDsm.GetFileName() != dsmFile || !theDsm.GetHasFileName())
    theMsg.MatchErrors(theDsm.GetHasFileName() ? theDsm.GetFileName() : Str());
  theDsm.MarkErrorLines(theMsg.Errors());
}

void StopWaiting() {
  if (!waiting) return;
  if (waiting->timer) XtRemoveTimeOut(waiting->timer);
  waiting.reset();
  theMsg.EndCancellable();
}

void CancelWaitingRun(Widget, XtPointer, XtPointer) {
  if (!waiting) return;
  ::close(waiting->report);
  StopWaiting();
  SetBusyCursor(theAppShell, 0);
}

void RetryLock(XtPointer, XtIntervalId*) {
  if (!waiting) return;
  waiting->timer = 0;
  if (TryLock(waiting->report)) {
    WaitingRun run = *waiting;
    StopWaiting();
    RunLocked(run.report, run.cmd, run.dsmFile);
    return;
  }
  if (++waiting->tries == kTriesBeforeSaying) theMsg.ShowCancellable(kWaitingForReport, CancelWaitingRun);
  waiting->timer = XtAppAddTimeOut(XtWidgetToApplicationContext(theAppShell), kLockRetryMs, RetryLock, nullptr);
}

}  // namespace

void DsmCl::RunCodegen(Widget w, XtPointer client, XtPointer call) {
  // One run at a time: asked again, the waiting one says so.
  if (waiting) {
    theMsg.ShowCancellable(kWaitingForReport, CancelWaitingRun);
    return;
  }
  if (!hasFileName_) {
    theMsg.ShowMessage(kSaveFirst);
    return;
  }
  // The generator reads the file: the text must be what it reads, or what
  // the user chose to write over it.
  if (ChangedOnDisk()) {
    if (modified_) {
      AskChangedOnDisk(true);
      return;
    }
    if (!ReloadFromDisk()) return;
  }
  Save(w, client, call);
  int report = OpenReportFile(kReportFile);
  if (report < 0) {
    theMsg.ShowMessage(kReportUnsafe);
    return;
  }
  Str cmd = KestbCommandLine(fileName_, theOpts);
  if (std::getenv("KESTBTRACE")) {
    std::printf("\n%s\n", cmd.c_str());
    std::fflush(stdout);
  }
  // Every xkest shares the report file: a run waits, showing the busy
  // cursor, until another window's run and read-back are over, so neither
  // reads the other's report.
  SetBusyCursor(theAppShell, 1);
  if (TryLock(report)) {
    RunLocked(report, cmd, fileName_);
    return;
  }
  if (!theAppShell) {  // no event loop to wait in
    ::close(report);
    return;
  }
  waiting = WaitingRun{report, cmd, fileName_, 0, 0};
  waiting->timer = XtAppAddTimeOut(XtWidgetToApplicationContext(theAppShell), kLockRetryMs, RetryLock, nullptr);
}

void DsmCl::Print(Widget, XtPointer, XtPointer) {
  if (fileName_ == kNoDsmFile || fileName_.IsEmpty()) return;
  Str cmd = Str("lpr ") + PathWord(fileName_) + " &";
  // The shell's complaint reaches only a terminal; the dialog says it too.
  if (!OnPath("lpr")) theMsg.ShowMessage(kNoPrinter);
  RunBusyCommand(cmd.c_str());
}
