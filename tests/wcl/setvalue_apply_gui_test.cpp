// WcSetValue on real widgets: values of every size reach the widget intact
// on this 64-bit machine, specifications for one widget share one
// XtSetValues, syntax errors cancel the whole call, a missing target or
// unknown resource drops only its own specification, and constraint
// resources are found through the parent.
#include "tests/wcl/StdTestSupport.h"

#include <Xm/BulletinB.h>
#include <Xm/Form.h>
#include <Xm/Label.h>
#include <X11/IntrinsicP.h>
#include <X11/CoreP.h>
#include <X11/StringDefs.h>

#include <cstdio>
#include <string>

namespace {

using xk::test::Act;
using xk::test::CaptureWarnings;
using xk::test::Fire;

// A 16-byte value: wider than an argument word, so it travels by pointer.
struct Pair {
  long first;
  long second;
};

// A widget that holds one resource of each size and counts XtSetValues.
struct ProbePart {
  Boolean flag;
  short shortVal;
  int intVal;
  Pixel pixelVal;
  Pair pairVal;
  String text;
  int setValuesCalls;
};
struct ProbeRec {
  CorePart core;
  ProbePart probe;
};
struct ProbeClassRec {
  CoreClassPart core_class;
};

const Pair kNoPair{0, 0};

#define Offset(field) static_cast<Cardinal>(XtOffsetOf(ProbeRec, probe.field))
XtResource probeResources[] = {
    {const_cast<String>("flag"), const_cast<String>("Flag"), const_cast<String>(XtRBoolean),
     sizeof(Boolean), Offset(flag), const_cast<String>(XtRImmediate), nullptr},
    {const_cast<String>("shortVal"), const_cast<String>("ShortVal"), const_cast<String>(XtRShort),
     sizeof(short), Offset(shortVal), const_cast<String>(XtRImmediate), nullptr},
    {const_cast<String>("intVal"), const_cast<String>("IntVal"), const_cast<String>(XtRInt),
     sizeof(int), Offset(intVal), const_cast<String>(XtRImmediate), nullptr},
    {const_cast<String>("pixelVal"), const_cast<String>("PixelVal"), const_cast<String>(XtRPixel),
     sizeof(Pixel), Offset(pixelVal), const_cast<String>(XtRImmediate), nullptr},
    {const_cast<String>("pairVal"), const_cast<String>("PairVal"), const_cast<String>("Pair"),
     sizeof(Pair), Offset(pairVal), const_cast<String>("Pair"), const_cast<Pair*>(&kNoPair)},
    {const_cast<String>("text"), const_cast<String>("Text"), const_cast<String>(XtRString),
     sizeof(String), Offset(text), const_cast<String>(XtRImmediate), nullptr},
};
#undef Offset

Boolean ProbeSetValues(Widget, Widget, Widget now, ArgList, Cardinal*) {
  ++reinterpret_cast<ProbeRec*>(now)->probe.setValuesCalls;
  return False;
}

ProbeClassRec probeClassRec = {{
    /* superclass */ reinterpret_cast<WidgetClass>(&widgetClassRec),
    /* class_name */ const_cast<String>("Probe"),
    /* widget_size */ sizeof(ProbeRec),
    /* class_initialize */ nullptr,
    /* class_part_initialize */ nullptr,
    /* class_inited */ False,
    /* initialize */ nullptr,
    /* initialize_hook */ nullptr,
    /* realize */ XtInheritRealize,
    /* actions */ nullptr,
    /* num_actions */ 0,
    /* resources */ probeResources,
    /* num_resources */ XtNumber(probeResources),
    /* xrm_class */ NULLQUARK,
    /* compress_motion */ True,
    /* compress_exposure */ True,
    /* compress_enterleave */ True,
    /* visible_interest */ False,
    /* destroy */ nullptr,
    /* resize */ nullptr,
    /* expose */ nullptr,
    /* set_values */ ProbeSetValues,
    /* set_values_hook */ nullptr,
    /* set_values_almost */ XtInheritSetValuesAlmost,
    /* get_values_hook */ nullptr,
    /* accept_focus */ nullptr,
    /* version */ XtVersion,
    /* callback_private */ nullptr,
    /* tm_table */ nullptr,
    /* query_geometry */ nullptr,
    /* display_accelerator */ nullptr,
    /* extension */ nullptr,
}};
WidgetClass probeWidgetClass = reinterpret_cast<WidgetClass>(&probeClassRec);

Boolean CvtStringToPair(Display*, XrmValue*, Cardinal*, XrmValue* from, XrmValue* to, XtPointer*) {
  static Pair pair;
  if (std::sscanf(static_cast<const char*>(from->addr), "%ld %ld", &pair.first, &pair.second) !=
      2) {
    return False;
  }
  if (to->addr && to->size < sizeof(Pair)) {
    to->size = sizeof(Pair);
    return False;
  }
  if (to->addr) {
    *reinterpret_cast<Pair*>(to->addr) = pair;
  } else {
    to->addr = reinterpret_cast<XPointer>(&pair);
  }
  to->size = sizeof(Pair);
  return True;
}

class SetValueApply : public ::testing::Test {
 protected:
  void SetUp() override {
    WcInitialize(xk::test::TopLevel());
    XtAppSetTypeConverter(xk::test::App(), XtRString, "Pair", CvtStringToPair, nullptr, 0,
                          XtCacheNone, nullptr);
    box_ =
        XtCreateManagedWidget("box", xmBulletinBoardWidgetClass, xk::test::TopLevel(), nullptr, 0);
    probe_ = XtCreateManagedWidget("probe", probeWidgetClass, box_, nullptr, 0);
    other_ = XtCreateManagedWidget("other", probeWidgetClass, box_, nullptr, 0);
  }
  void TearDown() override { XtDestroyWidget(box_); }

