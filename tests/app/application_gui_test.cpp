// The shared helpers and the objects that start outside programs, on real
// widgets: widget lookup and its message, the busy cursor, missing widgets,
// and the editor and browser commands as the tool receives them.
#include <gtest/gtest.h>

#include <Xm/Xm.h>
#include <Xm/Form.h>

#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "app/AppCl.h"
#include "app/Application.h"
#include "app/DsmCl.h"
#include "app/MsgCl.h"
#include "app/OptsCl.h"
#include "app/SysftnsCl.h"
#include "common/TempDir.h"
#include "common/Wait.h"
#include "common/XFixture.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

TEST(Application, EachObjectAnswersOnlyItsOwnClassNumber) {
  const bool answers[5][5] = {
      {theApp.IsA(0), theApp.IsA(1), theApp.IsA(2), theApp.IsA(3), theApp.IsA(4)},
      {theDsm.IsA(0), theDsm.IsA(1), theDsm.IsA(2), theDsm.IsA(3), theDsm.IsA(4)},
      {theMsg.IsA(0), theMsg.IsA(1), theMsg.IsA(2), theMsg.IsA(3), theMsg.IsA(4)},
      {theOpts.IsA(0), theOpts.IsA(1), theOpts.IsA(2), theOpts.IsA(3), theOpts.IsA(4)},
      {theSysftns.IsA(0), theSysftns.IsA(1), theSysftns.IsA(2), theSysftns.IsA(3), theSysftns.IsA(4)},
  };
  for (int object = 0; object < 5; ++object)
    for (int number = 0; number < 5; ++number)
      EXPECT_EQ(answers[object][number], object == number) << object << " " << number;
}

TEST(Application, ClonesAreIndependentCopies) {
  DsmCl* copy = theDsm.Clone();
  EXPECT_STREQ(copy->GetFileName().c_str(), theDsm.GetFileName().c_str());
  copy->SetFileName("other.dsm");
  EXPECT_STRNE(theDsm.GetFileName().c_str(), "other.dsm");
  delete copy;
  OptsCl* opts = theOpts.Clone();
  opts->SetToolFileEditor("vi");
  EXPECT_STRNE(theOpts.GetToolFileEditor().c_str(), "vi");
  delete opts;
}

TEST(Application, GetWidgetFindsOrNamesWhatIsMissing) {
  Widget top = xk::test::TopLevel();
  Widget main = XtCreateWidget("main", xmFormWidgetClass, top, nullptr, 0);
  EXPECT_EQ(getWidget(top, "*main"), main);
  CaptureStderr();
  EXPECT_EQ(getWidget(main, "*nothing"), nullptr);
  EXPECT_EQ(getWidget(nullptr, "*main"), nullptr);
  EXPECT_EQ(GetCapturedStderr(),
            "getWidget(): couldn't find widget '*nothing' from 'xktest.main'\n"
            "getWidget(): couldn't find widget '*main' from '(null)'\n");
  // A full path needs no reference widget.
  EXPECT_EQ(getWidget(nullptr, "xktest.main"), main);
  XtDestroyWidget(main);
}

TEST(Application, BusyCursorAroundACommandWithAndWithoutMainWindow) {
  xk::test::TempDir dir("xkbusy");
  std::string ran = dir / "ran";

  // No "*main": the message, and the command still runs.
  theAppShell = XtAppCreateShell("busyNoMain", "xkest", applicationShellWidgetClass,
                                 XtDisplay(xk::test::TopLevel()), nullptr, 0);
  CaptureStderr();
  RunBusyCommand(("touch " + ran).c_str());
  std::string err = GetCapturedStderr();
  EXPECT_NE(err.find("couldn't find widget '*main' from 'busyNoMain'"), std::string::npos) << err;
  EXPECT_EQ(access(ran.c_str(), F_OK), 0);

  // A realized main window gets the watch and loses it again.
  Widget shell = XtAppCreateShell("busyMain", "xkest", applicationShellWidgetClass,
                                  XtDisplay(xk::test::TopLevel()), nullptr, 0);
  Arg size[] = {{XmNwidth, 50}, {XmNheight, 50}};
  XtManageChild(XtCreateWidget("main", xmFormWidgetClass, shell, size, 2));
  XtRealizeWidget(shell);
  theAppShell = shell;
  CaptureStderr();
  SetBusyCursor(shell, 1);
  SetBusyCursor(shell, 0);
  RunBusyCommand(("rm " + ran).c_str());
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_NE(access(ran.c_str(), F_OK), 0);
  xk::test::Drain();
  theAppShell = nullptr;
}

