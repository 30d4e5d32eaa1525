// WcResSpec.h: parsing resource specifications for setting resources at run
// time, on plain text with no X involved.
//
// A specification names a target widget, a resource, an optional type and a
// value; several must each be wrapped in parentheses:
//
//   *label.labelString: Hello there
//   ^.width(Dimension): 40
//   (*ok.sensitive: False) (*cancel.sensitive: True)
//
//   wcl::ResSpecParse p = wcl::ParseResSpecs("(*a.width: 4)(*b.height: 5)");
//   // p.error == ResSpecError::Ok, p.specs.size() == 2
//
// The parse is all or nothing: on an error no specification is returned, so
// that a faulty call changes no resource at all.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "wcl/WcMessage.h"

namespace wcl {

// The ten ways a call can fail. The first eight are syntax errors found by
// the parser and cancel the whole call; the last two are found later, per
// specification, and drop only that one.
enum class ResSpecError {
  Ok = 0,
  FoundNul,        // empty specification
  MissingName,     // no '.', '^' or '~' before the resource name
  NoResEnd,        // resource name not followed by ':' or '('
  NoWsInType,      // blank or end inside "(type)"
  EmptyType,       // "()"
  MissingColon,    // "(type)" not followed by ':'
  UnbalParens,     // text ends before the outermost ')'
  NeedsParens,     // something other than '(' after a parenthesised spec
  TargetNotFound,  // target widget does not resolve
  NoSuchResource,  // resource type cannot be determined
};

// The message of an error other than Ok (Ok has none): two arguments, the text from the
// failing specification on and the usage text.
using ResSpecMessage = Message<2>;
const ResSpecMessage& ResSpecErrorMessage(ResSpecError e);

// The usage text appended to every error message.
extern const char* const kResSpecUsage;

struct ResSpec {
  std::string target;    // widget name text, for example "*ok" or "^"
  std::string resource;  // resource name (or class)
  std::string type;      // representation type; empty when not given
  bool hasType = false;
  std::string value;       // may be empty
  std::size_t offset = 0;  // where this entry starts in the text
};

struct ResSpecParse {
  std::vector<ResSpec> specs;  // empty when error != Ok
  ResSpecError error = ResSpecError::Ok;
  std::size_t errorOffset = 0;  // start of the entry that failed
};

// Parses every specification of text. Blanks are space and the ASCII
// control characters; bytes of 128 and above are ordinary characters so
// that UTF-8 values survive intact.
ResSpecParse ParseResSpecs(std::string_view text);

}  // namespace wcl
