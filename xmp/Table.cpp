// Table.cpp: the XmpTable widget class: resources, class record, the
// methods that keep the placement records, and the layout steps that run
// the arithmetic of TableLayout on the table's children. The negotiation
// with the parent and the children lives in TableGeometry.cpp.
#include <X11/Shell.h>
#include <Xm/DialogS.h>
#include <Xm/XmP.h>

#include <algorithm>
#include <string>
#include <unordered_map>

#include "xmp/TableP.h"
#include "xmp/TableParse.h"

namespace xmp::table {
namespace {

void ClassInitialize();
void Initialize(Widget request, Widget nw, ArgList args, Cardinal* numArgs);
void Destroy(Widget w);
void Resize(Widget w);
Boolean SetValues(Widget current, Widget request, Widget nw, ArgList args, Cardinal* numArgs);
void ChangeManaged(Widget w);
void Redisplay(Widget w, XEvent* event, Region region);

#define Offset(field) XtOffsetOf(XmpTableRec, table.field)
XtResource resources[] = {
    {XmpNdefaultOptions, XmpCDefaultOptions, XmpRXmpTableOpts, sizeof(int), Offset(default_options),
     XtRImmediate, nullptr},
    {XmpNlayout, XmpCLayout, XmpRXmpTableLoc, sizeof(XmpTableLoc), Offset(default_layout),
     XtRImmediate, nullptr},
    {XmpNsameWidth, XmpCSameSize, XmpRXrmNameListLists, sizeof(XrmNameListLists),
     Offset(same_width), XtRImmediate, nullptr},
    {XmpNsameHeight, XmpCSameSize, XmpRXrmNameListLists, sizeof(XrmNameListLists),
     Offset(same_height), XtRImmediate, nullptr},
    {XmpNsameBorder, XmpCSameSize, XmpRXrmNameListLists, sizeof(XrmNameListLists),
     Offset(same_border), XtRImmediate, nullptr},
    {XmpNforceShrink, XmpCForceShrink, XtRBoolean, sizeof(Boolean), Offset(force_shrink),
     XtRImmediate, reinterpret_cast<XtPointer>(True)},
    {XmpNcolumnSpacing, XmpCSpacing, XtRInt, sizeof(int), Offset(col_spacing), XtRImmediate,
     nullptr},
    {XmpNrowSpacing, XmpCSpacing, XtRInt, sizeof(int), Offset(row_spacing), XtRImmediate, nullptr},
};
#undef Offset

}  // namespace
}  // namespace xmp::table

XmpTableClassRec xmpTableClassRec = {
    {
        // core
        reinterpret_cast<WidgetClass>(&xmBulletinBoardClassRec),  // superclass
        const_cast<char*>("XmpTable"),                            // class_name
        sizeof(XmpTableRec),                                      // widget_size
        xmp::table::ClassInitialize,                              // class_initialize
        nullptr,                                                  // class_part_initialize
        False,                                                    // class_inited
        xmp::table::Initialize,                                   // initialize
        nullptr,                                                  // initialize_hook
        XtInheritRealize,                                         // realize
        nullptr,                                                  // actions
        0,                                                        // num_actions
        xmp::table::resources,                                    // resources
        XtNumber(xmp::table::resources),                          // num_resources
        NULLQUARK,                                                // xrm_class
        True,                                                     // compress_motion
        XtExposeCompressSeries,                                   // compress_exposure
        True,                                                     // compress_enterleave
        False,                                                    // visible_interest
        xmp::table::Destroy,                                      // destroy
        xmp::table::Resize,                                       // resize
        xmp::table::Redisplay,                                    // expose
        xmp::table::SetValues,                                    // set_values
        nullptr,                                                  // set_values_hook
        XtInheritSetValuesAlmost,                                 // set_values_almost
        nullptr,                                                  // get_values_hook
        XtInheritAcceptFocus,                                     // accept_focus
        XtVersion,                                                // version
        nullptr,                                                  // callback_private
        XtInheritTranslations,                                    // tm_table
        xmp::table::QueryGeometry,                                // query_geometry
        XtInheritDisplayAccelerator,                              // display_accelerator
        nullptr,                                                  // extension
    },
    {
        // composite
        XmpTableGeometryManager,    // geometry_manager
        xmp::table::ChangeManaged,  // change_managed
        XtInheritInsertChild,       // insert_child
        XtInheritDeleteChild,       // delete_child
        nullptr,                    // extension
    },
    {
        // constraint: none of its own; the size is the bulletin board's
        nullptr,  // resources
        0,        // num_resources
        0,        // constraint_size (set by class_initialize)
        nullptr,  // initialize
        nullptr,  // destroy
        nullptr,  // set_values
        nullptr,  // extension
    },
    {
        // manager
        XtInheritTranslations,   // translations
        nullptr,                 // syn_resources
        0,                       // num_syn_resources
        nullptr,                 // syn_constraint_resources
        0,                       // num_syn_constraint_resources
        XmInheritParentProcess,  // parent_process
        nullptr,                 // extension
    },
    {
        // bulletin board
        False,                    // always_install_accelerators
        nullptr,                  // geo_matrix_create: the table lays out itself
        XmInheritFocusMovedProc,  // focus_moved_proc
        nullptr,                  // extension
    },
    {
        // table
        nullptr,  // extension
    },
};

