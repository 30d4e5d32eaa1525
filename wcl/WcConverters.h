// WcConverters.h: the resource converters the creation layer adds to the
// toolkit, and the representation types they produce:
//
//   WcRegisterConverters(app);   // QuarkRec, Quark, Widget, WidgetList,
//                                // Callback, DynamicLibs
//   *ok.activateCallback: xKestDoDsmSaveCB WcUnmanageCB(~)
#pragma once

#include <X11/Intrinsic.h>

#include "wcl/WcLibraryResources.h"  // WcRDynamicLibs

// Representation types of the layer's converters.
#define WcRQuarkRec "QuarkRec"
#define WcRQuark "Quark"

// Value of a QuarkRec resource: the text (permanent storage) and its
// WcNameToQuarkLower quark. An unset resource is an empty text with quark 0.
typedef struct {
  String string;
  XrmQuark quark;
} WcQuarkRec;

#ifdef __cplusplus
extern "C" {
#endif

// Old-style String-to-Callback converter (needs wcCvtWidgetArgs).
void WcCvtStringToCallback(XrmValue* args, Cardinal* numArgs, XrmValue* from, XrmValue* to);

// String-to-DynamicLibs (needs wcCvtWidgetArgs): fills the dynamic-library
// registry of the widget's context; the value is the list text.
Boolean WcCvtStringToDynamicLibs(Display* dpy, XrmValue* args, Cardinal* numArgs,
                                 XrmValue* from, XrmValue* to, XtPointer* converterData);

// The conversion arguments of the widget-based converters: the widget being
// converted for, twice.
extern XtConvertArgRec wcCvtWidgetArgs[2];

// Adds the QuarkRec, Quark, Widget, WidgetList, Callback and DynamicLibs
// converters; once per application context.
void WcRegisterConverters(XtAppContext app);

#ifdef __cplusplus
}
#endif
