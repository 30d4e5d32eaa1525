// DsmCl generator and printer runs: the kestb command line, its report
// read back into the message window, and printing the DSM file.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// The file's bytes from the start, NUL bytes left out.
void ReadWithoutNuls(int fd, std::string& out) {
  out.clear();
  struct stat st;
  if (::fstat(fd, &st) == 0) out.reserve(size_t(st.st_size));
  char chunk[1 << 16];
  for (off_t at = 0;;) {
    ssize_t n = ::pread(fd, chunk, sizeof chunk, at);
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
}

// The line added to the report when the shell could not start kestb or
// kestb did not end by itself; empty otherwise. kestb's own exit codes
// are 0 to 2, so a larger one is the shell's.
std::string RunFailureLine(int status) {
  if (status == -1) return "xkest: kestb could not be run (status -1)";
  if (WIFSIGNALED(status)) return "xkest: kestb was ended by signal " + std::to_string(WTERMSIG(status));
  if (!WIFEXITED(status)) return {};
  int code = WEXITSTATUS(status);
  if (code == 126 || code == 127) return "xkest: kestb could not be run (status " + std::to_string(code) + ")";
  if (code > 128) return "xkest: kestb was ended by signal " + std::to_string(code - 128);
  return {};
}

}  // namespace

int OpenReportFile(const char* path) {
  // O_NOFOLLOW refuses a planted link; once the file is ours, the sticky
  // /tmp keeps others from swapping it before the shell opens it.
  int fd = ::open(path, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) return -1;
  if (!IsOwnLoneFile(fd)) {
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

void DsmCl::RunCodegen(Widget w, XtPointer client, XtPointer call) {
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
  // Every xkest shares the report file: a run waits here, showing the busy
  // cursor, until another window's run and read-back are over, so neither
  // reads the other's report.
  SetBusyCursor(theAppShell, 1);
  while (::flock(report, LOCK_EX) != 0 && errno == EINTR) {
  }
  // A shell that cannot start must not leave an older report to be shown.
  (void)!::ftruncate(report, 0);
  int status = std::system(cmd.c_str());
  // One insertion of the whole report: piecewise insertion with a redraw
  // each grows quadratic when the window is scrolled away from the end.
  std::string text;
  ReadWithoutNuls(report, text);
  ::close(report);
  SetBusyCursor(theAppShell, 0);
  std::string failure = RunFailureLine(status);
  if (!failure.empty()) {
    if (!text.empty() && text.back() != '\n') text += '\n';
    text += failure + "\n";
  }
  // A UTF-8 window would cut the report at its first byte that is no
  // character (a name from a Latin-1 file, say): show such bytes as Latin-1.
  if (XmTextMirror::UnitsOf(theMsg.GetTextWidget()) == TextMirror::Units::kUtf8Chars) text = utf8::Repair(text);
  theMsg.ClearText();
  theMsg.AppendText(text.c_str());
  theMsg.TakeReport(std::move(text), fileName_);
  MarkErrorLines(theMsg.Errors());
}

void DsmCl::Print(Widget, XtPointer, XtPointer) {
  if (fileName_ == kNoDsmFile || fileName_.IsEmpty()) return;
  Str cmd = Str("lpr ") + PathWord(fileName_) + " &";
  // The shell's complaint reaches only a terminal; the dialog says it too.
  if (!OnPath("lpr")) theMsg.ShowMessage(kNoPrinter);
  RunBusyCommand(cmd.c_str());
}
