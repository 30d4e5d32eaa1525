// table_fuzz.cpp: the table's option, layout and name-list-list strings,
// through the pure parsers and the converters that hand their results to
// the toolkit (quarks need no display), and the parsed layout through the
// size arithmetic it ends up in.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "xmp/TableLayout.h"
#include "xmp/TableP.h"
#include "xmp/TableParse.h"

namespace tbl = xmp::table;

namespace {

void QuietXt(String, String, String, String, String*, Cardinal*) {}

bool IsNameChar(char c) {
  auto u = static_cast<unsigned char>(c);
  return std::isalnum(u) || u == '_';
}

void CheckLayout(const std::string& text, const std::vector<tbl::LayoutEntry>& entries) {
  std::vector<tbl::Span> cols, rows;
  for (const tbl::LayoutEntry& e : entries) {
    FUZZ_CHECK(e.col >= 0 && e.col <= tbl::kMaxCell && e.row >= 0 && e.row <= tbl::kMaxCell);
    FUZZ_CHECK(e.hSpan >= 1 && e.hSpan <= tbl::kMaxCell && e.vSpan >= 1 &&
               e.vSpan <= tbl::kMaxCell);
    FUZZ_CHECK(!e.name.empty() && text.find(e.name) != std::string::npos);
    // Preferred sizes as the toolkit could report them: 1 to 65535.
    const tbl::Px w = static_cast<tbl::Px>(std::hash<std::string>{}(e.name) % 65535) + 1;
    const tbl::Px h = e.options * 257 % 65535 + 1;
    cols.push_back({e.col, e.hSpan, (e.options & tbl::kNoStretchCols) != 0, w, w});
    rows.push_back({e.row, e.vSpan, (e.options & tbl::kNoStretchRows) != 0, h, h});
    if (cols.size() == 16) break;  // enough to cover the arithmetic
  }
  tbl::Vector vc = tbl::BuildVector(cols, 3);
  tbl::Vector vr = tbl::BuildVector(rows, 0);
  if (vc.empty() || vr.empty()) return;
  tbl::Fit(vc, 32767, 3, 4, true);
  tbl::Fit(vr, 1, 0, 0, true);
  tbl::Place(vc, 2, 3);
  tbl::Place(vr, 0, 0);
  // Slots no child covers stay at 0; the others keep at least a pixel.
  for (const tbl::Slot& s : vc) FUZZ_CHECK(s.size >= 0 && s.pos >= 0);
  for (const tbl::Slot& s : vr) FUZZ_CHECK(s.size >= 0 && s.pos >= 0);
  const tbl::LayoutEntry& e = entries.front();
  tbl::Cell cell{e.col, e.row, e.hSpan, e.vSpan, e.options, 40, 20};
  tbl::Box box = tbl::ChildGeometry(vc, vr, 3, 0, cell, 0, 0, 1);
  FUZZ_CHECK(box.width >= 1 && box.height >= 1);
}

void CheckConverters(const std::string& text) {
  XrmValue from{static_cast<unsigned>(text.size() + 1), const_cast<char*>(text.c_str())};
  Cardinal none = 0;

  XrmValue to{0, nullptr};
  XmpCvtStrToXmpTableOpts(nullptr, &none, &from, &to);
  FUZZ_CHECK(to.size == sizeof(int) && to.addr);

  to = {0, nullptr};
  XmpCvtStrToXmpTableLoc(nullptr, &none, &from, &to);
  FUZZ_CHECK(to.size == sizeof(XmpTableLoc) && to.addr);
  XtFree(reinterpret_cast<char*>(*reinterpret_cast<XmpTableLoc*>(to.addr)));

  to = {0, nullptr};
  XmpCvtStrToXrmNameListLists(nullptr, &none, &from, &to);
  FUZZ_CHECK(to.size == sizeof(XrmNameListLists) && to.addr);
  if (XrmNameListLists lists = *reinterpret_cast<XrmNameListLists*>(to.addr)) {
    for (XrmQuark** l = lists; *l; ++l) XtFree(reinterpret_cast<char*>(*l));
    XtFree(reinterpret_cast<char*>(lists));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool once = [] {
    XtSetWarningMsgHandler(QuietXt);
    return true;
  }();
  (void)once;
  // Resource values are C strings.
  std::string text(reinterpret_cast<const char*>(data), size);
  text.resize(std::strlen(text.c_str()));

  const int options = tbl::ParseOptions(text);
  FUZZ_CHECK(options >= 0 && options < 256);

  if (auto entries = tbl::ParseLayout(text)) CheckLayout(text, *entries);

  for (const auto& list : tbl::ParseNameListLists(text))
    for (const std::string& name : list)
      FUZZ_CHECK(std::all_of(name.begin(), name.end(), IsNameChar));

  CheckConverters(text);
  return 0;
}
