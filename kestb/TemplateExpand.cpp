// Template expansion: walks the checked tree over a model and hands each
// output file's lines to a sink (which may keep them or write them away).
#include <cctype>
#include <map>
#include <set>

#include "kestb/Template.h"

namespace kestb {
namespace {

std::string ApplyFilter(std::string s, const std::string& filter) {
  if (filter == "upper" || filter == "lower") {
    for (char& c : s) {
      unsigned char u = static_cast<unsigned char>(c);
      c = static_cast<char>(filter == "upper" ? std::toupper(u) : std::tolower(u));
    }
  } else if (filter == "cap" && !s.empty()) {
    s[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(s[0])));
  }
  return s;
}

// Why a name cannot be an output file, or empty when it can.
std::string BadFileName(const std::string& name) {
  if (name.empty()) return "output file name is empty";
  if (name == "." || name == "..") return "output file name '" + name + "' is a folder";
  if (name.find('/') != std::string::npos) {
    return "output file name '" + name + "' must not contain '/'";
  }
  for (char c : name) {
    if (std::iscntrl(static_cast<unsigned char>(c))) {
      return "output file name '" + name + "' contains a control character";
    }
  }
  return {};
}

class Expander {
 public:
  Expander(const Model& m, const ExpandInfo& info, std::ostream* trace,
           Diagnostics& diags, OutputSink& sink)
      : m_(m), info_(info), trace_(trace), diags_(diags), sink_(sink) {
    for (size_t i = 0; i < m.records.size(); ++i) {
      fieldCount_ += m.records[i].fields.size();
      recordIndex_.emplace(m.records[i].name, i);
    }
    groups_ = CycleGroups(m);
  }

  void Run(const Template& t) { Nodes(t.nodes); }

 private:
  struct Loop {
    size_t index, count;
  };

  void Nodes(const std::vector<TemplateNode>& nodes) {
    for (const TemplateNode& n : nodes) Node(n);
  }

  void Node(const TemplateNode& n) {
    if (trace_) *trace_ << n.file << ':' << n.line << ": trace: " << n.source << '\n';
    using K = TemplateNode::Kind;
    switch (n.kind) {
      case K::Text:
        if (inFile_ > 0) {
          line_ = Expand(n.pieces);
          line_ += '\n';
          sink_.Append(line_);
        }
        break;
      case K::File:
        File(n);
        break;
      case K::ForRecords:
        for (size_t i = 0; i < m_.records.size(); ++i) {
          rec_ = &m_.records[i];
          loops_.push_back({i, m_.records.size()});
          Nodes(n.body);
          loops_.pop_back();
        }
        rec_ = nullptr;
        break;
      case K::ForFields: {
        const Record* r = rec_;
        for (size_t i = 0; r && i < r->fields.size(); ++i) {
          field_ = &r->fields[i];
          loops_.push_back({i, r->fields.size()});
          Nodes(n.body);
          loops_.pop_back();
        }
        field_ = nullptr;
        break;
      }
      case K::If:
        Nodes(Condition(n.condition) != n.negated ? n.body : n.elseBody);
        break;
    }
  }

  void File(const TemplateNode& n) {
    std::string name = Expand(n.pieces);
    if (std::string why = BadFileName(name); !why.empty()) {
      diags_.Error(n.file, n.line, FirstColumn(n.source), why);
      return;
    }
    if (!names_.insert(name).second) {
      // Once per name, however many more passes of a loop repeat it.
      if (repeated_.insert(name).second) {
        diags_.Error(n.file, n.line, FirstColumn(n.source), "output file '" + name + "' is written twice");
      }
      return;
    }
    sink_.Begin({name, {}, n.file, n.line});
    ++inFile_;
    Nodes(n.body);
    --inFile_;
    sink_.End();
  }

  std::string Expand(const std::vector<Piece>& pieces) const {
    std::string s;
    for (const Piece& p : pieces) {
      if (!p.placeholder) {
        s += p.text;
        continue;
      }
      std::string v = Value(p.text);
      for (const std::string& f : p.filters) v = ApplyFilter(std::move(v), f);
      s += v;
    }
    return s;
  }

