// TableChild.cpp: changing a table child's placement from code, from
// actions and from callbacks.
#include <algorithm>
#include <cstdlib>

#include "wcl/WcCallbacks.h"
#include "wcl/WcNames.h"
#include "wcl/WcWarnings.h"
#include "xmp/TableP.h"
#include "xmp/TableParse.h"

using namespace xmp::table;

namespace {

constexpr wcl::Message<1> kNotChildOfTable{"XmpTableChildChange", "notChildOfTable",
                                           "Widget %s is not a child of an XmpTable widget.",
                                           "XmpLibError"};

}  // namespace

void XmpTableChildChange(Widget w, int what, int col, int row, int hSpan, int vSpan, int options) {
  Widget parent = w ? XtParent(w) : nullptr;
  if (!parent || !XmpIsTable(parent)) {
    wcl::Warn(nullptr, kNotChildOfTable, w ? XtName(w) : "(null)");
    return;
  }
  XmpTableWidget tw = reinterpret_cast<XmpTableWidget>(parent);
  State& s = *tw->table.state;

  // Held to the range layout strings allow: a slip such as a column of a
  // hundred million would otherwise ask for a vector of that many columns.
  auto bounded = [](int v) { return std::min(v, kMaxCell); };
  auto change = [&](XmpTableLocRec& r) {
    if (what & 1) {
      if (col >= 0) r.col = bounded(col);
      if (row >= 0) r.row = bounded(row);
    }
    if (what & 2) {
      if (hSpan > 0) r.h_span = bounded(hSpan);
      if (vSpan > 0) r.v_span = bounded(vSpan);
    }
    if (what & 4) r.options = options;
  };

  auto claimed = std::find_if(s.layoutList.begin(), s.layoutList.end(),
                              [w](const XmpTableLocRec& r) { return r.w == w; });
  if (claimed == s.layoutList.end()) {
    ClaimRecord(tw, w);
    claimed = s.layoutList.end() - 1;
  }
  change(*claimed);

  auto laidOut = std::find_if(s.current.begin(), s.current.end(),
                              [w](const XmpTableLocRec& r) { return r.w == w; });
  if (laidOut == s.current.end()) return;  // applies when the child is managed
  change(*laidOut);
  ComputeSameSize(tw);
  ComputeVectors(tw);
  RequestResize(tw);
}

extern "C" void XmpTableChildPosition(Widget w, int col, int row) {
  XmpTableChildChange(w, 1, col, row, 0, 0, 0);
}

extern "C" void XmpTableChildResize(Widget w, int hSpan, int vSpan) {
  XmpTableChildChange(w, 2, 0, 0, hSpan, vSpan, 0);
}

extern "C" void XmpTableChildOptions(Widget w, int options) {
  XmpTableChildChange(w, 4, 0, 0, 0, 0, options);
}

extern "C" void XmpTableChildConfig(Widget w, int col, int row, int hSpan, int vSpan, int options) {
  XmpTableChildChange(w, 7, col, row, hSpan, vSpan, options);
}

// ---- Action and callback forms ----

