// WcSetValue.h: setting resources and translations at run time.
//
// The resource description changes resources of existing widgets when a
// callback or action fires; values are written as text and converted to the
// resource's type, found from the widget's class or its parent's constraint
// resources when the setting does not name it:
//
//   *ok.activateCallback: WcSetValueCB( *apply.sensitive: False )
//   *b.activateCallback:  WcSetValueCB( (^.width(Dimension): 40) (^.height: 20) )
//   *t.activateCallback:  WcTranslationsCB( *text, #override <Key>Return: foo() )
//
// A syntax error anywhere cancels the whole call; a target that is not found
// or a resource whose type is unknown drops only its own specification. All
// specifications naming one widget are applied in one XtSetValues call.
#pragma once

#include <X11/Intrinsic.h>

#ifdef __cplusplus
extern "C" {
#endif

// Callback style: client data is the resource specification text (null does
// nothing). Registered as WcSetValue and WcSetValues, with CB and ACT forms.
void WcSetValueCB(Widget w, XtPointer text, XtPointer callData);

// The representation type of `resource` (a resource name or class) of
// target: its class's resources first, then its parent's constraint
// resources. Newly allocated with XtMalloc (XtFree it), or null.
char* WcGetResourceType(Widget target, const char* resource);

// Applies a translation text to w: "#augment" and "#override" texts merge
// with the current table, any other replaces it. An unparsable text (which
// the toolkit reports) leaves the table as it was, and so does a w that is
// not a widget (gadgets have no translations).
void WcSetTranslations(Widget w, const char* translations);

#ifdef __cplusplus
}
#endif
