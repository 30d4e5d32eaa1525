// Helpers for the tests of the standard callbacks and actions: ways to fire
// callback text and actions the way resources and translations would;
// warnings are captured with common/Warnings.h.
#pragma once

// GoogleTest first: Xlib defines macros (None, Bool) that its headers use.
#include <gtest/gtest.h>

#include "tests/common/Warnings.h"
#include "tests/common/XFixture.h"
#include "wcl/WcCreate.h"

#include <string>

namespace xk::test {

// Registers the standard set for the shared application context.
inline void RegisterStandard() {
  WcRegisterStandardCallbacks(App());
  WcRegisterStandardActions(App());
}

// Runs callback text on w as a converted callback resource would.
inline void Fire(Widget w, const char* callbackText, XtPointer callData = nullptr) {
  XtCallbackList list = WcStringToCallbackList(w, callbackText);
  ASSERT_NE(list, nullptr) << callbackText;
  for (XtCallbackList e = list; e->callback; ++e) e->callback(w, e->closure, callData);
  XtFree(reinterpret_cast<char*>(list));
}

// Runs a registered action by name, as a translation would.
template <typename... P>
void Act(Widget w, const char* action, P... params) {
  String list[] = {const_cast<String>(params)..., nullptr};
  XtCallActionProc(w, action, nullptr, list, sizeof...(P));
}

}  // namespace xk::test
