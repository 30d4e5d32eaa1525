// CallbackTable: the forwarding functions and their registration, all
// made from the lists in the header.
#include "app/CallbackTable.h"

#include "app/AppCl.h"
#include "app/Application.h"
#include "app/DsmCl.h"
#include "app/MsgCl.h"
#include "app/OptsCl.h"
#include "app/SysftnsCl.h"
#include <string_view>
#include <type_traits>

#include "wcl/WcCreate.h"

namespace {

// Calls op with as many of a callback's arguments as it takes: most
// operations take all three, a few only the widget or none.
template <class Op>
void Forward(Op op, Widget w, XtPointer client, XtPointer call) {
  if constexpr (std::is_invocable_v<Op, Widget, XtPointer, XtPointer>)
    op(w, client, call);
  else if constexpr (std::is_invocable_v<Op, Widget>)
    op(w);
  else
    op();
}

}  // namespace

#define XKEST_DEFINE_ACTION(Class, Op)                                                       \
  void xKestDo##Class##Op##ACT(Widget w, XEvent* event, String* params, Cardinal* numParams) { \
    the##Class.Op(w, event, params, numParams);                                              \
  }
// The lambda's return type lets Forward ask which argument lists the
// operation accepts.
#define XKEST_DEFINE_CALLBACK(Class, Op)                                          \
  void xKestDo##Class##Op##CB(Widget w, XtPointer client, XtPointer call) {       \
    Forward([](auto... args) -> decltype(the##Class.Op(args...)) {                \
      return the##Class.Op(args...);                                              \
    }, w, client, call);                                                          \
  }
extern "C" {
XKEST_ACTIONS(XKEST_DEFINE_ACTION)
XKEST_CALLBACKS(XKEST_DEFINE_CALLBACK)
}  // extern "C"

namespace {

struct ActionEntry {
  const char* name;
  XtActionProc proc;
};

struct CallbackEntry {
  const char* name;
  XtCallbackProc proc;
};

#define XKEST_ACTION_ENTRY(Class, Op) {XKEST_ACTION_NAME(Class, Op), xKestDo##Class##Op##ACT},
#define XKEST_CALLBACK_ENTRY(Class, Op) {XKEST_CALLBACK_NAME(Class, Op), xKestDo##Class##Op##CB},
constexpr ActionEntry kActions[] = {XKEST_ACTIONS(XKEST_ACTION_ENTRY)};
constexpr CallbackEntry kCallbacks[] = {XKEST_CALLBACKS(XKEST_CALLBACK_ENTRY)};

template <class Entry, size_t N>
constexpr bool InAsciiOrder(const Entry (&entries)[N]) {
  for (size_t i = 1; i < N; ++i)
    if (std::string_view(entries[i - 1].name) >= std::string_view(entries[i].name)) return false;
  return true;
}
static_assert(InAsciiOrder(kActions), "keep the actions in ASCII order of their names");
static_assert(InAsciiOrder(kCallbacks), "keep the callbacks in ASCII order of their names");

}  // namespace

#define XKEST_LISTED_ACTION(Class, Op) XKEST_ACTION_NAME(Class, Op),
#define XKEST_LISTED_CALLBACK(Class, Op) XKEST_CALLBACK_NAME(Class, Op),
const char* const kXkestRegisteredNames[] = {
    XKEST_ACTIONS(XKEST_LISTED_ACTION) XKEST_CALLBACKS(XKEST_LISTED_CALLBACK) nullptr,
};

void RegisterXkestNames(XtAppContext app) {
  for (const ActionEntry& a : kActions) WcRegisterAction(app, a.name, a.proc);
  for (const CallbackEntry& c : kCallbacks) WcRegisterCallback(app, c.name, c.proc, nullptr);
}
