// Dsm: the model language that kestb reads, and its checks.
//
// A DSM file names a model and its records; each record has typed fields.
// Comments run from "//" to the end of the line; a comment after a field
// on the same line, or comment lines just above a record, are kept so that
// templates can repeat them in the generated code.
//
//   model shop;               // optional; the model name defaults to "model"
//   // A customer order.
//   record Order {
//     id    : long;
//     items : list of Item;   // by value, any nesting
//     note  : string;
//   }
//
// Built-in types: int long float double bool char string; any record name
// is a type too, declared before or after its use.
//
//   kestb::Diagnostics diags;
//   kestb::Model m = kestb::ParseDsm(text, "shop.dsm", diags);
//   kestb::CheckDsm(m, "shop.dsm", {.cxx = true, .ada = false}, diags);
//
// Parsing and checking are plain functions on plain data: they never
// throw on bad input and never read past the text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "kestb/Diagnostics.h"

namespace kestb {

struct Type {
  std::string name;    // a built-in type or a record name
  int listDepth = 0;   // "list of list of int" has depth 2
};

struct Field {
  std::string name;
  Type type;
  int line = 0;
  int col = 0;                    // of the field name
  int typeLine = 0, typeCol = 0;  // of the type name
  std::string comment;  // trailing "//" comment, without the slashes
};

struct Record {
  std::string name;
  int line = 0;
  int col = 0;  // of the 'record' keyword
  std::vector<Field> fields;
  std::string comment;  // comment lines just above the record, joined by ' '
};

struct Model {
  std::string name = "model";
  int nameLine = 0;             // 0 when the model statement is missing
  int nameCol = 0;
  std::vector<Record> records;  // in file order; CheckDsm sorts them
};

// Which reserved words CheckDsm refuses as names.
struct KeywordChecks {
  bool cxx = true;
  bool ada = true;
};

// Reads the text; syntax errors go to diags as FILE:LINE errors and the
// parser resumes after the next ';' or '}'.
Model ParseDsm(std::string_view text, const std::string& file,
               Diagnostics& diags);

// The most a DSM file may hold: a model is read whole and takes some
// thirty times its size once parsed.
inline constexpr size_t kMaxDsmBytes = 16u << 20;

// Reports duplicate names, unknown types, reserved words and records that
// contain themselves by value. Afterwards the records are ordered so that
// each comes after the records it holds by value (otherwise file order),
// which is the order C++ and Ada need their declarations in.
void CheckDsm(Model& model, const std::string& file, KeywordChecks checks,
              Diagnostics& diags);

// Text as generated code may repeat it inside a // comment: control
// characters and every Unicode bidirectional control (the embeddings,
// overrides and isolates, which compilers warn about, and the marks
// U+200E, U+200F and U+061C, which can make code read other than it
// compiles) become blank.
std::string CommentSafe(std::string_view text, char blank);

// Text without the trailing backslash or "??/" (blanks after it too, and
// again while one is left) that would continue a generated // comment onto
// the line below; other trailing blanks stay.
std::string WithoutContinuation(std::string s);

// For each record (by index), the number of its group: records that
// reach each other through fields, by value or in lists, directly or
// through others, share a group, and only they. A header that included the
// header of a list element of its own group at its end would close an
// include cycle.
std::vector<size_t> CycleGroups(const Model& model);

bool IsBuiltinType(std::string_view name);

// The C++ spelling of a type: "std::vector<std::string>" for list of string.
std::string CxxType(const Type& type);

// The DSM spelling: "list of list of int".
std::string DsmType(const Type& type);

}  // namespace kestb