  static ProbePart& Of(Widget w) { return reinterpret_cast<ProbeRec*>(w)->probe; }

  Widget box_ = nullptr;
  Widget probe_ = nullptr;
  Widget other_ = nullptr;
};

TEST_F(SetValueApply, ValuesOfEverySizeArriveIntact) {
  Fire(box_,
       "WcSetValueCB( (this.probe.flag: True) (this.probe.shortVal: -300)"
       " (this.probe.intVal: -70000) (this.probe.pixelVal: #123456)"
       " (this.probe.pairVal: 1234567890123 -9876543210) (this.probe.text: two  words ) )");
  const ProbePart& p = Of(probe_);
  EXPECT_EQ(p.flag, True);
  EXPECT_EQ(p.shortVal, -300);
  EXPECT_EQ(p.intVal, -70000);
  EXPECT_EQ(p.pixelVal, 0x123456u) << "an 8-byte value travels as the word itself";
  EXPECT_EQ(p.pairVal.first, 1234567890123L) << "a wider value travels by pointer";
  EXPECT_EQ(p.pairVal.second, -9876543210L);
  EXPECT_STREQ(p.text, "two  words") << "kept by pointer, the text outlives the call";
  EXPECT_EQ(p.setValuesCalls, 1) << "one XtSetValues for the widget";
}

TEST_F(SetValueApply, CompoundStringsReachMotif) {
  Widget label = XtCreateManagedWidget("label", xmLabelWidgetClass, box_, nullptr, 0);
  Act(box_, "WcSetValueACT", "this.label.labelString: Hello there");
  XmString value = nullptr;
  XtVaGetValues(label, XmNlabelString, &value, nullptr);
  char* text = static_cast<char*>(
      XmStringUnparse(value, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, nullptr, 0, XmOUTPUT_ALL));
  EXPECT_STREQ(text, "Hello there");
  XtFree(text);
  XmStringFree(value);
}

TEST_F(SetValueApply, TypesGivenOrFoundByNameOrClass) {
  // Named by its class, the resource is still set under its own name.
  Fire(box_, "WcSetValues(this.probe.IntVal: 8)");
  EXPECT_EQ(Of(probe_).intVal, 8);
  Fire(box_, "WcSetValue(this.probe.intVal(Int): 9)");
  EXPECT_EQ(Of(probe_).intVal, 9);
  // Given as String, the text is passed as it is.
  Fire(box_, "WcSetValue(this.probe.text(String): 10)");
  EXPECT_STREQ(Of(probe_).text, "10");
  Fire(box_, "WcSetValue(this.probe.text:)");
  ASSERT_NE(Of(probe_).text, nullptr);
  EXPECT_STREQ(Of(probe_).text, "") << "an empty value is an empty text";

  char* type = WcGetResourceType(probe_, "PixelVal");
  EXPECT_STREQ(type, XtRPixel);
  XtFree(type);
  EXPECT_EQ(WcGetResourceType(probe_, "noSuch"), nullptr);
}

TEST_F(SetValueApply, OneSetValuesPerWidgetInOrderOfMention) {
  Fire(box_,
       "WcSetValue((this.probe.intVal: 1) (this.other.intVal: 2) (this.probe.shortVal: 3)"
       " (^.box.other.flag: True))");
  EXPECT_EQ(Of(probe_).intVal, 1);
  EXPECT_EQ(Of(probe_).shortVal, 3);
  EXPECT_EQ(Of(other_).intVal, 2);
  EXPECT_EQ(Of(other_).flag, True);
  EXPECT_EQ(Of(probe_).setValuesCalls, 1);
  EXPECT_EQ(Of(other_).setValuesCalls, 1);
}

// 127 specifications are taken from one call; the 128th and after are
// dropped with one warning that quotes them.
TEST_F(SetValueApply, OneCallTakesAtMost127Specifications) {
  for (int count : {127, 128, 130}) {
    SCOPED_TRACE(count);
    std::string text, from;
    for (int i = 1; i <= count; ++i) {
      const std::string spec = "(this.probe.intVal: " + std::to_string(i) + ") ";
      if (i > 127) from += spec;
      text += spec;
    }
    CaptureWarnings warnings;
    WcSetValueCB(box_, text.data(), nullptr);
    EXPECT_EQ(Of(probe_).intVal, 127);
    EXPECT_EQ(warnings.Text(), from.empty() ? ""
                                            : "Wcl Warning: WcSetValue(" + from +
                                                  ") - More than 127 resource specifications, "
                                                  "the rest ignored.\n");
  }
}

TEST_F(SetValueApply, AnySyntaxErrorCancelsTheWholeCall) {
  const std::string usage =
      "\n    Usage: WcSetValue( target_widget_name.res_name: res_value )"
      "\n       Or: WcSetValue( target_widget_name.res_name(res_type): res_value ) "
      "\n       Or: WcSetValue( ( resSpec ) (resSpec) ... )";
  const std::string good = "(this.probe.intVal: 99) ";
  struct Case {
    const char* bad;
    const char* message;
  } cases[] = {
      {"(this.other.intVal(Int) 5)", "Expected ':' immediately following ')'."},
      {"(intVal: 5)", "Missing target widget name."},
      {"(this.other.intVal 5)", "Could not find ':' or '('."},
      {"(this.other.intVal(In t): 5)", "Type specifier cannot have whitespace."},
      {"(this.other.intVal(): 5)", "Type specifier is empty."},
      {"(this.other.intVal: (5)", "End-of-resSpec before outermost ')'."},
      {"this.other.intVal: 5", "Multiple resSpecs must be in parens."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bad);
    const std::string text = good + c.bad;
    CaptureWarnings warnings;
    WcSetValueCB(box_, const_cast<char*>(text.c_str()), nullptr);
    EXPECT_EQ(Of(probe_).intVal, 0);
    EXPECT_EQ(Of(probe_).setValuesCalls, 0);
    EXPECT_EQ(Of(other_).setValuesCalls, 0);
    // Errors found in the first specification quote it all; the others
    // quote from the failing specification on.
    const std::string from = std::string(c.message).starts_with("Multiple") ? text : c.bad;
    EXPECT_EQ(warnings.Text(),
              "Wcl Warning: WcSetValue(" + from + ") - " + c.message + usage + "\n");
  }
  CaptureWarnings warnings;
  WcSetValueCB(box_, const_cast<char*>(""), nullptr);
  WcSetValueCB(box_, nullptr, nullptr);
  EXPECT_EQ(warnings.Text(), "Wcl Warning: WcSetValue() - Empty resource spec." + usage + "\n");
}

TEST_F(SetValueApply, MissingTargetOrResourceDropsOnlyItsSpecification) {
  CaptureWarnings warnings;
  Fire(box_,
       "WcSetValue((this.nobody.intVal: 1) (this.probe.intVal: 2) (this.other.noSuch: 3)"
       " (this.other.shortVal: 4))");
  EXPECT_EQ(Of(probe_).intVal, 2);
  EXPECT_EQ(Of(other_).shortVal, 4);
  const std::string& text = warnings.Text();
  EXPECT_EQ(text.rfind("Wcl Warning: WcSetValue((this.nobody.intVal: 1) (this.probe", 0), 0u)
      << text;
  EXPECT_NE(text.find(") - Target widget not found."), std::string::npos);
  EXPECT_NE(text.find("Wcl Warning: WcSetValue((this.other.noSuch: 3) (this.other.shortVal: 4)) - "
                      "Cannot determine type of this resource."),
            std::string::npos)
      << text;
}

TEST_F(SetValueApply, ConstraintResourcesAreFoundThroughTheParent) {
  Widget form = XtCreateManagedWidget("form", xmFormWidgetClass, box_, nullptr, 0);
  Widget kid = XtCreateManagedWidget("kid", xmLabelWidgetClass, form, nullptr, 0);
  Fire(box_, "WcSetValue((*form.kid.topOffset: 17) (*form.kid.leftAttachment: attach_form))");
  int offset = 0;
  unsigned char attachment = 0;
  XtVaGetValues(kid, XmNtopOffset, &offset, XmNleftAttachment, &attachment, nullptr);
  EXPECT_EQ(offset, 17);
  EXPECT_EQ(attachment, XmATTACH_FORM);
  char* type = WcGetResourceType(kid, "topOffset");
  EXPECT_STREQ(type, XmRVerticalInt);
  XtFree(type);
}

}  // namespace
