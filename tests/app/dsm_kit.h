// dsm_kit: a small DSM editor interface on real Motif widgets for the DSM
// and message window tests: the DSM text, line label, replace field, the
// report text, the message dialog and the document dialogs, each stored
// through its registered set-widget callback, and helpers that fire
// registered callbacks by name the way a callback resource does.
//
//   dsmkit::Ui ui = dsmkit::Build();
//   dsmkit::Fire("xKestDoDsmLoadCB", nullptr, dsmkit::FileCall("a.dsm").Get());
//   EXPECT_EQ(dsmkit::Text(ui.dsmText), "...");
#pragma once

#include <gtest/gtest.h>

#include <Xm/Xm.h>
#include <Xm/FileSB.h>
#include <Xm/Label.h>
#include <Xm/MessageB.h>
#include <Xm/RowColumn.h>
#include <Xm/Text.h>
#include <Xm/TextF.h>
#include <Xm/TextP.h>

#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "app/Application.h"
#include "app/CallbackTable.h"
#include "app/DsmCl.h"
#include "app/MsgCl.h"
#include "app/OptsCl.h"
#include "common/MotifText.h"
#include "common/TempDir.h"
#include "common/XFixture.h"
#include "wcl/WcRegistry.h"

namespace dsmkit {

using xk::test::Label;
using xk::test::Sel;
using xk::test::Text;

inline void EnsureRegistered() {
  static bool registered = false;
  if (!registered) {
    RegisterXkestNames(xk::test::App());
    registered = true;
  }
}

// Calls the callback registered under name, as the creation layer does
// when a callback resource names it.
inline void Fire(const char* name, const void* client = nullptr, XtPointer call = nullptr,
                 Widget w = nullptr) {
  EnsureRegistered();
  WcCallbackPair pair = WcFindCallback(xk::test::App(), WcNameToQuarkLower(name));
  ASSERT_NE(pair, nullptr) << name << " is not registered";
  pair->callback(w, const_cast<void*>(client), call);
  xk::test::Drain();
}

// The call data of a file selection (or prompt) dialog's OK with value.
class FileCall {
 public:
  explicit FileCall(const std::string& value) {
    cbs_.reason = XmCR_OK;
    cbs_.value = XmStringCreateLocalized(const_cast<char*>(value.c_str()));
  }
  ~FileCall() { XmStringFree(cbs_.value); }
  XtPointer Get() { return &cbs_; }