namespace {

// The messages of one operation.
struct Usage {
  wcl::Message<0> wrongNumArgs;
  wcl::Message<1> widgetNotFound;
  wcl::Message<1> notXmpTable;
};

constexpr Usage kConfig{
    {"XmpTableChildConfig", "wrongNumArgs",
     "Xmp Warning: XmpTableChildConfig( ... ) - Wrong number of arguments.\n"
     "Xmp Usage: XmpTableChildConfig( w col row [h_span [v_span [opts]]] )"},
    {"XmpTableChildConfig", "widgetNotFound",
     "Xmp Warning: XmpTableChildConfig( %s ... ) - Could not find widget."},
    {"XmpTableChildConfig", "notXmpTable",
     "Xmp Warning: XmpTableChildConfig( %s ... ) - Widget not child of an XmpTable."}};
constexpr Usage kPosition{
    {"XmpTableChildPosition", "wrongNumArgs",
     "Xmp Warning: XmpTableChildPosition( ... ) - Wrong number of arguments.\n"
     "Xmp Usage: XmpTableChildPosition( w col row )"},
    {"XmpTableChildPosition", "widgetNotFound",
     "Xmp Warning: XmpTableChildPosition( %s ... ) could not find widget."},
    {"XmpTableChildPosition", "notXmpTable",
     "Xmp Warning: XmpTableChildPosition( %s ... ) Widget not child of an XmpTable."}};
constexpr Usage kResize{
    {"XmpTableChildResize", "wrongNumArgs",
     "Xmp Warning: XmpTableChildResize( ... ) Wrong number of arguments.\n"
     "Xmp Usage: XmpTableChildResize( w h_span v_span )"},
    {"XmpTableChildResize", "widgetNotFound",
     "Xmp Warning: XmpTableChildResize( %s ... ) - Widget not found."},
    {"XmpTableChildResize", "notXmpTable",
     "Xmp Warning: XmpTableChildResize( %s ... ) - Widget not child of an XmpTable."}};
constexpr Usage kOptions{
    {"XmpTableChildOptions", "wrongNumArgs",
     "Xmp Warning: XmpTableChildOptions() - Wrong number of arguments.\n"
     "Xmp Usage: XmpTableChildOptions( w options )"},
    {"XmpTableChildOptions", "widgetNotFound",
     "Xmp Warning: XmpTableChildOptions( %s ... ) - Widget not found."},
    {"XmpTableChildOptions", "notXmpTable",
     "Xmp Warning: XmpTableChildOptions( %s ... ) Widget not child of an XmpTable."}};

const char* Param(String* params, Cardinal i) { return params[i] ? params[i] : ""; }

// The table child named by the first parameter, or null after a warning.
Widget TableChild(const Usage& u, Widget w, String* params, Cardinal numParams, Cardinal least,
                  Cardinal most) {
  if (numParams < least || numParams > most) {
    wcl::Warn(w, u.wrongNumArgs);
    return nullptr;
  }
  const char* name = Param(params, 0);
  Widget child = WcResolveWidgetName(w, name);
  if (!child) {
    wcl::Warn(w, u.widgetNotFound, name);
    return nullptr;
  }
  if (!XtParent(child) || !XmpIsTable(XtParent(child))) {
    wcl::Warn(w, u.notXmpTable, name);
    return nullptr;
  }
  return child;
}

// A cell number, or -1 (keep the current one) when negative. A number
// above the largest cell is held there, as the functions called from code
// and layout strings hold it.
int CellParam(const char* text) {
  long v = std::strtol(text, nullptr, 10);
  return v >= 0 ? static_cast<int>(std::min<long>(v, kMaxCell)) : -1;
}

// A span, or 0 (keep the current one) when below 1; held like a cell.
int SpanParam(const char* text) {
  long v = std::strtol(text, nullptr, 10);
  return v >= 1 ? static_cast<int>(std::min<long>(v, kMaxCell)) : 0;
}

}  // namespace

extern "C" void XmpTableChildConfigACT(Widget w, XEvent*, String* params, Cardinal* numParams) {
  Cardinal n = *numParams;
  Widget child = TableChild(kConfig, w, params, n, 3, 6);
  if (!child) return;
  int hSpan = n > 3 ? SpanParam(Param(params, 3)) : 1;
  int vSpan = n > 4 ? SpanParam(Param(params, 4)) : 1;
  int options = n > 5 ? XmpTableOptsParse(Param(params, 5)) : ~0;  // every option on
  XmpTableChildConfig(child, CellParam(Param(params, 1)), CellParam(Param(params, 2)), hSpan, vSpan,
                      options);
}

extern "C" void XmpTableChildPositionACT(Widget w, XEvent*, String* params, Cardinal* numParams) {
  Widget child = TableChild(kPosition, w, params, *numParams, 3, 3);
  if (!child) return;
  XmpTableChildPosition(child, CellParam(Param(params, 1)), CellParam(Param(params, 2)));
}

extern "C" void XmpTableChildResizeACT(Widget w, XEvent*, String* params, Cardinal* numParams) {
  Widget child = TableChild(kResize, w, params, *numParams, 3, 3);
  if (!child) return;
  XmpTableChildResize(child, SpanParam(Param(params, 1)), SpanParam(Param(params, 2)));
}

extern "C" void XmpTableChildOptionsACT(Widget w, XEvent*, String* params, Cardinal* numParams) {
  Widget child = TableChild(kOptions, w, params, *numParams, 2, 2);
  if (!child) return;
  XmpTableChildOptions(child, XmpTableOptsParse(Param(params, 1)));
}

extern "C" void XmpTableChildConfigCB(Widget w, XtPointer text, XtPointer) {
  WcInvokeAction(XmpTableChildConfigACT, w, static_cast<const char*>(text));
}

extern "C" void XmpTableChildPositionCB(Widget w, XtPointer text, XtPointer) {
  WcInvokeAction(XmpTableChildPositionACT, w, static_cast<const char*>(text));
}

extern "C" void XmpTableChildResizeCB(Widget w, XtPointer text, XtPointer) {
  WcInvokeAction(XmpTableChildResizeACT, w, static_cast<const char*>(text));
}

extern "C" void XmpTableChildOptionsCB(Widget w, XtPointer text, XtPointer) {
  WcInvokeAction(XmpTableChildOptionsACT, w, static_cast<const char*>(text));
}
