// Template: the *.tem language that turns a checked model into files.
//
// A template is text with placeholders, plus directive lines that start
// with '@' (leading blanks allowed):
//
//   @# a template comment, never copied
//   @file ${model}.h          the lines up to the matching @end go to the
//   ...                       file OUTDIR/<expanded name>
//   @end
//   @foreach record           repeat for each record (declaration order)
//   @foreach field            repeat for each field of the current record
//   @if field.list            @if COND / @else / @end; "!" negates
//   @include common.tem       paste another template here
//   @@text                    a text line that starts with "@text"
//
// Placeholders: ${NAME} or ${NAME|FILTER|...}; "$$" is a literal '$'.
// Names: model dsm template records fields; in a record loop record,
// record.comment record.fields record.index record.line; in a field loop
// field field.type field.cxxtype field.elem field.comment field.index
// field.line; in any loop comma ("," except on the last pass).
// Filters: upper lower cap. Conditions: first last record.empty
// record.comment field.list field.record field.cycle field.comment
// (field.cycle: the field's record type leads back to the record holding
// it, through fields by value or in lists, directly or through others).
//
//   kestb::Diagnostics diags;
//   kestb::Template t = kestb::ParseTemplate(src, resolver, diags);
//   std::vector<kestb::OutputFile> files =
//       kestb::ExpandTemplate(t, model, info, &std::cout, diags);
//
// Parsing checks every directive, name and filter, so expansion of a
// template without errors cannot fail except for bad output file names.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "kestb/Diagnostics.h"
#include "kestb/Dsm.h"

namespace kestb {

// The most a template may hold, and the most the templates it includes may
// hold together.
inline constexpr size_t kMaxTemplateBytes = 16u << 20;

struct TemplateSource {
  std::string path;  // as shown in messages
  std::string text;
  std::string error{};  // why a template that is there cannot be read
  bool tooLarge = false;  // more than kMaxTemplateBytes (then text is empty)
};

// Finds an @include'd template by the name written after @include, given
// the path of the including template; nullopt when there is none, a
// source with an error when it cannot be read.
using IncludeResolver = std::function<std::optional<TemplateSource>(
    const std::string& name, const std::string& includingPath)>;

// A piece of a text line: literal text, or a placeholder with its filters.
struct Piece {
  bool placeholder = false;
  std::string text;  // the literal, or the placeholder's name
  std::vector<std::string> filters;
};

struct TemplateNode {
  enum class Kind { Text, File, ForRecords, ForFields, If };
  Kind kind = Kind::Text;
  std::string file;    // template file and line, for traces and errors
  int line = 0;
  std::string source;  // the template line as written
  std::vector<Piece> pieces;  // Text: the line; File: the file name
  std::string condition;      // If: the name, without "!"
  bool negated = false;
  std::vector<TemplateNode> body, elseBody;
};

struct Template {
  std::vector<TemplateNode> nodes;
};

Template ParseTemplate(const TemplateSource& source,
                       const IncludeResolver& resolve, Diagnostics& diags);

// Values that do not come from the model.
struct ExpandInfo {
  std::string dsmName;       // DSM file name without folders
  std::string templateName;  // template file name without folders
};

struct OutputFile {
  std::string name;  // relative to the output folder
  std::string content;
  std::string templateFile;  // where its @file line is
  int templateLine = 0;
};

// Where the expansion puts the files, as it goes: Begin starts a file
// (content empty), Append adds text to the file begun last, End ends it.
class OutputSink {
 public:
  virtual ~OutputSink() = default;
  virtual void Begin(OutputFile file) = 0;
  virtual void Append(std::string_view text) = 0;
  virtual void End() = 0;
};

// Expands the template over a model that CheckDsm accepted. With trace
// set, each template line is printed there as "FILE:LINE: trace: LINE"
// when it is expanded. Output file names that are empty, absolute, climb
// out of the output folder with "..", or repeat an earlier name are
// reported at their @file line.
std::vector<OutputFile> ExpandTemplate(const Template& tem, const Model& model,
                                       const ExpandInfo& info,
                                       std::ostream* trace,
                                       Diagnostics& diags);

// The same, handing each file's text to the sink line by line instead of
// keeping it: memory then holds one line, however large the output.
void ExpandTemplate(const Template& tem, const Model& model,
                    const ExpandInfo& info, std::ostream* trace,
                    Diagnostics& diags, OutputSink& sink);

}  // namespace kestb
