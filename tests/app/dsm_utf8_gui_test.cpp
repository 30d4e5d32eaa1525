// The DSM editor in a UTF-8 locale, where Motif counts text positions in
// characters: every command lands right before and after non-ASCII
// characters, and a Latin-1 file is shown as text and saved back as the
// same bytes.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "dsm_kit.h"
#include "support/Utf8.h"

namespace {

using dsmkit::Fire;
using dsmkit::MoveTo;
using dsmkit::Sel;
using dsmkit::Text;
using xk::test::Slurp;
using xk::test::TempDir;

// Before the first widget: Motif fixes its text handling per process.
const bool kUtf8 = std::setlocale(LC_ALL, "C.UTF-8") != nullptr;

// Widget positions of a byte range of text, as "left-right".
std::string Chars(const std::string& text, size_t byte, size_t len) {
  size_t l = utf8::CountChars(text.substr(0, byte));
  return std::to_string(l) + "-" + std::to_string(l + utf8::CountChars(text.substr(byte, len)));
}

TEST(DsmUtf8, CommandsLandOnCharactersAroundNonAscii) {
  ASSERT_TRUE(kUtf8);
  dsmkit::Ui ui = dsmkit::Build();
  TempDir dir;
  std::string text =
      "model m;\n// M\xc3\xbcller caf\xc3\xa9 na\xc3\xafve \xe2\x80\x94 \xe2\x80\x9cquotes\xe2\x80\x9d end\n"
      "// Gr\xc3\xb6\xc3\x9f" "e \xf0\x9f\x98\x80\nrecord R { f : int; }\n";
  std::string path = dir.Write("m.dsm", text);
  dsmkit::Load(path);
  ASSERT_EQ(Text(ui.dsmText), text);
  EXPECT_FALSE(theDsm.IsLatin1File());

  size_t line4 = text.find("record");
  MoveTo(ui.dsmText, XmTextPosition(utf8::CountChars(text.substr(0, line4))));
  EXPECT_EQ(dsmkit::Label(ui.lineLabel), "4");
  MoveTo(ui.dsmText, XmTextPosition(utf8::CountChars(text.substr(0, line4)) - 1));
  EXPECT_EQ(dsmkit::Label(ui.lineLabel), "3");

  XmTextSetInsertionPosition(ui.dsmText, 0);
  dsmkit::FileCall word("na\xc3\xafve");
  Fire("xKestDoDsmFindCB", nullptr, word.Get());
  EXPECT_EQ(Sel(ui.dsmText), Chars(text, text.find("na\xc3\xafve"), 6));
  XmTextFieldSetString(ui.replaceField, const_cast<char*>("\xc3\xa0 la"));
  Fire("xKestDoDsmReplaceCB", "*replaceField");
  std::string edited = text;
  edited.replace(text.find("na\xc3\xafve"), 6, "\xc3\xa0 la");
  ASSERT_EQ(Text(ui.dsmText), edited);

  // The copy followed the replace: later commands still land right.
  dsmkit::FileCall size("Gr\xc3\xb6\xc3\x9f" "e");
  Fire("xKestDoDsmFindCB", nullptr, size.Get());
  EXPECT_EQ(Sel(ui.dsmText), Chars(edited, edited.find("Gr\xc3\xb6"), 7));
  theDsm.SelectLineNumber(4);
  EXPECT_EQ(Sel(ui.dsmText), Chars(edited, edited.find("record"), edited.size() - 1 - edited.find("record")));
  theDsm.SelectLineNumber(3);
  size_t l3 = edited.find("// Gr");
  EXPECT_EQ(Sel(ui.dsmText), Chars(edited, l3, edited.find('\n', l3) - l3));

  // A change refused by a verify callback behind the copy's leaves no
  // trace in what the commands read.
  XtCallbackProc refuse = [](Widget, XtPointer, XtPointer call) {
    static_cast<XmTextVerifyCallbackStruct*>(call)->doit = False;
  };
  XtAddCallback(ui.dsmText, XmNmodifyVerifyCallback, refuse, nullptr);
  dsmkit::Type(ui.dsmText, "\xc3\xa9\xc3\xa9", 0);
  XtRemoveCallback(ui.dsmText, XmNmodifyVerifyCallback, refuse, nullptr);
  Fire("xKestDoDsmFindCB", nullptr, size.Get());
  EXPECT_EQ(Sel(ui.dsmText), Chars(edited, edited.find("Gr\xc3\xb6"), 7));
  // Nor in the undo history, which learns its changes from the copy.
  Fire("xKestDoDsmUndoCB");
  EXPECT_EQ(Text(ui.dsmText), text);
  Fire("xKestDoDsmRedoCB");
  ASSERT_EQ(Text(ui.dsmText), edited);
  // An edit made while the copy still held a refused change would be
  // undone with the copy's wrong bytes: the history is dropped instead.
  XtAddCallback(ui.dsmText, XmNmodifyVerifyCallback, refuse, nullptr);
  dsmkit::Type(ui.dsmText, "\xc3\xa9\xc3\xa9", 0);
  XtRemoveCallback(ui.dsmText, XmNmodifyVerifyCallback, refuse, nullptr);
  XmTextReplace(ui.dsmText, 0, 1, const_cast<char*>(""));
  Fire("xKestDoDsmUndoCB");
  EXPECT_EQ(Text(ui.dsmText), edited.substr(1));
  dsmkit::Type(ui.dsmText, "m", 0);

  Fire("xKestDoDsmSaveCB");
  EXPECT_EQ(Slurp(path), edited);
  EXPECT_EQ(theDsm.GetModified(), 0);
}

TEST(DsmUtf8, Latin1FileShowsAsTextAndSavesBackByteForByte) {
  ASSERT_TRUE(kUtf8);
  dsmkit::Ui ui = dsmkit::Build();
  TempDir dir;
  std::string latin1 = "model m;\n// caf\xe9 \xc6gir Gr\xf6\xdf" "e\n// end\n";
  std::string path = dir.Write("l.dsm", latin1);
  dsmkit::Load(path);
  EXPECT_EQ(Text(ui.dsmText), utf8::FromLatin1(latin1));
  EXPECT_TRUE(theDsm.IsLatin1File());
  theDsm.SelectLineNumber(3);
  size_t shown3 = utf8::FromLatin1(latin1).find("// end");
  EXPECT_EQ(Sel(ui.dsmText), Chars(utf8::FromLatin1(latin1), shown3, 6));

  // Typed text that Latin-1 holds is saved as Latin-1.
  dsmkit::Type(ui.dsmText, "\xc3\xbf", XmTextGetLastPosition(ui.dsmText));
  Fire("xKestDoDsmSaveCB");
  EXPECT_EQ(Slurp(path), latin1 + "\xff");
  // A character it does not hold is refused, naming its line; nothing is
  // written and the text stays modified.
  dsmkit::Type(ui.dsmText, "\n\xe2\x82\xac", XmTextGetLastPosition(ui.dsmText));
  Fire("xKestDoDsmSaveCB");
  EXPECT_EQ(dsmkit::Message(ui), "Cannot save to filepath " + path +
                                     ": line 5 holds a character that the file's Latin-1 encoding cannot store");
  EXPECT_EQ(Slurp(path), latin1 + "\xff");
  EXPECT_EQ(theDsm.GetModified(), 1);
}

TEST(DsmUtf8, ErrorMarksAndTheWalkLandOnTheirLinesBelowNonAscii) {
  ASSERT_TRUE(kUtf8);
  dsmkit::Ui ui = dsmkit::Build();
  TempDir dir;
  std::string text = "// M\xc3\xbcller caf\xc3\xa9\nl2\n\xc3\xa9t\xc3\xa9 \xe2\x80\x94 x\nl4\n";
  std::string path = dir.Write("m.dsm", text);
  dsmkit::Load(path);
  theMsg.TakeReport(path + ":3: error: b\n" + path + ":2: error: a\n", Str(path.c_str()));
  theDsm.MarkErrorLines(theMsg.Errors());
  // Line n of t (from 1) in widget positions, without its newline.
  auto line = [](const std::string& t, int n) {
    size_t at = 0;
    while (--n > 0) at = t.find('\n', at) + 1;
    return Chars(t, at, t.find('\n', at) - at);
  };
  EXPECT_EQ(dsmkit::Marks(ui.dsmText), line(text, 2) + " " + line(text, 3) + " ");

  // A line of non-ASCII text inserted above moves them by its characters.
  text.insert(0, "\xc3\xbc\xe2\x82\xac\n");
  dsmkit::Type(ui.dsmText, "\xc3\xbc\xe2\x82\xac\n", 0);
  EXPECT_EQ(dsmkit::Marks(ui.dsmText), line(text, 3) + " " + line(text, 4) + " ");
  Fire("xKestDoMsgNextErrorCB");
  EXPECT_EQ(Sel(ui.dsmText), line(text, 4)) << "the first error names line 3, now line 4";
  XmTextSetSelection(ui.dsmText, 0, 1, CurrentTime);  // off the marked lines
  xk::test::Drain();
  size_t l3 = text.find("l2");
  text.insert(l3, "\xc3\xa0");
  dsmkit::Type(ui.dsmText, "\xc3\xa0", XmTextPosition(utf8::CountChars(text.substr(0, l3))));
  EXPECT_EQ(dsmkit::Marks(ui.dsmText), line(text, 4) + " ") << "the edited line lost its mark";
}

}  // namespace