 private:
  XmFileSelectionBoxCallbackStruct cbs_{};
};

// Loads path as the Open dialog's OK does.
inline void Load(const std::string& path) {
  FileCall call(path);
  Fire("xKestDoDsmLoadCB", nullptr, call.Get());
}

struct Ui {
  Widget shell, dsmText, lineLabel, replaceField, msgText, msgDlg, title;
  Widget openDlg, saveAsDlg, saveLoadDlg, verifyCloseDlg, dsmPopup, msgPopup;
};

// A fresh shell and singletons for every test, so no state leaks between
// them.
inline Ui Build() {
  EnsureRegistered();
  static int serial = 0;
  std::string name = "dsmkit" + std::to_string(++serial);
  Widget top = xk::test::TopLevel();
  theDsm = DsmCl();
  theMsg = MsgCl();
  theOpts = OptsCl();
  Ui ui{};
  ui.shell = XtAppCreateShell(name.c_str(), "xkest", applicationShellWidgetClass, XtDisplay(top), nullptr, 0);
  theAppShell = ui.shell;
  Widget box = XmCreateRowColumn(ui.shell, const_cast<char*>("main"), nullptr, 0);
  XtManageChild(box);
  Arg args[2];
  XtSetArg(args[0], XmNeditMode, XmMULTI_LINE_EDIT);
  ui.dsmText = XmCreateText(box, const_cast<char*>("dsmText"), args, 1);
  ui.msgText = XmCreateText(box, const_cast<char*>("msgText"), args, 1);
  ui.lineLabel = XmCreateLabel(box, const_cast<char*>("lineLabel"), nullptr, 0);
  ui.title = XmCreateLabel(box, const_cast<char*>("title"), nullptr, 0);
  ui.replaceField = XmCreateTextField(box, const_cast<char*>("replaceField"), nullptr, 0);
  for (Widget w : {ui.dsmText, ui.msgText, ui.lineLabel, ui.title, ui.replaceField}) XtManageChild(w);
  ui.msgDlg = XmCreateInformationDialog(ui.shell, const_cast<char*>("msgDlg"), nullptr, 0);
  ui.openDlg = XmCreateFileSelectionDialog(ui.shell, const_cast<char*>("openDlg"), nullptr, 0);
  ui.saveAsDlg = XmCreateFileSelectionDialog(ui.shell, const_cast<char*>("saveAsDlg"), nullptr, 0);
  ui.saveLoadDlg = XmCreateQuestionDialog(ui.shell, const_cast<char*>("saveLoadDlg"), nullptr, 0);
  ui.verifyCloseDlg = XmCreateQuestionDialog(ui.shell, const_cast<char*>("verifyCloseDlg"), nullptr, 0);
  ui.dsmPopup = XmCreatePopupMenu(ui.dsmText, const_cast<char*>("dsmPopup"), nullptr, 0);
  ui.msgPopup = XmCreatePopupMenu(ui.msgText, const_cast<char*>("msgPopup"), nullptr, 0);
  XtRealizeWidget(ui.shell);

  Fire("xKestDoDsmSetWidgetCB", nullptr, nullptr, ui.dsmText);
  Fire("xKestDoDsmSetCursorPosWidgetCB", nullptr, nullptr, ui.lineLabel);
  Fire("xKestDoDsmSetOpenDlgWidgetCB", nullptr, nullptr, ui.openDlg);
  Fire("xKestDoDsmSetSaveAsDlgWidgetCB", nullptr, nullptr, ui.saveAsDlg);
  Fire("xKestDoDsmSetSaveAndLoadQDlgWidgetCB", nullptr, nullptr, ui.saveLoadDlg);
  Fire("xKestDoDsmSetVerifyCloseDlgWidgetCB", nullptr, nullptr, ui.verifyCloseDlg);
  Fire("xKestDoDsmSetPopMenuWidgetCB", nullptr, nullptr, ui.dsmPopup);
  Fire("xKestDoMsgSetWidgetCB", nullptr, nullptr, ui.msgText);
  Fire("xKestDoMsgSetMsgDialogWidgetCB", nullptr, nullptr, ui.msgDlg);
  Fire("xKestDoMsgSetPopMenuWidgetCB", nullptr, nullptr, ui.msgPopup);
  Fire("xKestDoOptsSetDsmTitleWidgetCB", nullptr, nullptr, ui.title);
  return ui;
}

// Inserts text the way typing or pasting changes the widget.
inline void Type(Widget w, const std::string& text, XmTextPosition at) {
  XmTextInsert(w, at, const_cast<char*>(text.c_str()));
}

// Moves the cursor as the user does: the motion-verify callback runs.
inline void MoveTo(Widget text, XmTextPosition pos) {
  XmTextVerifyCallbackStruct cbs{};
  cbs.reason = XmCR_MOVING_INSERT_CURSOR;
  cbs.doit = True;
  cbs.currInsert = XmTextGetInsertionPosition(text);
  cbs.newInsert = pos;
  XmTextSetInsertionPosition(text, pos);
  Fire("xKestDoDsmSynchLineNumsCB", nullptr, &cbs, text);
}

// The message dialog's text when it is shown, else "".
inline std::string Message(const Ui& ui) {
  return XtIsManaged(ui.msgDlg) ? Label(ui.msgDlg, XmNmessageString) : "";
}

inline void Dismiss(const Ui& ui) {
  for (Widget w : {ui.msgDlg, ui.openDlg, ui.saveAsDlg, ui.saveLoadDlg, ui.verifyCloseDlg})
    XtUnmanageChild(w);
  xk::test::Drain();
}

// The DSM text's underlined ranges, as Motif holds them: "3-5 9-11".
inline std::string Marks(Widget text) {
  const _XmHighlightData& h = reinterpret_cast<XmTextWidget>(text)->text.highlight;
  std::string out;
  for (Cardinal i = 0; i < h.number; ++i)
    if (h.list[i].mode == XmHIGHLIGHT_SECONDARY_SELECTED)
      out += std::to_string(h.list[i].position) + "-" +
             std::to_string(i + 1 < h.number ? h.list[i + 1].position : XmTextGetLastPosition(text)) + " ";
  return out;
}

}  // namespace dsmkit
