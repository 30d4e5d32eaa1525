// xkestcmd_fuzz.cpp: the whole generator command line that xkest builds
// and hands to /bin/sh. The input holds the option values (DSM path,
// template, output folder, home folder, backup list; NUL-separated) after
// a byte of switches. The line must hold only words the shell reads
// literally; /bin/sh itself then reads it back, and it must give exactly
// the values given, empty ones included (a path starting with '-' as
// "./-path", so it is no option), and kestb's parser must take them as
// those values.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/DsmCl.h"
#include "app/OptsCl.h"
#include "fuzz/FuzzSupport.h"
#include "kestb/Options.h"

namespace {

// The words of a line as /bin/sh reads them, for the subset of shell
// syntax the line may use: blanks between words, '...' and "..." quoting
// (no $ ` \ inside double quotes) and backslash escapes outside quotes.
// False on anything else, so nothing unchecked ever reaches the shell.
bool ReadWords(std::string_view line, std::vector<std::string>& words) {
  bool inWord = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == ' ') {
      inWord = false;
      continue;
    }
    if (!inWord) words.emplace_back();
    inWord = true;
    std::string& w = words.back();
    if (c == '\'' || c == '"') {
      const size_t close = line.find(c, i + 1);
      if (close == std::string_view::npos) return false;
      std::string_view body = line.substr(i + 1, close - i - 1);
      if (c == '"' && body.find_first_of("$`\\") != std::string_view::npos) return false;
      w.append(body);
      i = close;
    } else if (c == '\\') {
      if (++i == line.size()) return false;
      w += line[i];
    } else if (std::strchr("\t\n$`;|&<>()*?[]#~{}!", c)) {
      return false;
    } else {
      w += c;
    }
  }
  return true;
}

// The words /bin/sh makes of args (a line of shell words), NUL-separated
// by its printf, run with an empty environment.
std::optional<std::vector<std::string>> ShellWords(const std::string& args) {
  int out[2];
  if (::pipe(out) != 0) return std::nullopt;
  const std::string script = "printf '%s\\0' " + args;
  // posix_spawn, not fork: copying the sanitizer's address space per input
  // would cut the runs a second to a few dozen.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, out[1]);
  char* const argv[] = {const_cast<char*>("sh"), const_cast<char*>("-c"),
                        const_cast<char*>(script.c_str()), nullptr};
  char* const envp[] = {nullptr};
  pid_t pid = -1;
  const int spawned = ::posix_spawn(&pid, "/bin/sh", &actions, nullptr, argv, envp);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    ::close(out[0]);
    ::close(out[1]);
    return std::nullopt;
  }
  ::close(out[1]);
  std::string text;
  char buf[4096];
  // libFuzzer's timer signal interrupts the reads and the wait.
  for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    text.append(buf, size_t(n));
  }
  ::close(out[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  std::vector<std::string> words;
  for (size_t b = 0, e; (e = text.find('\0', b)) != std::string::npos; b = e + 1) {
    words.push_back(text.substr(b, e - b));
  }
  return words;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const unsigned flags = data[0];
  std::vector<std::string> v(1);
  for (size_t i = 1; i < size; ++i) {
    if (data[i] == 0) {
      v.emplace_back();
    } else {
      v.back() += static_cast<char>(data[i]);
    }
  }
  v.resize(5);
  const std::string &dsm = v[0], &tem = v[1], &out = v[2], &home = v[3], &exts = v[4];
  OptsCl opts;
  opts.SetTemplatePath(tem.c_str());
  opts.SetOutputDir(out.c_str());
  opts.SetHomeDir(home.c_str());
  opts.SetBackupExts(exts.c_str());
  opts.SetShowFiles(flags & 1);
  opts.SetShowSummary((flags >> 1) & 1);
  opts.SetNoAdaKeywords((flags >> 2) & 1);
  opts.SetNoCxxKeywords((flags >> 3) & 1);
  opts.SetTemTrace((flags >> 4) & 1);
  opts.SetMakeBackups((flags >> 5) & 1);
  const std::string line = KestbCommandLine(dsm.c_str(), opts).c_str();

  const std::string head = "kestb ", tail = std::string(" > ") + kReportFile;
  FUZZ_CHECK(line.compare(0, head.size(), head) == 0);
  FUZZ_CHECK(line.size() >= head.size() + tail.size() &&
             line.compare(line.size() - tail.size(), tail.size(), tail) == 0);
  const std::string args = line.substr(head.size(), line.size() - head.size() - tail.size());

  auto b = [flags](int bit) { return std::string((flags >> bit) & 1 ? "true" : "false"); };
  auto path = [](const std::string& p) { return !p.empty() && p[0] == '-' ? "./" + p : p; };
  const std::vector<std::string> want = {
      path(dsm), path(tem), path(out), "-nb", "-noini", "-homedir", path(home), "-showfiles", b(0),
      "-showsummary", b(1), "-nokwada", b(2), "-nokwcxx", b(3), "-ttrace", b(4),
      "-makebak", b(5), "-backext", exts};
  std::vector<std::string> words;
  FUZZ_CHECK(ReadWords(args, words));
  FUZZ_CHECK(words == want);
  std::optional<std::vector<std::string>> shell = ShellWords(args);
  FUZZ_CHECK(shell && *shell == want);

  // kestb takes the words as the values. (A -backext list starting with
  // '-' is taken as the list: an option's value is never an option.)
  std::string error;
  std::optional<kestb::Options> o = kestb::ParseCommandLine(want, error);
  if (!o) {  // only a backup list kestb refuses
    FUZZ_CHECK(((flags >> 5) & 1) && error.rfind("-backext: ", 0) == 0);
    return 0;
  }
  FUZZ_CHECK(o->dsm == path(dsm) && o->tem == path(tem) && o->outDir == path(out) &&
             o->homeDir == path(home) && o->backupExts == exts && o->makeBackups == (((flags >> 5) & 1) != 0));
  return 0;
}
