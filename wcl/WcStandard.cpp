// WcStandard.cpp: registration of the standard callbacks and actions, and
// the bridges that give every operation its second form.
#include "wcl/WcStandard.h"

#include "wcl/WcCallbacks.h"
#include "wcl/WcRegistry.h"
#include "wcl/WcSetValue.h"
#include "wcl/WcStdCallbacks.h"
#include "wcl/WcStdCreate.h"
#include "wcl/WcStdWidgets.h"

#include <string>
#include <vector>

namespace {

// The callback form of an operation written as an action.
template <XtActionProc Action>
void AsCallback(Widget w, XtPointer text, XtPointer) {
  WcInvokeAction(Action, w, static_cast<const char*>(text));
}

// The action form of an operation written as a callback.
template <XtCallbackProc Callback>
void AsAction(Widget w, XEvent*, String* params, Cardinal* numParams) {
  WcInvokeCallback(Callback, w, params, numParams);
}

struct Operation {
  const char* name;
  XtCallbackProc callback;
  XtActionProc action;
};

template <XtActionProc A>
constexpr Operation ActionOp(const char* name) {
  return {name, AsCallback<A>, A};
}

template <XtCallbackProc C>
constexpr Operation CallbackOp(const char* name) {
  return {name, C, AsAction<C>};
}

// In registration order.
const Operation kOperations[] = {
    ActionOp<WcManageACT>("WcManage"),
    ActionOp<WcUnmanageACT>("WcUnmanage"),
    ActionOp<WcManageChildrenACT>("WcManageChildren"),
    ActionOp<WcUnmanageChildrenACT>("WcUnmanageChildren"),
    ActionOp<WcDestroyACT>("WcDestroy"),
    ActionOp<WcSetSensitiveACT>("WcSetSensitive"),
    ActionOp<WcSetInsensitiveACT>("WcSetInsensitive"),
    ActionOp<WcPopupACT>("WcPopup"),
    ActionOp<WcPopupGrabACT>("WcPopupGrab"),
    ActionOp<WcPopdownACT>("WcPopdown"),
    ActionOp<WcMapACT>("WcMap"),
    ActionOp<WcUnmapACT>("WcUnmap"),
    ActionOp<WcInstallAcceleratorsACT>("WcInstallAccelerators"),
    ActionOp<WcInstallAllAcceleratorsACT>("WcInstallAllAccelerators"),
    ActionOp<WcCreateRootACT>("WcCreateRoot"),
    ActionOp<WcSpawnACT>("WcSpawn"),
    ActionOp<WcLoadResourceFileACT>("WcLoadResourceFile"),
    ActionOp<WcPrintTreeACT>("WcPrintTree"),
    ActionOp<WcDumpResourcesACT>("WcDumpResources"),
    ActionOp<WcSameSizeACT>("WcSameSize"),
    ActionOp<WcExitACT>("WcExit"),
    CallbackOp<WcCreateChildrenCB>("WcCreateChildren"),
    CallbackOp<WcCreatePopupsCB>("WcCreatePopups"),
    CallbackOp<WcPositionTransientCB>("WcPositionTransient"),
    CallbackOp<WcSetValueCB>("WcSetValues"),
    CallbackOp<WcSetValueCB>("WcSetValue"),
    CallbackOp<WcTraceCB>("WcTrace"),
    CallbackOp<WcSystemCB>("WcSystem"),
    CallbackOp<WcAddCallbacksCB>("WcAddCallbacks"),
    CallbackOp<WcRemoveCallbacksCB>("WcRemoveCallbacks"),
    CallbackOp<WcOnceOnlyCB>("WcOnceOnly"),
    CallbackOp<WcTranslationsCB>("WcTranslations"),
    CallbackOp<WcDynamicActionCB>("WcDynamicAction"),
    CallbackOp<WcDynamicCallbackCB>("WcDynamicCallback"),
};

// The action table: each operation under its plain name and with "ACT".
// The names live as long as the process, as the toolkit may refer to them.
const std::vector<XtActionsRec>& ActionTable() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> n;
    for (const Operation& op : kOperations) n.push_back(std::string(op.name) + "ACT");
    return n;
  }();
  static const std::vector<XtActionsRec> table = [] {
    std::vector<XtActionsRec> t;
    for (std::size_t i = 0; i < std::size(kOperations); ++i) {
      t.push_back({const_cast<String>(kOperations[i].name), kOperations[i].action});
      t.push_back({const_cast<String>(names[i].c_str()), kOperations[i].action});
    }
    return t;
  }();
  return table;
}

}  // namespace

void WcRegisterStandardCallbacks(XtAppContext app) {
  static WcAppContextList served;
  if (!served.FirstTime(app)) return;
  for (const Operation& op : kOperations) {
    WcRegisterCallback(app, op.name, op.callback, nullptr);
    WcRegisterCallback(app, (std::string(op.name) + "CB").c_str(), op.callback, nullptr);
  }
}

void WcRegisterStandardActions(XtAppContext app) {
  static WcAppContextList served;
  if (!served.FirstTime(app)) return;
  const std::vector<XtActionsRec>& table = ActionTable();
  XtAppAddActions(app, const_cast<XtActionList>(table.data()), static_cast<Cardinal>(table.size()));
}
