// Template parsing: lines to a checked tree of text, file, loop and
// condition nodes, with @include pasted in place.
#include <algorithm>
#include <cctype>
#include <string_view>

#include "kestb/Template.h"

namespace kestb {
namespace {

// Deep enough for any sensible layering, shallow enough to stop a template
// that includes itself.
constexpr int kMaxIncludeDepth = 16;

// Includes pasted per template: a file that includes another twice per
// level would otherwise grow exponentially.
constexpr int kMaxIncludes = 1000;

// Text pasted by includes, all together: a large template that includes
// itself a thousand times would otherwise take minutes to read.
constexpr size_t kMaxIncludedBytes = kMaxTemplateBytes;

// Blocks nest by recursion, counted across includes; far more than any
// template needs, far less than would exhaust the stack.
constexpr int kMaxNesting = 100;

// What the parsers of one template and all its includes count together.
struct Totals {
  int includes = 0;
  size_t includedBytes = 0;
  int nesting = 0;
};

struct Scope {
  bool inFile = false;
  bool inRecord = false;
  bool inField = false;
};

enum class Stop { Eof, End, Else };

bool IsBlank(std::string_view s) {
  for (char c : s) {
    if (!std::isspace(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

std::string_view TrimView(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) {
    s.remove_prefix(1);
  }
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) {
    s.remove_suffix(1);
  }
  return s;
}

// Which scope a name needs; empty when the name is unknown.
std::string_view NameScope(std::string_view name) {
  static constexpr std::string_view kGlobal[] = {"model", "dsm", "template",
                                                 "records", "fields"};
  static constexpr std::string_view kRecord[] = {
      "record", "record.comment", "record.fields", "record.index",
      "record.line"};
  static constexpr std::string_view kField[] = {
      "field",         "field.type",  "field.cxxtype", "field.elem",
      "field.comment", "field.index", "field.line"};
  for (auto n : kGlobal) if (n == name) return "global";
  for (auto n : kRecord) if (n == name) return "record";
  for (auto n : kField) if (n == name) return "field";
  if (name == "comma") return "loop";
  return {};
}

std::string_view ConditionScope(std::string_view name) {
  if (name == "first" || name == "last") return "loop";
  if (name == "record.empty" || name == "record.comment") return "record";
  if (name == "field.list" || name == "field.record" || name == "field.cycle" ||
      name == "field.comment") {
    return "field";
  }
  return {};
}

// Empty when the scope allows it, else why not.
std::string ScopeProblem(std::string_view scope, const Scope& s) {
  if (scope == "record" && !s.inRecord) return "outside @foreach record";
  if (scope == "field" && !s.inField) return "outside @foreach field";
  if (scope == "loop" && !s.inRecord && !s.inField) return "outside @foreach";
  return {};
}

class TemplateParser {
 public:
  TemplateParser(const TemplateSource& src, const IncludeResolver& resolve,
                 Diagnostics& diags, int depth, Totals& totals)
      : src_(src), resolve_(resolve), diags_(diags), depth_(depth),
        totals_(totals), includes_(totals.includes),
        nesting_(totals.nesting) {
    // A byte-order mark that some editors write first is no template text.
    size_t b = src.text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (b <= src.text.size()) {
      size_t e = src.text.find('\n', b);
      if (e == std::string::npos) {
        if (b < src.text.size()) lines_.push_back(src.text.substr(b));
        break;
      }
      lines_.push_back(src.text.substr(b, e - b));
      b = e + 1;
    }
  }

  // The whole source; a stray @end or @else is reported and skipped.
  std::vector<TemplateNode> ParseAll(const Scope& scope) {
    std::vector<TemplateNode> out;
    for (;;) {
      Stop stop = Block(scope, out);
      if (stop == Stop::Eof) return out;
      Error(lastLine_, stop == Stop::End
                           ? "@end without @file, @foreach or @if"
                           : "@else without @if");
    }
  }

 private:
  // Without a column the error points at the line's first non-blank
  // character: the directive's '@', or the start of a text line.
  void Error(int line, std::string text, int col = 0) {
    if (col == 0) {
      col = line >= 1 && static_cast<size_t>(line) <= lines_.size()
                ? FirstColumn(lines_[line - 1])
                : 1;
    }
    // As compilers' "In file included from": the reader needs the @include
    // that brought this text in, the nearest one being the one to check.
    if (!includedFrom_.empty()) text += " (in a template included from " + includedFrom_ + ")";
    diags_.Error(src_.path, line, col, std::move(text));
  }

  TemplateNode Node(TemplateNode::Kind kind, int line) const {
    TemplateNode n;
    n.kind = kind;
    n.file = src_.path;
    n.line = line;
    n.source = lines_[line - 1];
    return n;
  }

  // Parses lines into out until @end, @else or the end of the source.
  Stop Block(const Scope& scope, std::vector<TemplateNode>& out) {
    while (next_ < lines_.size()) {
      int lineNo = static_cast<int>(++next_);
      lastLine_ = lineNo;
      std::string_view line = lines_[lineNo - 1];
      std::string_view body = TrimView(line);
      if (body.size() >= 2 && body[0] == '@' && body[1] == '@') {
        // "@@" escapes a text line that starts with '@'.
        std::string text(line);
        text.erase(text.find('@'), 1);
        Text(scope, lineNo, text, out);
      } else if (!body.empty() && body[0] == '@') {
        if (std::optional<Stop> stop = Directive(scope, lineNo, body, out)) {
          return *stop;
        }
      } else {
        Text(scope, lineNo, std::string(line), out);
      }
    }
    return Stop::Eof;
  }

  void Text(const Scope& scope, int lineNo, const std::string& text,
            std::vector<TemplateNode>& out) {
    if (!scope.inFile) {
      if (!IsBlank(text)) Error(lineNo, "text outside a @file block");
      return;
    }
    TemplateNode n = Node(TemplateNode::Kind::Text, lineNo);
    n.pieces = Pieces(scope, lineNo, text, 0);
    out.push_back(std::move(n));
  }

  // Handles one directive; returns a Stop when it ends the current block.
  std::optional<Stop> Directive(const Scope& scope, int lineNo,
                                std::string_view body,
                                std::vector<TemplateNode>& out) {
    body.remove_prefix(1);
    if (!body.empty() && body[0] == '#') return std::nullopt;  // comment
    size_t w = 0;
    while (w < body.size() && std::isalpha(static_cast<unsigned char>(body[w]))) {
      ++w;
    }
    std::string word(body.substr(0, w));
    std::string_view arg = TrimView(body.substr(w));

    if ((word == "file" || word == "foreach" || word == "if") &&
        nesting_ >= kMaxNesting) {
      Error(lineNo, "blocks nested too deeply");
      next_ = lines_.size();  // give up on the rest of this template
      abandoned_ = true;
      return std::nullopt;
    }

    if (word == "end" || word == "else") {
      if (!arg.empty()) Error(lineNo, "unexpected text after @" + word);
      return word == "end" ? Stop::End : Stop::Else;
    }
    if (word == "file") {
      out.push_back(FileBlock(scope, lineNo, arg));
    } else if (word == "foreach") {
      out.push_back(ForeachBlock(scope, lineNo, arg));
    } else if (word == "if") {
      out.push_back(IfBlock(scope, lineNo, arg));
    } else if (word == "include") {
      Include(scope, lineNo, std::string(arg), out);
    } else {
      Error(lineNo, "unknown directive '@" + word + "'");
    }
    return std::nullopt;
  }

  // "@file NAME" and its lines up to @end.
  TemplateNode FileBlock(const Scope& scope, int lineNo, std::string_view arg) {
    if (arg.empty()) {
      Error(lineNo, "@file needs a file name");
    } else if (scope.inFile) {
      Error(lineNo, "@file inside another @file block");
    }
    TemplateNode n = Node(TemplateNode::Kind::File, lineNo);
    n.pieces = Pieces(scope, lineNo, std::string(arg),
                      static_cast<size_t>(arg.data() - lines_[lineNo - 1].data()));
    Scope inner = scope;
    inner.inFile = true;
    BlockToEnd(inner, n, "@file");
    return n;
  }

  // "@foreach record" or "@foreach field" and its lines up to @end.
  TemplateNode ForeachBlock(const Scope& scope, int lineNo, std::string_view arg) {
    Scope inner = scope;
    TemplateNode n = Node(TemplateNode::Kind::ForRecords, lineNo);
    // "@foreach record extra" is a loop over records with a word too many:
    // read as the loop, its body raises no errors of its own.
    size_t space = arg.find_first_of(" \t");
    if (std::string_view first = arg.substr(0, space);
        space != std::string_view::npos && (first == "record" || first == "field")) {
      Error(lineNo, "unexpected text after @foreach " + std::string(first));
      arg = first;
    }
    if (arg == "record") {
      if (scope.inRecord) Error(lineNo, "@foreach record inside @foreach record");
      inner.inRecord = true;
    } else if (arg == "field") {
      if (!scope.inRecord) {
        Error(lineNo, "@foreach field outside @foreach record");
      } else if (scope.inField) {
        Error(lineNo, "@foreach field inside @foreach field");
      }
      n.kind = TemplateNode::Kind::ForFields;
      inner.inRecord = inner.inField = true;
    } else {
      Error(lineNo, "@foreach needs 'record' or 'field', found '" +
                        std::string(arg) + "'");
    }
    BlockToEnd(inner, n, "@foreach");
    return n;
  }

  // "@if [!]CONDITION", its lines and those of an @else, up to @end.
  TemplateNode IfBlock(const Scope& scope, int lineNo, std::string_view arg) {
    TemplateNode n = Node(TemplateNode::Kind::If, lineNo);
    if (!arg.empty() && arg[0] == '!') {
      n.negated = true;
      arg = TrimView(arg.substr(1));
    }
    n.condition = std::string(arg);
    std::string_view cs = ConditionScope(arg);
    if (cs.empty()) {
      Error(lineNo, "unknown condition '" + n.condition + "'");
    } else if (std::string why = ScopeProblem(cs, scope); !why.empty()) {
      Error(lineNo, "condition '" + n.condition + "' used " + why);
    }
    ++nesting_;
    Stop stop = Block(scope, n.body);
    --nesting_;
    if (stop == Stop::Else) {
      BlockToEnd(scope, n, "@if", &n.elseBody);
    } else if (stop == Stop::Eof && !abandoned_) {
      Error(lineNo, "@if has no @end");
    }
    return n;
  }

  void BlockToEnd(const Scope& scope, TemplateNode& n, const char* what,
                  std::vector<TemplateNode>* body = nullptr) {
    if (body == nullptr) body = &n.body;
    for (;;) {
      ++nesting_;
      Stop stop = Block(scope, *body);
      --nesting_;
      if (stop == Stop::End) return;
      if (stop == Stop::Eof) {
        if (!abandoned_) Error(n.line, std::string(what) + " has no @end");
        return;
      }
      Error(lastLine_, "@else without @if");
    }
  }

  void Include(const Scope& scope, int lineNo, const std::string& name,
               std::vector<TemplateNode>& out) {
    if (name.empty()) {
      Error(lineNo, "@include needs a template name");
      return;
    }
    if (++includes_ > kMaxIncludes) {
      if (includes_ == kMaxIncludes + 1) {
        Error(lineNo, "more than " + std::to_string(kMaxIncludes) +
                          " templates included");
      }
      return;
    }
    if (depth_ >= kMaxIncludeDepth) {
      Error(lineNo, "@include nested too deeply (does '" + name +
                        "' include itself?)");
      return;
    }
    std::optional<TemplateSource> found = resolve_ ? resolve_(name, src_.path)
                                                   : std::nullopt;
    if (!found) {
      Error(lineNo, "cannot find included template '" + name + "'");
      return;
    }
    if (!found->error.empty() && !found->tooLarge) {
      Error(lineNo, "cannot read included template '" + name + "': " +
                        found->error);
      return;
    }
    totals_.includedBytes += found->text.size();
    if (found->tooLarge || totals_.includedBytes > kMaxIncludedBytes) {
      Error(lineNo, "included templates exceed " +
                        std::to_string(kMaxIncludedBytes >> 20) +
                        " MB in all");
      totals_.includes = kMaxIncludes + 1;  // no more includes, no more errors
      return;
    }
    TemplateParser inner(*found, resolve_, diags_, depth_ + 1, totals_);
    inner.includedFrom_ = src_.path + ":" + std::to_string(lineNo);
    for (TemplateNode& n : inner.ParseAll(scope)) out.push_back(std::move(n));
  }

  // text starts at byte `base` of the line, for the columns of errors.
  std::vector<Piece> Pieces(const Scope& scope, int lineNo,
                            const std::string& text, size_t base) {
    std::vector<Piece> out;
    std::string lit;
    // Columns are counted on from the last one found, so a line of many
    // placeholders costs its length once, not once per placeholder.
    const std::string_view line(lines_[lineNo - 1]);
    size_t colByte = 0;
    int col = 1;
    auto columnAt = [&](size_t byte) {
      byte = std::min(byte, line.size());
      if (byte > colByte) {
        col += ColumnOf(line.substr(colByte), byte - colByte) - 1;
        colByte = byte;
      }
      return col;
    };
    size_t i = 0;
    while (i < text.size()) {
      if (text[i] != '$' || i + 1 >= text.size() ||
          (text[i + 1] != '$' && text[i + 1] != '{')) {
        lit += text[i++];
        continue;
      }
      if (text[i + 1] == '$') {
        lit += '$';
        i += 2;
        continue;
      }
      size_t close = text.find('}', i + 2);
      if (close == std::string::npos) {
        Error(lineNo, "unterminated placeholder '" + text.substr(i) + "'",
              columnAt(base + i));
        lit += text.substr(i);
        break;
      }
      if (!lit.empty()) out.push_back({false, std::move(lit), {}});
      lit.clear();
      out.push_back(Placeholder(scope, lineNo, text.substr(i, close + 1 - i),
                                columnAt(base + i)));
      i = close + 1;
    }
    if (!lit.empty()) out.push_back({false, std::move(lit), {}});
    return out;
  }

  // whole is "${name|filter...}".
  Piece Placeholder(const Scope& scope, int lineNo, const std::string& whole,
                    int col) {
    Piece p;
    p.placeholder = true;
    std::string_view inner(whole);
    inner = inner.substr(2, inner.size() - 3);
    size_t bar = inner.find('|');
    p.text = std::string(TrimView(inner.substr(0, bar)));
    while (bar != std::string_view::npos) {
      inner = inner.substr(bar + 1);
      bar = inner.find('|');
      std::string f(TrimView(inner.substr(0, bar)));
      if (f != "upper" && f != "lower" && f != "cap") {
        // Only the start of the placeholder: one with many bad filters would
        // repeat itself whole in each message.
        Error(lineNo, "unknown filter '" + f + "' in '" +
                          (whole.size() <= 80 ? whole : whole.substr(0, 76) + "...}") + "'",
              col);
      }
      p.filters.push_back(std::move(f));
    }
    std::string_view ns = NameScope(p.text);
    if (ns.empty()) {
      Error(lineNo, "unknown placeholder '" + whole + "'", col);
    } else if (std::string why = ScopeProblem(ns, scope); !why.empty()) {
      Error(lineNo, "placeholder '" + whole + "' used " + why, col);
    }
    return p;
  }

  const TemplateSource& src_;
  const IncludeResolver& resolve_;
  Diagnostics& diags_;
  int depth_;
  Totals& totals_;  // shared by the whole template
  int& includes_;
  int& nesting_;
  std::vector<std::string> lines_;
  size_t next_ = 0;
  int lastLine_ = 0;
  bool abandoned_ = false;
  std::string includedFrom_;  // "PATH:LINE" of the @include, for an included template
};

}  // namespace

Template ParseTemplate(const TemplateSource& source,
                       const IncludeResolver& resolve, Diagnostics& diags) {
  Template t;
  Totals totals;
  t.nodes = TemplateParser(source, resolve, diags, 0, totals).ParseAll(Scope{});
  return t;
}

}  // namespace kestb