WidgetClass xmpTableWidgetClass = reinterpret_cast<WidgetClass>(&xmpTableClassRec);

namespace xmp::table {
namespace {

XmpTableWidget Table(Widget w) { return reinterpret_cast<XmpTableWidget>(w); }

// A list set from code may hold any numbers; cells and spans are held to
// what a layout string can give, so the vectors stay small.
std::vector<XmpTableLocRec> CopyLayout(XmpTableLoc loc) {
  std::vector<XmpTableLocRec> list;
  for (; loc && loc->name != NULLQUARK; ++loc) {
    XmpTableLocRec& r = list.emplace_back(*loc);
    r.w = nullptr;
    r.col = std::clamp(r.col, 0, kMaxCell);
    r.row = std::clamp(r.row, 0, kMaxCell);
    r.h_span = std::clamp(r.h_span, 1, kMaxCell);
    r.v_span = std::clamp(r.v_span, 1, kMaxCell);
  }
  return list;
}

std::vector<std::vector<XrmQuark>> CopyLists(XrmNameListLists lists) {
  std::vector<std::vector<XrmQuark>> copy;
  for (; lists && *lists; ++lists) {
    std::vector<XrmQuark>& names = copy.emplace_back();
    for (XrmQuark* q = *lists; *q != NULLQUARK; ++q) names.push_back(*q);
  }
  return copy;
}

Px Frame(XmpTableWidget tw, Dimension margin) {
  return 2 * (static_cast<Px>(tw->manager.shadow_thickness) + margin);
}

void ClassInitialize() {
  xmpTableClassRec.constraint_class.constraint_size =
      xmBulletinBoardClassRec.constraint_class.constraint_size;
  XtAddConverter(XtRString, XmpRXmpTableOpts, XmpCvtStrToXmpTableOpts, nullptr, 0);
  XtAddConverter(XtRString, XmpRXmpTableLoc, XmpCvtStrToXmpTableLoc, nullptr, 0);
  XtAddConverter(XtRString, XmpRXrmNameListLists, XmpCvtStrToXrmNameListLists, nullptr, 0);
}

void Initialize(Widget, Widget nw, ArgList, Cardinal*) {
  XmpTableWidget tw = Table(nw);
  tw->table.state = new State;
  State& s = *tw->table.state;
  s.layoutList = CopyLayout(tw->table.default_layout);
  s.sameWidth = CopyLists(tw->table.same_width);
  s.sameHeight = CopyLists(tw->table.same_height);
  s.sameBorder = CopyLists(tw->table.same_border);
  // The toolkit refuses to realize a widget of zero size, which an empty
  // table would otherwise keep.
  if (tw->core.width == 0) tw->core.width = ToDimension(PreferredWidth(tw));
  if (tw->core.height == 0) tw->core.height = ToDimension(PreferredHeight(tw));
}

void Destroy(Widget w) {
  XmpTableWidget tw = Table(w);
  delete tw->table.state;
  tw->table.state = nullptr;
}

void Resize(Widget w) {
  XmpTableWidget tw = Table(w);
  State& s = *tw->table.state;
  if (!(s.approved && tw->core.width == s.allowWidth && tw->core.height == s.allowHeight))
    DropTrial(s);
  LayOut(tw);
}

Boolean SetValues(Widget current, Widget, Widget nw, ArgList, Cardinal*) {
  XmpTableWidget old = Table(current), tw = Table(nw);
  const XmpTablePart& o = old->table;
  const XmpTablePart& n = tw->table;
  bool layoutChanged = o.default_layout != n.default_layout;
  bool sameWidth = o.same_width != n.same_width;
  bool sameHeight = o.same_height != n.same_height;
  bool sameBorder = o.same_border != n.same_border;
  bool changed = layoutChanged || sameWidth || sameHeight || sameBorder ||
                 o.force_shrink != n.force_shrink || o.col_spacing != n.col_spacing ||
                 o.row_spacing != n.row_spacing || o.default_options != n.default_options ||
                 old->bulletin_board.margin_width != tw->bulletin_board.margin_width ||
                 old->bulletin_board.margin_height != tw->bulletin_board.margin_height;
  tw->bulletin_board.in_set_values = False;
  if (!changed) return False;

  State& s = *n.state;
  DropTrial(s);
  if (sameWidth) s.sameWidth = CopyLists(n.same_width);
  if (sameHeight) s.sameHeight = CopyLists(n.same_height);
  if (sameBorder) s.sameBorder = CopyLists(n.same_border);
  if (layoutChanged) s.layoutList = CopyLayout(n.default_layout);
  if (layoutChanged || s.current.empty()) BuildCurrentLayout(tw);
  ComputeSameSize(tw);
  ComputeVectors(tw);
  RequestResize(tw);
  return True;
}

void ChangeManaged(Widget w) {
  XmpTableWidget tw = Table(w);
  BuildCurrentLayout(tw);
  ComputeSameSize(tw);
  ComputeVectors(tw);
  RequestResize(tw);
  XmeNavigChangeManaged(w);
}

// The bulletin board paints gadgets and the shadow. Moving many window
// children exposes the table in many small pieces; without gadgets, pieces
// clear of the shadow band have nothing to paint, and skipping them saves a
// walk over every child per piece.
void Redisplay(Widget w, XEvent* event, Region region) {
  XmpTableWidget tw = Table(w);
  if (event && event->type == Expose && !tw->table.state->hasGadgets) {
    const XExposeEvent& e = event->xexpose;
    int band = tw->manager.shadow_thickness;
    bool touchesShadow =
        band > 0 && (e.x < band || e.y < band || e.x + e.width > w->core.width - band ||
                     e.y + e.height > w->core.height - band);
    if (!touchesShadow) return;
  }
  xmBulletinBoardClassRec.core_class.expose(w, event, region);
}

// A destroyed child gives up its records so that a later child of the same
// name can claim them.
void ReleaseRecord(Widget child, XtPointer table, XtPointer) {
  XmpTableWidget tw = Table(static_cast<Widget>(table));
  if (!tw->table.state) return;
  State& s = *tw->table.state;
  for (XmpTableLocRec& r : s.layoutList)
    if (r.w == child) r.w = nullptr;
  std::erase_if(s.current, [child](const XmpTableLocRec& r) { return r.w == child; });
}

// The outer preferred size of a child (borders included) as the layout
// sees it: forced by a same-size group, requested in a trial, asked from
// the child, or the size it had when the table took it in.
struct Preferred {
  Px width, height;
};

Preferred PreferredOf(XmpTableWidget tw, const XmpTableLocRec& r) {
  const State& s = *tw->table.state;
  Widget c = r.w;
  bool requesting = c && s.request.child == c;
  Px actualBorder = c ? c->core.border_width : r.orig_border_width;
  Px border = r.forced_border_width ? r.forced_border_width
              : requesting          ? s.request.border
                                    : actualBorder;
  Px requestBorder = r.forced_border_width ? r.forced_border_width : s.request.border;

  XtWidgetGeometry asked{};
  bool query = c && !requesting && XtClass(c)->core_class.query_geometry &&
               ((!(r.options & kKeepWidth) && !r.forced_width) ||
                (!(r.options & kKeepHeight) && !r.forced_height));
  if (query) XtQueryGeometry(c, nullptr, &asked);
  Px askedBorder = (asked.request_mode & CWBorderWidth) ? asked.border_width : actualBorder;

  auto one = [&](int forced, Px requested, int keep, XtGeometryMask bit, Px askedSize,
                 Px actualSize, int saved) -> Px {
    if (forced) return forced + 2 * border;
    if (requesting) return requested + 2 * requestBorder;
    if (!(r.options & keep) && query)
      return ((asked.request_mode & bit) ? askedSize : actualSize) + 2 * askedBorder;
    return saved + 2 * static_cast<Px>(r.orig_border_width);
  };
  return {one(r.forced_width, s.request.width, kKeepWidth, CWWidth, asked.width,
              c ? c->core.width : 0, r.orig_width),
          one(r.forced_height, s.request.height, kKeepHeight, CWHeight, asked.height,
              c ? c->core.height : 0, r.orig_height)};
}

Cell CellOf(const XmpTableLocRec& r) { return {r.col, r.row, r.h_span, r.v_span, r.options, 0, 0}; }

}  // namespace

Dimension ToDimension(Px v) { return static_cast<Dimension>(std::clamp<Px>(v, 1, 65535)); }

XmpTableLocRec ClaimRecord(XmpTableWidget tw, Widget child) {
  State& s = *tw->table.state;
  XrmQuark name = child->core.xrm_name;
  XmpTableLocRec rec{};
  auto unclaimed = std::find_if(s.layoutList.begin(), s.layoutList.end(),
                                [name](const auto& r) { return r.name == name && r.w == nullptr; });
  if (unclaimed != s.layoutList.end()) {
    rec = *unclaimed;  // it stays unclaimed for further children of this name
  } else {
    rec.name = name;
  }
  rec.w = child;
  rec.h_span = std::max(rec.h_span, 1);
  rec.v_span = std::max(rec.v_span, 1);
  rec.orig_width = child->core.width;
  rec.orig_height = child->core.height;
  rec.orig_border_width = child->core.border_width;
  if (rec.options == 0) rec.options = tw->table.default_options;
  s.layoutList.push_back(rec);
  Widget table = reinterpret_cast<Widget>(tw);
  XtRemoveCallback(child, XtNdestroyCallback, ReleaseRecord, table);
  XtAddCallback(child, XtNdestroyCallback, ReleaseRecord, table);
  return rec;
}

void BuildCurrentLayout(XmpTableWidget tw) {
  State& s = *tw->table.state;
  std::unordered_map<Widget, size_t> laidOut, claimed;
  for (size_t i = 0; i < s.current.size(); ++i) laidOut.emplace(s.current[i].w, i);
  for (size_t i = 0; i < s.layoutList.size(); ++i)
    if (s.layoutList[i].w) claimed.emplace(s.layoutList[i].w, i);

  std::vector<XmpTableLocRec> next;
  next.reserve(tw->composite.num_children);
  for (Cardinal i = 0; i < tw->composite.num_children; ++i) {
    Widget child = tw->composite.children[i];
    if (!XtIsManaged(child)) continue;
    if (auto it = laidOut.find(child); it != laidOut.end())
      next.push_back(s.current[it->second]);
    else if (auto jt = claimed.find(child); jt != claimed.end())
      next.push_back(s.layoutList[jt->second]);
    else
      next.push_back(ClaimRecord(tw, child));
  }
  s.current = std::move(next);
  s.hasGadgets = std::any_of(s.current.begin(), s.current.end(),
                             [](const XmpTableLocRec& r) { return !XtIsWidget(r.w); });
}

void ComputeSameSize(XmpTableWidget tw) {
  State& s = *tw->table.state;
  size_t n = s.current.size();
  std::vector<Name> names(n);
  std::vector<Px> widths(n), heights(n), borders(n);
  for (size_t i = 0; i < n; ++i) {
    XmpTableLocRec& r = s.current[i];
    r.forced_width = r.forced_height = r.forced_border_width = 0;
    names[i] = r.name;
    bool requesting = r.w && r.w == s.request.child;
    widths[i] = requesting ? s.request.width : r.w->core.width;
    heights[i] = requesting ? s.request.height : r.w->core.height;
    borders[i] = requesting ? s.request.border : r.w->core.border_width;
  }
  auto apply = [&](const auto& groups, const std::vector<Px>& values, int XmpTableLocRec::*field) {
    if (groups.empty()) return;
    std::vector<Px> forced = SameSize(groups, names, values);
    for (size_t i = 0; i < n; ++i)
      if (forced[i]) s.current[i].*field = static_cast<int>(forced[i]);
  };
  apply(s.sameWidth, widths, &XmpTableLocRec::forced_width);
  apply(s.sameHeight, heights, &XmpTableLocRec::forced_height);
  apply(s.sameBorder, borders, &XmpTableLocRec::forced_border_width);
}

void ComputeVectors(XmpTableWidget tw) {
  State& s = *tw->table.state;
  std::vector<Span> colSpans, rowSpans;
  colSpans.reserve(s.current.size());
  rowSpans.reserve(s.current.size());
  for (const XmpTableLocRec& r : s.current) {
    Preferred p = PreferredOf(tw, r);
    bool requesting = r.w && r.w == s.request.child;
    Px rigidW = requesting ? s.request.width + 2 * s.request.border
                           : r.orig_width + 2 * static_cast<Px>(r.orig_border_width);
    Px rigidH = requesting ? s.request.height + 2 * s.request.border
                           : r.orig_height + 2 * static_cast<Px>(r.orig_border_width);
    colSpans.push_back({r.col, r.h_span, (r.options & kNoStretchCols) != 0, p.width, rigidW});
    rowSpans.push_back({r.row, r.v_span, (r.options & kNoStretchRows) != 0, p.height, rigidH});
  }
  s.cols = BuildVector(colSpans, tw->table.col_spacing);
  s.rows = BuildVector(rowSpans, tw->table.row_spacing);
}

Px PreferredWidth(XmpTableWidget tw) {
  const State& s = *tw->table.state;
  return PreferredTotal(s.cols, tw->table.col_spacing, Frame(tw, tw->bulletin_board.margin_width));
}

Px PreferredHeight(XmpTableWidget tw) {
  const State& s = *tw->table.state;
  return PreferredTotal(s.rows, tw->table.row_spacing, Frame(tw, tw->bulletin_board.margin_height));
}

void FitToSize(XmpTableWidget tw, Vector& cols, Vector& rows, Px width, Px height) {
  bool force = tw->table.force_shrink;
  Fit(cols, width, tw->table.col_spacing, Frame(tw, tw->bulletin_board.margin_width), force);
  Fit(rows, height, tw->table.row_spacing, Frame(tw, tw->bulletin_board.margin_height), force);
}

Box ChildBox(XmpTableWidget tw, const XmpTableLocRec& rec, Px givenWidth, Px givenHeight,
             Px border) {
  const State& s = *tw->table.state;
  Cell cell = CellOf(rec);
  if (rec.options & (kKeepWidth | kKeepHeight)) {
    Preferred p = PreferredOf(tw, rec);
    cell.prefWidth = p.width;
    cell.prefHeight = p.height;
  }
  return ChildGeometry(s.cols, s.rows, tw->table.col_spacing, tw->table.row_spacing, cell,
                       givenWidth, givenHeight, border);
}

void PlaceVectors(XmpTableWidget tw) {
  State& s = *tw->table.state;
  Px shadow = tw->manager.shadow_thickness;
  Place(s.cols, shadow + tw->bulletin_board.margin_width, tw->table.col_spacing);
  Place(s.rows, shadow + tw->bulletin_board.margin_height, tw->table.row_spacing);
}

void ConfigureChildren(XmpTableWidget tw) {
  State& s = *tw->table.state;
  PlaceVectors(tw);
  auto position = [](Px v) { return static_cast<Position>(std::clamp<Px>(v, -32768, 32767)); };
  // Copied: configuring a child can run code that rebuilds the layout.
  std::vector<XmpTableLocRec> records = s.current;
  for (const XmpTableLocRec& r : records) {
    Widget c = r.w;
    if (!c || c->core.being_destroyed) continue;
    Box b;
    Px border = c->core.border_width;
    if (s.applying.child == c) {
      border = s.applying.border;
      b = ChildBox(tw, r, s.applying.width, s.applying.height, border);
    } else {
      b = ChildBox(tw, r, 0, 0, border);
    }
    Position x = position(b.x), y = position(b.y);
    Dimension w = ToDimension(b.width), h = ToDimension(b.height);
    Dimension bw = static_cast<Dimension>(std::clamp<Px>(border, 0, 65535));
    if (x == c->core.x && y == c->core.y && w == c->core.width && h == c->core.height &&
        bw == c->core.border_width)
      continue;
    XmeConfigureObject(c, x, y, w, h, bw);
  }
}

void LayOut(XmpTableWidget tw) {
  State& s = *tw->table.state;
  if (!s.approved) FitToSize(tw, s.cols, s.rows, tw->core.width, tw->core.height);
  ConfigureChildren(tw);
  if (XtIsRealized(reinterpret_cast<Widget>(tw)))
    XClearArea(XtDisplay(tw), XtWindow(tw), 0, 0, 0, 0, True);
  s.negotiation = Negotiation::LaidOut;
}

}  // namespace xmp::table

