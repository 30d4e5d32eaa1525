// The callback table reaches the application objects from a resource
// description: every registered name is found by the creation layer, and
// set-widget callbacks named in creation resources store their widgets.
#include <gtest/gtest.h>

#include <Xm/Xm.h>
#include <Xm/Text.h>

#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "app/AppCl.h"
#include "app/Application.h"
#include "app/CallbackTable.h"
#include "app/DsmCl.h"
#include "app/MsgCl.h"
#include "app/OptsCl.h"
#include "common/XFixture.h"
#include "wcl/WcCreate.h"
#include "xmp/Xmp.h"

namespace {

void Register() {
  RegisterXkestNames(xk::test::App());
  XmpRegisterAll(xk::test::App());
}

// Each callback name beside the function the linker gives that name.
#define XKEST_OWN_FUNCTION(Class, Op) {XKEST_CALLBACK_NAME(Class, Op), xKestDo##Class##Op##CB},
const std::map<std::string, XtCallbackProc> kOwnFunction = {XKEST_CALLBACKS(XKEST_OWN_FUNCTION)};

TEST(CallbackTable, EveryCallbackNameIsRegisteredWithItsOwnFunction) {
  Register();
  int callbacks = 0, actions = 0;
  for (const char* const* name = kXkestRegisteredNames; *name; ++name) {
    SCOPED_TRACE(*name);
    std::string n = *name;
    ASSERT_EQ(n.rfind("xKestDo", 0), 0u);
    if (n.size() > 3 && n.compare(n.size() - 3, 3, "ACT") == 0) {
      ++actions;
      EXPECT_EQ(callbacks, 0) << "actions are registered first";
      continue;
    }
    ++callbacks;
    WcCallbackPair pair = WcFindCallback(xk::test::App(), WcNameToQuarkLower(*name));
    ASSERT_NE(pair, nullptr);
    EXPECT_EQ(pair->callback, kOwnFunction.at(n));
    EXPECT_EQ(pair->clientData, nullptr);
  }
  EXPECT_EQ(callbacks, kXkestCallbackCount);
  EXPECT_EQ(actions, kXkestActionCount);
}

// The shipped description binds only names the program registers: the test
// above checks the table against itself, and the creation layer reports an
// unknown name only with verbose warnings on.
TEST(CallbackTable, EveryNameTheShippedDescriptionBindsIsRegistered) {
  std::ifstream in(XK_SOURCE_DIR "/app/xkest.ad");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(text.empty());
  std::set<std::string> registered(kXkestRegisteredNames, kXkestRegisteredNames + kXkestCallbackCount + kXkestActionCount);
  std::regex name("xKestDo[A-Za-z]+");
  int seen = 0;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), name); it != std::sregex_iterator(); ++it, ++seen)
    EXPECT_TRUE(registered.count(it->str())) << it->str();
  EXPECT_GT(seen, 50);
}

TEST(CallbackTable, SetWidgetCallbacksStoreTheWidgetsCreatedFromResources) {
  Register();
  Widget top = xk::test::TopLevel();
  XrmDatabase db = XtDatabase(XtDisplay(top));
  for (const char* line : {
           "xktest.wcChildren: form",
           "xktest.form.wcCreate: XmCreateRowColumn",
           "xktest.form.wcChildren: first, second, text, quitDlg",
           "xktest.form.first.wcCreate: XmLabel",
           "xktest.form.first.wcCallback: xKestDoOptsSetDsmTitleWidgetCB",
           "xktest.form.second.wcCreate: XmLabel",
           "xktest.form.second.wcCallback: xKestDoOptsSetDsmTitleWidgetCB",
           "xktest.form.text.wcCreate: XmText",
           "xktest.form.text.wcCallback: xKestDoDsmSetWidgetCB xKestDoMsgSetWidgetCB",
           "xktest.form.quitDlg.wcCreate: XmCreateQuestionDialog",
           // The dialog box sits in a dialog shell: its own resources need "*".
           "xktest*quitDlg.wcManaged: False",
           "xktest*quitDlg.wcCallback: xKestDoAppSetVerifyQuitDlgWidgetCB",
       })
    XrmPutLineResource(&db, line);
  ASSERT_EQ(WcWidgetCreation(top), 0);

  Widget second = WcResolveWidgetName(top, "*second");
  Widget text = WcResolveWidgetName(top, "*text");
  ASSERT_NE(second, nullptr);
  // The later of two widgets naming the same set-widget callback stays.
  EXPECT_EQ(theOpts.GetDsmTitleWidget(), second);
  EXPECT_EQ(theDsm.GetTextWidget(), text);
  EXPECT_EQ(theMsg.GetTextWidget(), text);
  ASSERT_NE(theApp.GetVerifyQuitDlg(), nullptr);
  EXPECT_EQ(theApp.GetVerifyQuitDlg(), WcResolveWidgetName(top, "*quitDlg"));

  // The DSM text's changes mark the document modified, and a modified
  // document makes quitting ask first.
  theDsm.SetModified(0);
  XmTextSetString(text, const_cast<char*>("record A {}"));
  EXPECT_EQ(theDsm.GetModified(), 1);
  Widget dlg = theApp.GetVerifyQuitDlg();
  EXPECT_FALSE(XtIsManaged(dlg));
  xKestDoAppGracefulExitCB(text, nullptr, nullptr);
  EXPECT_TRUE(XtIsManaged(dlg));
}

}  // namespace