  // The parser only lets names through in the loops that define them; the
  // null checks keep a hand-built tree from crashing all the same.
  std::string Value(const std::string& name) const {
    if (name == "model") return m_.name;
    if (name == "dsm") return info_.dsmName;
    if (name == "template") return info_.templateName;
    if (name == "records") return std::to_string(m_.records.size());
    if (name == "fields") return std::to_string(fieldCount_);
    if (name == "comma") {
      return !loops_.empty() && loops_.back().index + 1 < loops_.back().count
                 ? ","
                 : "";
    }
    if (rec_ && name.rfind("record", 0) == 0) {
      if (name == "record") return rec_->name;
      if (name == "record.comment") return rec_->comment;
      if (name == "record.fields") return std::to_string(rec_->fields.size());
      if (name == "record.line") return std::to_string(rec_->line);
      if (name == "record.index") {
        return std::to_string(static_cast<size_t>(rec_ - m_.records.data()) + 1);
      }
    }
    if (field_ && rec_ && name.rfind("field", 0) == 0) {
      if (name == "field") return field_->name;
      if (name == "field.type") return DsmType(field_->type);
      if (name == "field.cxxtype") return CxxType(field_->type);
      if (name == "field.elem") return CxxType({field_->type.name, 0});
      if (name == "field.comment") return field_->comment;
      if (name == "field.line") return std::to_string(field_->line);
      if (name == "field.index") {
        return std::to_string(static_cast<size_t>(field_ - rec_->fields.data()) + 1);
      }
    }
    return {};
  }

  bool Condition(const std::string& name) const {
    if (name == "first") return !loops_.empty() && loops_.back().index == 0;
    if (name == "last") {
      return !loops_.empty() && loops_.back().index + 1 == loops_.back().count;
    }
    if (rec_ && name == "record.empty") return rec_->fields.empty();
    if (rec_ && name == "record.comment") return !rec_->comment.empty();
    if (field_) {
      if (name == "field.list") return field_->type.listDepth > 0;
      if (name == "field.record") return !IsBuiltinType(field_->type.name);
      if (name == "field.comment") return !field_->comment.empty();
      if (name == "field.cycle" && rec_) {
        auto it = recordIndex_.find(field_->type.name);
        return it != recordIndex_.end() &&
               groups_[it->second] == groups_[static_cast<size_t>(rec_ - m_.records.data())];
      }
    }
    return false;
  }

  const Model& m_;
  const ExpandInfo& info_;
  std::ostream* trace_;
  Diagnostics& diags_;
  size_t fieldCount_ = 0;
  std::map<std::string, size_t> recordIndex_;  // the first of a repeated name
  std::vector<size_t> groups_;
  const Record* rec_ = nullptr;
  const Field* field_ = nullptr;
  OutputSink& sink_;
  std::vector<Loop> loops_;
  int inFile_ = 0;
  std::string line_;
  std::set<std::string> names_, repeated_;
};

}  // namespace

std::vector<OutputFile> ExpandTemplate(const Template& tem, const Model& model,
                                       const ExpandInfo& info,
                                       std::ostream* trace,
                                       Diagnostics& diags) {
  // Files as a stack: a hand-built tree may nest them (the parser does not).
  class Collect : public OutputSink {
   public:
    void Begin(OutputFile file) override {
      open_.push_back(files.size());
      files.push_back(std::move(file));
    }
    void Append(std::string_view text) override {
      if (!open_.empty()) files[open_.back()].content += text;
    }
    void End() override { open_.pop_back(); }
    std::vector<OutputFile> files;

   private:
    std::vector<size_t> open_;
  } collect;
  Expander(model, info, trace, diags, collect).Run(tem);
  return std::move(collect.files);
}

void ExpandTemplate(const Template& tem, const Model& model,
                    const ExpandInfo& info, std::ostream* trace,
                    Diagnostics& diags, OutputSink& sink) {
  Expander(model, info, trace, diags, sink).Run(tem);
}

}  // namespace kestb