TEST(Application, OperationsOnMissingWidgetsDoNothing) {
  AppCl app;
  DsmCl dsm;
  MsgCl msg;
  theDsm.SetModified(1);
  app.GracefulExit();  // no verify-quit dialog: stays
  msg.ShowMessage("nobody sees this");
  msg.ClearText();
  msg.AppendText("x");
  dsm.SetWidget(nullptr, nullptr, nullptr);
  theDsm.SetModified(0);
  SUCCEED();
}

// A kest home with a recorder script standing in for the editor and the
// browser: it writes each argument on a line of its own.
struct ToolHome {
  xk::test::TempDir tmp{"xktool"};
  std::string dir = tmp.Path();
  std::string record = dir + "/args";
  ToolHome() {
    std::string rec = tmp.WriteRecorder("rec.sh", record);
    setenv("KESTHOME", dir.c_str(), 1);
    // A shell with a main window, so the busy cursor finds it quietly.
    theAppShell = XtAppCreateShell("tools", "xkest", applicationShellWidgetClass,
                                   XtDisplay(xk::test::TopLevel()), nullptr, 0);
    XtCreateWidget("main", xmFormWidgetClass, theAppShell, nullptr, 0);
    theOpts = OptsCl();
    theOpts.LoadResources();
    theOpts.SetToolFileEditor(rec.c_str());
    theOpts.SetToolHTMLBrowser(rec.c_str());
  }
  ~ToolHome() {
    XtDestroyWidget(theAppShell);
    theAppShell = nullptr;
  }
  std::string Add(const std::string& name) { return tmp.Write(name, "<p>page</p>\n"); }
  // The arguments the tool got, or "<none>" when it did not run in time.
  std::string Recorded(int tenths = 50) {
    if (!xk::test::WaitUntil([&] { return access(record.c_str(), F_OK) == 0; }, tenths / 10.0))
      return "<none>";
    std::string text = xk::test::Slurp(record);
    unlink(record.c_str());
    return text;
  }
};

TEST(Sysftns, HelpPagesReachTheBrowserAsOneArgument) {
  ToolHome home;
  std::string plain = home.Add("index.html");
  std::string odd = home.Add("a b;touch x'.html");
  struct Case {
    const char* page;
    std::string expected;
  } cases[] = {
      {"$KESTHOME/index.html", plain + "\n"},
      {"$KESTHOME/a b;touch x'.html", odd + "\n"},
      {"$KESTHOME/missing.html", "<none>"},
      {"", "<none>"},
      {"$KESTHOME", "<none>"},  // a folder, not a page
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    theSysftns.LaunchHTMLDoc(nullptr, const_cast<char*>(c.page), nullptr);
    // A tool that is not run cannot be waited for; half a second will do.
    EXPECT_EQ(home.Recorded(c.expected == "<none>" ? 5 : 50), c.expected);
  }
  theSysftns.LaunchHTMLDoc(nullptr, nullptr, nullptr);
  EXPECT_NE(access((home.dir + "/x'.html").c_str(), F_OK), 0);
}

TEST(Sysftns, EditTemplateOpensTheCurrentTemplateEvenIfMissing) {
  ToolHome home;
  EXPECT_STREQ(theOpts.GetTemplatePath().c_str(), (home.dir + "/cpp_std.tem").c_str());
  theSysftns.EditTemplate(nullptr, nullptr, nullptr);
  EXPECT_EQ(home.Recorded(), home.dir + "/cpp_std.tem\n");
  theOpts.SetTemplatePath("/with space/t.tem");
  theSysftns.EditTemplate(nullptr, nullptr, nullptr);
  EXPECT_EQ(home.Recorded(), "/with space/t.tem\n");
}

}  // namespace
