// Generator: reading inputs, running the checks and writing the outputs.
#include "kestb/Generator.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <optional>
#include <map>
#include <set>
#include <string_view>
#include <tuple>

#include "kestb/Diagnostics.h"
#include "kestb/Dsm.h"
#include "kestb/Options.h"
#include "kestb/Output.h"
#include "kestb/Template.h"

namespace kestb {
namespace {

constexpr size_t kMaxErrorsShown = 200;

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A file name as templates may repeat it in a generated comment: a control
// character (a newline in the name) would end the comment, and a trailing
// backslash would continue it onto the next generated line.
std::string Printable(const std::string& name) {
  return WithoutContinuation(CommentSafe(name, '?'));
}

std::string DirName(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Join(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  return dir.back() == '/' ? dir + name : dir + "/" + name;
}

// Reads a whole regular file; on failure returns nullopt and says why.
// The open does not block, so a FIFO or a device named as an input is
// refused instead of waiting for a writer that never comes.
std::optional<std::string> ReadFile(const std::string& path, std::string& why) {
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    why = std::strerror(errno);
    return std::nullopt;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    why = "not a regular file";
    ::close(fd);
    return std::nullopt;
  }
  std::string text;
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      why = std::strerror(errno);
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    text.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return text;
}

std::optional<TemplateSource> LoadTemplate(const std::string& path,
                                           Diagnostics& diags) {
  std::string why;
  std::optional<std::string> text = ReadFile(path, why);
  if (!text) {
    diags.Error(path, 0, "cannot read template: " + why);
    return std::nullopt;
  }
  return TemplateSource{path, std::move(*text)};
}

// Includes are looked up beside the including template, then in the home
// folder and its templates/ folder.
IncludeResolver MakeResolver(const std::string& homeDir) {
  return [homeDir](const std::string& name, const std::string& from)
             -> std::optional<TemplateSource> {
    std::vector<std::string> candidates;
    if (!name.empty() && name[0] == '/') {
      candidates.push_back(name);
    } else {
      candidates.push_back(Join(DirName(from), name));
      if (!homeDir.empty()) {
        candidates.push_back(Join(homeDir, name));
        candidates.push_back(Join(Join(homeDir, "templates"), name));
      }
    }
    for (const std::string& c : candidates) {
      struct stat st {};
      if (::stat(c.c_str(), &st) != 0) continue;
      // The first one that is there is the one, readable or not.
      std::string why;
      if (std::optional<std::string> text = ReadFile(c, why)) {
        return TemplateSource{c, std::move(*text)};
      }
      return TemplateSource{c, {}, why};
    }
    return std::nullopt;
  };
}

void CheckOutputDir(const std::string& dir, Diagnostics& diags) {
  struct stat st {};
  if (::stat(dir.c_str(), &st) != 0) {
    diags.Error(dir, 0, "output folder does not exist");
  } else if (!S_ISDIR(st.st_mode)) {
    diags.Error(dir, 0, "output folder is not a folder");
  } else if (::access(dir.c_str(), W_OK | X_OK) != 0) {
    diags.Error(dir, 0, "output folder is not writable");
  }
}

std::string Plural(size_t n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

struct Counts {
  size_t records = 0, fields = 0, files = 0, errors = 0;
};

int Finish(const Options& o, const Counts& c, std::ostream& report) {
  if (c.errors != 0) {
    report << "kestb: " << Plural(c.errors, "error")
           << (c.files == 0 ? ", no files written" : "") << '\n';
  } else {
    report << "kestb: " << Plural(c.files, "file") << " written\n";
  }
  if (o.showSummary) {
    report << "summary: " << Plural(c.records, "record") << ", "
           << Plural(c.fields, "field") << ", " << Plural(c.files, "file")
           << ", " << Plural(c.errors, "error") << '\n';
  }
  return c.errors == 0 ? kOk : kFailed;
}

// Chooses each file's backup name so that no two files of the run, and no
// generated file, share it.
std::vector<std::string> BackupPaths(const Options& o,
                                     const std::vector<OutputFile>& files) {
  std::vector<std::string> out(files.size());
  if (!o.makeBackups) return out;
  BackupRules rules = ParseBackupExts(o.backupExts);
  std::set<std::string> taken;
  for (const OutputFile& f : files) taken.insert(f.name);
  for (size_t i = 0; i < files.size(); ++i) {
    std::string b = BackupName(files[i].name, rules);
    if (taken.count(b)) b = LongBackupName(files[i].name, rules);
    while (taken.count(b)) b += "~";
    taken.insert(b);
    out[i] = Join(o.outDir, b);
  }
  return out;
}

// Checks run one kind after another, and a block's missing @end is found
// after what it holds; the reader wants each file's errors in line order
// (files in the order of their first error).
void AppendInLineOrder(const Diagnostics& from, Diagnostics& to) {
  const std::vector<Diagnostic>& list = from.List();
  std::map<std::string_view, size_t> rank;  // file -> order of first error
  std::vector<std::tuple<size_t, int, size_t>> keys;  // rank, line, index
  keys.reserve(list.size());
  for (size_t i = 0; i < list.size(); ++i) {
    size_t r = rank.emplace(list[i].file, rank.size()).first->second;
    keys.emplace_back(r, list[i].line, i);
  }
  std::sort(keys.begin(), keys.end());
  for (const auto& [r, line, i] : keys) to.Error(list[i].file, line, list[i].text);
  to.CountMore(from.Count() - list.size());
}

// Reads and checks the DSM; also reads the template's and the output
// folder's problems into diags so that one run reports all of them.
Model LoadModel(const Options& o, Diagnostics& diags, Counts& counts) {
  std::string why;
  std::optional<std::string> text = ReadFile(o.dsm, why);
  if (!text) diags.Error(o.dsm, 0, "cannot read DSM file: " + why);
  Model model;
  if (!text) return model;
  Diagnostics dsmDiags;
  model = ParseDsm(*text, o.dsm, dsmDiags);
  CheckDsm(model, o.dsm, {!o.noCxxKeywords, !o.noAdaKeywords}, dsmDiags);
  AppendInLineOrder(dsmDiags, diags);
  counts.records = model.records.size();
  for (const Record& r : model.records) counts.fields += r.fields.size();
  return model;
}

// Parses the template and, when nothing so far went wrong, expands it.
std::vector<OutputFile> Expand(const Options& o, const Model& model,
                               Diagnostics& diags, std::ostream& report) {
  std::optional<TemplateSource> tem = LoadTemplate(o.tem, diags);
  CheckOutputDir(o.outDir, diags);
  if (!tem) return {};
  Diagnostics temDiags;
  Template parsed = ParseTemplate(*tem, MakeResolver(o.homeDir), temDiags);
  AppendInLineOrder(temDiags, diags);
  if (!diags.Empty()) return {};
  ExpandInfo info{Printable(BaseName(o.dsm)), Printable(BaseName(o.tem))};
  return ExpandTemplate(parsed, model, info, o.temTrace ? &report : nullptr,
                        diags);
}

void PrintErrors(const Diagnostics& diags, std::ostream& report) {
  // A binary file given as the DSM would otherwise bury the report.
  const std::vector<Diagnostic>& list = diags.List();
  for (size_t i = 0; i < list.size() && i < kMaxErrorsShown; ++i) {
    report << FormatError(list[i]) << '\n';
  }
  if (diags.Count() > kMaxErrorsShown) {
    report << "kestb: " << diags.Count() - kMaxErrorsShown
           << " more errors not shown\n";
  }
}

// Writes every file to its temporary first and commits only when all of
// them were written, so that a full disk, a file-size limit or a name the
// file system refuses leaves the output folder as it was. Nothing is
// reported while temporaries exist or files are being replaced: a report
// reader that goes away must not stop the run half-way.
void WriteFiles(const Options& o, const std::vector<OutputFile>& files,
                Counts& counts, std::ostream& report) {
  std::vector<std::string> backups = BackupPaths(o, files);
  std::vector<PendingFile> pending(files.size());
  Diagnostics failed;
  for (size_t i = 0; i < files.size(); ++i) {
    std::string path = Join(o.outDir, files[i].name);
    WriteResult w = pending[i].Write(path, files[i].content, backups[i]);
    if (!w.ok) failed.Error(path, 0, "cannot write: " + w.error);
  }
  if (!failed.Empty()) {
    pending.clear();  // removes the temporaries
    PrintErrors(failed, report);
    counts.errors += failed.Count();
    return;
  }
  std::vector<WriteResult> results = CommitAll(pending);
  for (size_t i = 0; i < files.size(); ++i) {
    std::string path = Join(o.outDir, files[i].name);
    const WriteResult& w = results[i];
    if (!w.ok) {
      report << FormatError({path, 0, "cannot write: " + w.error}) << '\n';
      ++counts.errors;
      continue;
    }
    ++counts.files;
    if (o.showFiles) {
      report << "wrote " << OneLine(path) << '\n';
      if (w.backedUp) report << "backup " << OneLine(backups[i]) << '\n';
    }
  }
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& report) {
  std::string usageError;
  std::optional<Options> parsed = ParseCommandLine(args, usageError);
  if (!parsed) {
    report << "kestb: error: " << OneLine(usageError) << '\n' << kUsage << '\n';
    return kBadUsage;
  }
  const Options& o = *parsed;
  if (o.help) {
    report << kUsage << '\n';
    return kOk;
  }
  if (o.banner) {
    report << "kestb: " << OneLine(o.dsm) << " with " << OneLine(o.tem) << " into "
           << OneLine(o.outDir) << '\n';
  }

  Diagnostics diags;
  Counts counts;
  Model model = LoadModel(o, diags, counts);
  std::vector<OutputFile> files = Expand(o, model, diags, report);
  PrintErrors(diags, report);
  counts.errors = diags.Count();
  if (counts.errors == 0) WriteFiles(o, files, counts, report);
  return Finish(o, counts, report);
}

}  // namespace kestb
