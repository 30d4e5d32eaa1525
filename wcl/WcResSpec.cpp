// WcResSpec.cpp: the resource-specification parser.
#include "wcl/WcResSpec.h"

#include <algorithm>
#include <array>

namespace wcl {

const char* const kResSpecUsage =
    "\n    Usage: WcSetValue( target_widget_name.res_name: res_value )"
    "\n       Or: WcSetValue( target_widget_name.res_name(res_type): res_value ) "
    "\n       Or: WcSetValue( ( resSpec ) (resSpec) ... )";

const ResSpecMessage& ResSpecErrorMessage(ResSpecError e) {
  static constexpr std::array<ResSpecMessage, 10> table{{
      {"WcSetValue", "foundNul", "Wcl Warning: WcSetValue(%s) - Empty resource spec.%s"},
      {"WcSetValue", "missingName", "Wcl Warning: WcSetValue(%s) - Missing target widget name.%s"},
      {"WcSetValue", "noResEnd", "Wcl Warning: WcSetValue(%s) - Could not find ':' or '('.%s"},
      {"WcSetValue", "noWsInType",
       "Wcl Warning: WcSetValue(%s) - Type specifier cannot have whitespace.%s"},
      {"WcSetValue", "emptyType", "Wcl Warning: WcSetValue(%s) - Type specifier is empty.%s"},
      {"WcSetValue", "missingColon",
       "Wcl Warning: WcSetValue(%s) - Expected ':' immediately following ')'.%s"},
      {"WcSetValue", "unbalParens",
       "Wcl Warning: WcSetValue(%s) - End-of-resSpec before outermost ')'.%s"},
      {"WcSetValue", "needsParens",
       "Wcl Warning: WcSetValue(%s) - Multiple resSpecs must be in parens.%s"},
      {"WcSetValue", "targetNotFound", "Wcl Warning: WcSetValue(%s) - Target widget not found.%s"},
      {"WcSetValue", "noSuchResource",
       "Wcl Warning: WcSetValue(%s) - Cannot determine type of this resource.%s"},
  }};
  // Ok has no message; asked for one anyway, it gets the first rather than
  // a read before the table.
  const std::size_t i = static_cast<std::size_t>(e);
  return table[i > 0 && i <= table.size() ? i - 1 : 0];
}

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// Parses one specification starting at pos. On success stores it, moves pos
// to the start of the next one and tells whether another follows.
class OneSpec {
 public:
  OneSpec(std::string_view text, std::size_t pos) : t_(text), p_(pos) {}

  ResSpecError Parse(ResSpec& out, bool& more) {
    out.offset = p_;
    if (p_ >= t_.size()) return ResSpecError::FoundNul;
    int depth = 0;
    while (p_ < t_.size() && (IsBlank(t_[p_]) || t_[p_] == '(')) {
      if (t_[p_] == '(') ++depth;
      ++p_;
    }
    if (p_ >= t_.size()) return ResSpecError::FoundNul;

    if (auto e = TargetAndResource(out); e != ResSpecError::Ok) return e;
    if (t_[p_] == '(') {
      if (auto e = Type(out); e != ResSpecError::Ok) return e;
    }
    ++p_;  // the ':'
    while (p_ < t_.size() && IsBlank(t_[p_])) ++p_;
    return depth > 0 ? ParenthesisedValue(out, depth, more) : TrailingValue(out, more);
  }

  std::size_t Pos() const { return p_; }

 private:
  ResSpecError TargetAndResource(ResSpec& out) {
    const std::size_t start = p_;
    std::size_t resStart = std::string_view::npos;
    std::size_t targetEnd = 0;
    while (p_ < t_.size() && !IsBlank(t_[p_]) && t_[p_] != '(' && t_[p_] != ':') {
      const char c = t_[p_];
      if (c == '.') {
        targetEnd = p_;
        resStart = p_ + 1;
      } else if (c == '^' || c == '~') {
        targetEnd = p_ + 1;
        resStart = p_ + 1;
      }
      ++p_;
    }
    if (resStart == std::string_view::npos) return ResSpecError::MissingName;
    if (p_ >= t_.size() || (t_[p_] != ':' && t_[p_] != '(')) return ResSpecError::NoResEnd;
    out.target.assign(t_.substr(start, targetEnd - start));
    out.resource.assign(t_.substr(resStart, p_ - resStart));
    return ResSpecError::Ok;
  }

  ResSpecError Type(ResSpec& out) {
    const std::size_t start = ++p_;
    while (p_ < t_.size() && t_[p_] != ')') {
      if (IsBlank(t_[p_])) return ResSpecError::NoWsInType;
      ++p_;
    }
    if (p_ >= t_.size()) return ResSpecError::NoWsInType;
    if (p_ == start) return ResSpecError::EmptyType;
    out.type.assign(t_.substr(start, p_ - start));
    out.hasType = true;
    ++p_;
    if (p_ >= t_.size() || t_[p_] != ':') return ResSpecError::MissingColon;
    return ResSpecError::Ok;
  }

  ResSpecError ParenthesisedValue(ResSpec& out, int depth, bool& more) {
    const std::size_t start = p_;
    for (; p_ < t_.size(); ++p_) {
      if (t_[p_] == '(') {
        ++depth;
      } else if (t_[p_] == ')' && --depth == 0) {
        break;
      }
    }
    if (p_ >= t_.size()) return ResSpecError::UnbalParens;
    out.value.assign(TrimEnd(t_.substr(start, p_ - start)));
    ++p_;  // the closing ')'
    while (p_ < t_.size() && IsBlank(t_[p_])) ++p_;
    if (p_ >= t_.size()) {
      more = false;
    } else if (t_[p_] == '(') {
      more = true;
    } else {
      return ResSpecError::NeedsParens;
    }
    return ResSpecError::Ok;
  }

  ResSpecError TrailingValue(ResSpec& out, bool& more) {
    out.value.assign(TrimEnd(t_.substr(std::min(p_, t_.size()))));
    p_ = t_.size();
    more = false;
    return ResSpecError::Ok;
  }

  static std::string_view TrimEnd(std::string_view v) {
    while (!v.empty() && IsBlank(v.back())) v.remove_suffix(1);
    return v;
  }

  std::string_view t_;
  std::size_t p_;
};

}  // namespace

ResSpecParse ParseResSpecs(std::string_view text) {
  ResSpecParse result;
  std::size_t pos = 0;
  for (bool more = true; more;) {
    ResSpec spec;
    OneSpec one(text, pos);
    more = false;
    if (auto e = one.Parse(spec, more); e != ResSpecError::Ok) {
      result.specs.clear();
      result.error = e;
      result.errorOffset = spec.offset;
      return result;
    }
    result.specs.push_back(std::move(spec));
    pos = one.Pos();
  }
  return result;
}

}  // namespace wcl
