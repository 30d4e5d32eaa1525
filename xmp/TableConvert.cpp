// TableConvert.cpp: the table's String converters: option letters,
// layout strings and lists of name lists, into the toolkit
// representations the table's resources hold. Converted values are cached
// by the toolkit for the life of the process and never freed.
#include <cstring>

#include "wcl/WcWarnings.h"
#include "xmp/TableP.h"
#include "xmp/TableParse.h"

namespace {

std::string_view Source(const XrmValue* from) {
  const char* text = from ? static_cast<const char*>(from->addr) : nullptr;
  return text ? std::string_view(text) : std::string_view();
}

// A converter registered with conversion arguments is a programming error
// the toolkit treats as fatal.
void NoArguments(const Cardinal* numArgs, const wcl::Message<0>& m) {
  if (*numArgs != 0) wcl::Fail(nullptr, m);
}

constexpr wcl::Message<0> kOptsArgs{"wrongParameters", "XmpCvtStrToXmpTableOpts",
                                    "String to options takes no additional arguments",
                                    "XtToolkitError"};
constexpr wcl::Message<0> kLocArgs{"wrongParameters", "XmpCvtStrToXmpTableLoc",
                                   "String to layout takes no additional arguments",
                                   "XtToolkitError"};
constexpr wcl::Message<0> kNameListsArgs{"wrongParameters", "XmpCvtStrToXrmNameListLists",
                                         "String to XrmNameListLists takes no additional arguments",
                                         "XtToolkitError"};

template <typename T>
void Deliver(XrmValue* to, T& cell, T value) {
  cell = value;
  to->addr = reinterpret_cast<XPointer>(&cell);
  to->size = sizeof(T);
}

void Warn(const XrmValue* from, const char* type) {
  std::string text(Source(from));
  XtStringConversionWarning(text.c_str(), type);
}

}  // namespace

extern "C" int XmpTableOptsParse(const char* text) {
  return text ? xmp::table::ParseOptions(text) : 0;
}

void XmpCvtStrToXmpTableOpts(XrmValue*, Cardinal* numArgs, XrmValue* from, XrmValue* to) {
  static int cell;
  NoArguments(numArgs, kOptsArgs);
  int options = xmp::table::ParseOptions(Source(from));
  if (options == 0) Warn(from, XmpRXmpTableOpts);
  Deliver(to, cell, options);
}

void XmpCvtStrToXmpTableLoc(XrmValue*, Cardinal* numArgs, XrmValue* from, XrmValue* to) {
  static XmpTableLoc cell;
  NoArguments(numArgs, kLocArgs);
  std::string_view text = Source(from);
  auto entries = text.empty() ? std::nullopt : xmp::table::ParseLayout(text);
  if (!entries) {
    Warn(from, XmpRXmpTableLoc);
    Deliver<XmpTableLoc>(to, cell, nullptr);
    return;
  }
  auto* list = reinterpret_cast<XmpTableLoc>(
      XtCalloc(static_cast<Cardinal>(entries->size() + 1), sizeof(XmpTableLocRec)));
  for (size_t i = 0; i < entries->size(); ++i) {
    const xmp::table::LayoutEntry& e = (*entries)[i];
    XmpTableLocRec& r = list[i];
    r.name = XrmStringToQuark(e.name.c_str());
    r.col = e.col;
    r.row = e.row;
    r.h_span = e.hSpan;
    r.v_span = e.vSpan;
    r.options = e.options;
  }
  Deliver(to, cell, list);
}

void XmpCvtStrToXrmNameListLists(XrmValue*, Cardinal* numArgs, XrmValue* from, XrmValue* to) {
  static XrmNameListLists cell;
  NoArguments(numArgs, kNameListsArgs);
  auto lists = xmp::table::ParseNameListLists(Source(from));
  if (lists.empty()) {
    Warn(from, XmpRXrmNameListLists);
    Deliver<XrmNameListLists>(to, cell, nullptr);
    return;
  }
  auto* value = reinterpret_cast<XrmNameListLists>(
      XtCalloc(static_cast<Cardinal>(lists.size() + 1), sizeof(XrmQuark*)));
  for (size_t i = 0; i < lists.size(); ++i) {
    auto* names = reinterpret_cast<XrmQuark*>(
        XtCalloc(static_cast<Cardinal>(lists[i].size() + 1), sizeof(XrmQuark)));
    for (size_t j = 0; j < lists[i].size(); ++j) names[j] = XrmStringToQuark(lists[i][j].c_str());
    value[i] = names;
  }
  Deliver(to, cell, value);
}
