// TempDir: a scratch folder for one test, removed with everything in it
// afterwards, and the small file and shell helpers tests use around it.
// Header only and free of X, so tests of pure code use it too.
//
//   xk::test::TempDir dir;
//   std::string path = dir.Write("templates/a.tem", "@# template\n");
//   EXPECT_EQ(xk::test::Slurp(path), "@# template\n");
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace xk::test {

// The whole content of a file, byte for byte; "" when it cannot be read.
inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs a shell command and returns its standard output; its wait status
// goes to *status when asked for (-1 when it could not start).
inline std::string Shell(const std::string& command, int* status = nullptr) {
  std::string out;
  int st = -1;
  if (FILE* f = popen(command.c_str(), "r")) {
    char buf[512];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    st = pclose(f);
  }
  if (status) *status = st;
  return out;
}

class TempDir {
 public:
  // A new folder in the system's temporary folder, its name starting with
  // stem, so a folder left by a killed test says which one left it.
  explicit TempDir(std::string_view stem = "xktest") {
    std::string tmpl = (std::filesystem::temp_directory_path() / stem).string() + "XXXXXX";
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a folder like " + tmpl);
    path_ = tmpl;
  }
  // Only by the process that made it: a forked child that exits (a death
  // test, say) must not take the folder from under its parent.
  ~TempDir() {
    std::error_code ec;
    if (getpid() == owner_) std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  std::string At(std::string_view rel) const { return path_ + "/" + std::string(rel); }
  std::string operator/(std::string_view rel) const { return At(rel); }

  // Writes text to the relative path, making its folders; returns the path.
  std::string Write(std::string_view rel, std::string_view text, bool executable = false) const {
    std::string path = At(rel);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    std::ofstream(path, std::ios::binary) << text;
    if (executable) chmod(path.c_str(), 0755);
    return path;
  }

  // Writes a script at rel that stands in for a tool (an editor, a
  // browser): it writes its arguments, one a line, to record, which
  // appears only once complete. Returns the script's path.
  std::string WriteRecorder(std::string_view rel, const std::string& record) const {
    return Write(rel,
                 "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record + ".tmp'\nmv '" + record + ".tmp' '" +
                     record + "'\n",
                 true);
  }

 private:
  std::string path_;
  pid_t owner_ = getpid();
};

}  // namespace xk::test
