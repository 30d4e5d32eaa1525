// WcRegistry.h: registries of classes, constructors, callbacks, methods,
// actions, objects attached to widgets and dynamic libraries.
//
// Everything a resource file may name has to be registered first. Class,
// constructor and callback names match case-insensitively on their leading
// identifier (so "myCB" is found by "MYCB(arg)"); method class names and
// attached-object class names keep their case.
//
//   WcRegisterClass(app, "XmPushButton", xmPushButtonWidgetClass);
//   WcRegisterConstructor(app, "XmCreateForm", XmCreateForm);
//   WcRegisterCallback(app, "xKestDoAppQuitCB", QuitCB, nullptr);
//   WcRegisterAction(app, "xKestDoAppQuitACT", QuitAction);
//   WcRegisterMethod(app, "Editor", "save", EditorSave, nullptr);
//   WcAttachThisToWidget(editor, "Editor", textWidget);   // "Editor::save"
//
// Registries live for the process; a later registration under an equal key
// replaces the earlier one.
#pragma once

#include <X11/Intrinsic.h>

#include <string>
#include <vector>

#ifdef __cplusplus
extern "C" {
#endif

// A widget constructor, shaped like Motif's XmCreate... functions.
typedef Widget (*WcConstructorProc)(Widget parent, String name, ArgList args, Cardinal numArgs);

// The toolkit callback signature.
typedef XtCallbackProc WcCallbackProc;

// What the callback registry holds for one name or method: allocated at
// each registration, never released.
typedef struct {
  XtCallbackProc callback;
  XtPointer clientData;
} WcCallbackPairRec, *WcCallbackPair;

// Lower-cased quark of the leading identifier of `name` (letters, digits,
// '_', at most 127 of them; anything before the first one is skipped).
// The key of the class, constructor and callback registries.
XrmQuark WcNameToQuarkLower(const char* name);

void WcRegisterClass(XtAppContext app, const char* name, WidgetClass widgetClass);
void WcRegisterConstructor(XtAppContext app, const char* name, WcConstructorProc constructor);
void WcRegisterCallback(XtAppContext app, const char* name, XtCallbackProc callback,
                        XtPointer clientData);
void WcRegisterAction(XtAppContext app, const char* name, XtActionProc action);

// Registers `className::methodName` (both case-sensitive). Class names
// starting with "-l" are refused with a warning (they name libraries).
void WcRegisterMethod(XtAppContext app, const char* className, const char* methodName,
                      XtCallbackProc callback, XtPointer clientData);

// Attaches `object` to `widget` under `className`; method callbacks of that
// class invoked on the widget or any descendant find it. The attachment
// goes away when the widget is destroyed.
void WcAttachThisToWidget(XtPointer object, const char* className, Widget widget);
void WcDetachThisFromWidget(XtPointer object, const char* className, Widget widget);
void WcDetachThisFromAllWidgets(XtPointer object);

// Lookups for widget creation and invocation. The quark is a
// WcNameToQuarkLower result; a miss gives null.
WidgetClass WcFindClass(XtAppContext app, XrmQuark lowerName);
WcConstructorProc WcFindConstructor(XtAppContext app, XrmQuark lowerName);
WcCallbackPair WcFindCallback(XtAppContext app, XrmQuark lowerName);
WcCallbackPair WcFindMethod(XtAppContext app, XrmQuark className, XrmQuark methodName);

// The object attached to exactly this widget under `className`, or null.
XtPointer WcFindAttachedObject(Widget widget, XrmQuark className);

// Fills the dynamic-library registry from a list of library paths (split
// like name lists): "/usr/lib/libfoo.so.1" is registered as "-lfoo".
// The registry is kept for completeness; library callbacks are refused.
void WcLoadDynamicLibs(XtAppContext app, const char* libraryList);
// The path registered for a short name such as "-lfoo", or null.
const char* WcFindDynamicLib(XtAppContext app, const char* shortName);

#ifdef __cplusplus
}
#endif

// Once-only registration: remembers the application contexts already
// served.
//
//   static WcAppContextList served;
//   if (!served.FirstTime(app)) return;
class WcAppContextList {
 public:
  // True the first time `app` is seen by this list (and remembers it).
  bool FirstTime(XtAppContext app);
  bool Contains(XtAppContext app) const;

 private:
  std::vector<XtAppContext> served_;
};

namespace wcl {

// The class name WcCreateRoot and XtCreateApplicationShell give a shell
// named `name`: the text after the last '/', its first character
// upper-cased when it is a lower-case letter, else its second.
std::string DeriveClassName(const char* name);

}  // namespace wcl
