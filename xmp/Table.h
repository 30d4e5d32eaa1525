// Table.h: XmpTable, a Motif manager that places its children in the cells
// of a grid. Each child covers a rectangle of columns and rows (column,
// row, horizontal and vertical span) and option letters say how it sits in
// its cells: l r t b (justify), W H (keep its own width/height), w h (its
// columns/rows do not stretch). Column widths and row heights follow the
// children's preferred sizes; extra or missing space is spread over them.
//
//   *form.wcCreate:     XmpTable
//   *form.layout:       label 0 0; text 1 0 2 1 lw; ok 0 1
//   *form.sameWidth:    (ok cancel)
//
//   Widget t = XmpCreateTable(parent, "form", nullptr, 0);
//   XmpTableChildConfig(child, 1, 0, 2, 1, XmpTableOptsParse("lw"));
#pragma once

#include <X11/Intrinsic.h>

#ifdef __cplusplus
extern "C" {
#endif

extern WidgetClass xmpTableWidgetClass;
typedef struct _XmpTableClassRec* XmpTableWidgetClass;
typedef struct _XmpTableRec* XmpTableWidget;

#define XmpIsTable(w) XtIsSubclass((w), xmpTableWidgetClass)

// Resource names, classes and representation types.
#define XmpNdefaultOptions ((char*)"defaultOptions")
#define XmpCDefaultOptions ((char*)"DefaultOptions")
#define XmpNlayout ((char*)"layout")
#define XmpCLayout ((char*)"Layout")
#define XmpNsameWidth ((char*)"sameWidth")
#define XmpNsameHeight ((char*)"sameHeight")
#define XmpNsameBorder ((char*)"sameBorder")
#define XmpCSameSize ((char*)"SameSize")
#define XmpNforceShrink ((char*)"forceShrink")
#define XmpCForceShrink ((char*)"ForceShrink")
#define XmpNcolumnSpacing ((char*)"columnSpacing")
#define XmpNrowSpacing ((char*)"rowSpacing")
#define XmpCSpacing ((char*)"Spacing")
#define XmpRXmpTableOpts ((char*)"XmpTableOpts")
#define XmpRXmpTableLoc ((char*)"XmpTableLoc")
#define XmpRXrmNameListLists ((char*)"XrmNameListLists")

// Option bits of a child (the letters of an options string).
enum {
  XmpTableLeft = 1,            // 'l'
  XmpTableRight = 2,           // 'r'
  XmpTableTop = 4,             // 't'
  XmpTableBottom = 8,          // 'b'
  XmpTableKeepWidth = 16,      // 'W'
  XmpTableKeepHeight = 32,     // 'H'
  XmpTableNoStretchCols = 64,  // 'w'
  XmpTableNoStretchRows = 128  // 'h'
};

// Constructors. The dialog forms create the table unmanaged (Dialog) or
// managed (Transient) in a new shell named name + "_popup" that is
// destroyed with the table.
Widget XmpCreateTable(Widget parent, String name, ArgList args, Cardinal numArgs);
Widget XmpCreateTableDialog(Widget parent, String name, ArgList args, Cardinal numArgs);
Widget XmpCreateTableTransient(Widget parent, String name, ArgList args, Cardinal numArgs);

// Placement of a table child. Negative cells, spans below 1 leave the
// current value; an unmanaged child's placement applies when it is managed.
void XmpTableChildPosition(Widget w, int col, int row);
void XmpTableChildResize(Widget w, int hSpan, int vSpan);
void XmpTableChildOptions(Widget w, int options);
void XmpTableChildConfig(Widget w, int col, int row, int hSpan, int vSpan, int options);

// The option bits of an options string: 0 when it starts with 'n' or 'N';
// letters other than l r t b W H w h are ignored.
int XmpTableOptsParse(const char* text);

// Action forms (parameters: w col row [h_span [v_span [opts]]], w col row,
// w h_span v_span, w options; w is resolved from the acting widget).
void XmpTableChildConfigACT(Widget w, XEvent* event, String* params, Cardinal* numParams);
void XmpTableChildPositionACT(Widget w, XEvent* event, String* params, Cardinal* numParams);
void XmpTableChildResizeACT(Widget w, XEvent* event, String* params, Cardinal* numParams);
void XmpTableChildOptionsACT(Widget w, XEvent* event, String* params, Cardinal* numParams);

// Callback forms: the client data is the same parameters as one text.
void XmpTableChildConfigCB(Widget w, XtPointer text, XtPointer callData);
void XmpTableChildPositionCB(Widget w, XtPointer text, XtPointer callData);
void XmpTableChildResizeCB(Widget w, XtPointer text, XtPointer callData);
void XmpTableChildOptionsCB(Widget w, XtPointer text, XtPointer callData);

// Registers the table's class names ("XmpTable", "xmpTableWidgetClass"),
// constructors and the table-child callbacks and actions; once per context.
void XmpRegisterTable(XtAppContext app);

#ifdef __cplusplus
}
#endif
