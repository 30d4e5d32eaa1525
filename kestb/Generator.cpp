// Generator: reading inputs, running the checks and writing the outputs.
#include "kestb/Generator.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <optional>
#include <map>
#include <new>
#include <stdexcept>
#include <set>
#include <string_view>
#include <tuple>

#include "kestb/Diagnostics.h"
#include "kestb/Dsm.h"
#include "kestb/Input.h"
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

std::string Join(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  return dir.back() == '/' ? dir + name : dir + "/" + name;
}

std::optional<TemplateSource> LoadTemplate(const std::string& path,
                                           Diagnostics& diags) {
  InputFile in = ReadInput(path, kMaxTemplateBytes);
  if (!in.ok) {
    diags.Error(path, 0, "cannot read template: " + in.error);
    return std::nullopt;
  }
  return TemplateSource{path, std::move(in.text)};
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
  size_t records = 0, fields = 0, files = 0, unchanged = 0, errors = 0;
};

// Files left alone because they held the new content already; said only
// when there are some, so a run that changed everything reads as it did.
std::string Unchanged(const Counts& c) {
  return c.unchanged == 0 ? "" : ", " + std::to_string(c.unchanged) + " unchanged";
}

int Finish(const Options& o, const Counts& c, std::ostream& report) {
  if (c.errors != 0) {
    report << "kestb: " << Plural(c.errors, "error")
           << (c.files == 0 ? ", no files written" : "") << '\n';
  } else {
    report << "kestb: " << Plural(c.files, "file") << " written" << Unchanged(c)
           << '\n';
  }
  if (o.showSummary) {
    report << "summary: " << Plural(c.records, "record") << ", "
           << Plural(c.fields, "field") << ", " << Plural(c.files, "file")
           << Unchanged(c) << ", " << Plural(c.errors, "error") << '\n';
  }
  return c.errors == 0 ? kOk : kFailed;
}

// Chooses each file's backup name so that no two files of the run, and no
// generated file, share it.
std::vector<std::string> BackupPaths(const Options& o,
                                     const std::vector<std::string>& files) {
  std::vector<std::string> out(files.size());
  if (!o.makeBackups) return out;
  BackupRules rules = ParseBackupExts(o.backupExts);
  std::set<std::string> taken(files.begin(), files.end());
  for (size_t i = 0; i < files.size(); ++i) {
    std::string b = BackupName(files[i], rules);
    if (taken.count(b)) b = LongBackupName(files[i], rules);
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
  for (const auto& [r, line, i] : keys) to.Error(list[i].file, line, list[i].col, list[i].text);
  to.CountMore(from.Count() - list.size());
}

// Reads and checks the DSM; also reads the template's and the output
// folder's problems into diags so that one run reports all of them.
Model LoadModel(const Options& o, Diagnostics& diags, Counts& counts) {
  InputFile in = ReadInput(o.dsm, kMaxDsmBytes);
  Model model;
  if (!in.ok) {
    diags.Error(o.dsm, 0, "cannot read DSM file: " + in.error);
    return model;
  }
  Diagnostics dsmDiags;
  model = ParseDsm(in.text, o.dsm, dsmDiags);
  CheckDsm(model, o.dsm, {!o.noCxxKeywords, !o.noAdaKeywords}, dsmDiags);
  AppendInLineOrder(dsmDiags, diags);
  counts.records = model.records.size();
  for (const Record& r : model.records) counts.fields += r.fields.size();
  return model;
}

// Writes each file to its temporary as it is expanded, so memory holds a
// line, not the output. Nothing is written once an error is known; the
// temporaries go when the writer does, unless all were committed.
class FileWriter : public OutputSink {
 public:
  FileWriter(const std::string& outDir, const Diagnostics& diags)
      : outDir_(outDir), diags_(diags) {}

  void Begin(OutputFile file) override {
    names.push_back(std::move(file.name));
    paths.push_back(Join(outDir_, names.back()));
    pending.emplace_back();
    writing_ = diags_.Empty() && failed.Empty();
    if (!writing_) return;
    WriteResult w = pending.back().Open(paths.back());
    if (!w.ok) Failed(w);
  }
  void Append(std::string_view text) override {
    if (writing_) pending.back().Append(text);
  }
  void End() override {
    if (!writing_) return;
    writing_ = false;
    WriteResult w = pending.back().Close();
    if (!w.ok) Failed(w);
  }

  std::vector<std::string> names, paths;
  std::vector<PendingFile> pending;
  Diagnostics failed;

 private:
  void Failed(const WriteResult& w) {
    failed.Error(paths.back(), 0, "cannot write: " + w.error);
    writing_ = false;
  }

  const std::string& outDir_;
  const Diagnostics& diags_;
  bool writing_ = false;
};

// Parses the template and, when nothing so far went wrong, expands it.
void Expand(const Options& o, const Model& model, Diagnostics& diags,
            std::ostream& report, OutputSink& sink) {
  std::optional<TemplateSource> tem = LoadTemplate(o.tem, diags);
  CheckOutputDir(o.outDir, diags);
  if (!tem) return;
  Diagnostics temDiags;
  Template parsed = ParseTemplate(*tem, MakeResolver(o.homeDir), temDiags);
  AppendInLineOrder(temDiags, diags);
  if (!diags.Empty()) return;
  ExpandInfo info{Printable(BaseName(o.dsm)), Printable(BaseName(o.tem))};
  ExpandTemplate(parsed, model, info, o.temTrace ? &report : nullptr, diags, sink);
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

// Every file is in its temporary by now; they are committed only when all
// of them were written, so that a full disk, a file-size limit or a name
// the file system refuses leaves the output folder as it was. Nothing is
// reported while files are being replaced: a report reader that goes away
// must not stop the run half-way.
void CommitFiles(const Options& o, FileWriter& w, Counts& counts,
                 std::ostream& report) {
  std::vector<std::string> backups = BackupPaths(o, w.names);
  for (size_t i = 0; i < w.pending.size(); ++i) {
    WriteResult b = w.pending[i].SetBackup(backups[i]);
    if (!b.ok) w.failed.Error(w.paths[i], 0, "cannot write: " + b.error);
  }
  if (!w.failed.Empty()) {
    w.pending.clear();  // removes the temporaries
    PrintErrors(w.failed, report);
    counts.errors += w.failed.Count();
    return;
  }
  std::vector<WriteResult> results = CommitAll(w.pending);
  for (size_t i = 0; i < results.size(); ++i) {
    const WriteResult& r = results[i];
    if (!r.ok) {
      report << FormatError({w.paths[i], 0, 0, "cannot write: " + r.error}) << '\n';
      ++counts.errors;
      continue;
    }
    ++(r.unchanged ? counts.unchanged : counts.files);
    if (o.showFiles) {
      report << (r.unchanged ? "unchanged " : "wrote ") << OneLine(w.paths[i]) << '\n';
      if (r.backedUp) report << "backup " << OneLine(backups[i]) << '\n';
    }
  }
}

int RunUnguarded(const std::vector<std::string>& args, std::ostream& report) {
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
  FileWriter writer(o.outDir, diags);
  Expand(o, model, diags, report, writer);
  PrintErrors(diags, report);
  counts.errors = diags.Count();
  if (counts.errors == 0) CommitFiles(o, writer, counts, report);
  return Finish(o, counts, report);
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& report) {
  try {
    return RunUnguarded(args, report);
  } catch (const std::bad_alloc&) {
    // The temporaries went with the unwinding: all files or none still.
  } catch (const std::length_error&) {  // a string past its largest size
  }
  report << "kestb: error: out of memory\n";
  return kFailed;
}

}  // namespace kestb