// ---- Constructors ----

namespace {

void DestroyShell(Widget table, XtPointer, XtPointer) { XtDestroyWidget(XtParent(table)); }

Widget CreateInShell(Widget parent, String name, ArgList args, Cardinal numArgs,
                     WidgetClass shellClass, bool manage) {
  std::string shellName = std::string(name ? name : "") + "_popup";
  // The arguments are the table's; the shell only has to follow its size.
  Arg resize;
  XtSetArg(resize, XtNallowShellResize, True);
  Widget shell = XtCreatePopupShell(shellName.c_str(), shellClass, parent, &resize, 1);
  Widget table = XtCreateWidget(name, xmpTableWidgetClass, shell, args, numArgs);
  XtAddCallback(table, XtNdestroyCallback, DestroyShell, nullptr);
  if (manage) XtManageChild(table);
  return table;
}

}  // namespace

extern "C" Widget XmpCreateTable(Widget parent, String name, ArgList args, Cardinal numArgs) {
  return XtCreateWidget(name, xmpTableWidgetClass, parent, args, numArgs);
}

extern "C" Widget XmpCreateTableDialog(Widget parent, String name, ArgList args, Cardinal numArgs) {
  return CreateInShell(parent, name, args, numArgs, xmDialogShellWidgetClass, false);
}

extern "C" Widget XmpCreateTableTransient(Widget parent, String name, ArgList args,
                                          Cardinal numArgs) {
  return CreateInShell(parent, name, args, numArgs, transientShellWidgetClass, true);
}
