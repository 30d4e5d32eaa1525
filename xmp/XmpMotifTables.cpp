// XmpMotifTables.cpp: the Motif constructor and class tables.
#include "xmp/XmpMotifTables.h"

#include <Xm/XmAll.h>
#include <Xm/ButtonBox.h>
#include <Xm/ColorS.h>
#include <Xm/DropDown.h>
#include <Xm/FontS.h>
#include <Xm/Hierarchy.h>
#include <Xm/IconBox.h>
#include <Xm/MultiList.h>
#include <Xm/Outline.h>
#include <Xm/TearOffBP.h>
#include <Xm/Tree.h>

namespace xmp {
namespace {

#define XMP_CTOR(fn) MotifConstructor{#fn, fn}

// A Motif gadget lives on its manager parent's fields: made under any other
// parent (a shell, a plain composite) it crashes or ends the program. The
// resource names reach the constructor through this guard, which makes
// nothing there, so the creation layer reports the constructor as failed.
template <MotifCreateProc create>
Widget InManager(Widget parent, String name, ArgList args, Cardinal count) {
  return parent && XmIsManager(parent) ? create(parent, name, args, count) : nullptr;
}
#define XMP_GADGET_CTOR(fn) MotifConstructor{#fn, InManager<fn>}

const MotifConstructor kConstructors[] = {
    XMP_CTOR(XmCreateArrowButton),
    XMP_GADGET_CTOR(XmCreateArrowButtonGadget),
    XMP_CTOR(XmCreateBulletinBoard),
    XMP_CTOR(XmCreateBulletinBoardDialog),
    XMP_CTOR(XmCreateCascadeButton),
    XMP_GADGET_CTOR(XmCreateCascadeButtonGadget),
    MotifConstructor{"XmCreateCheckBox", XmCreateSimpleCheckBox},
    XMP_CTOR(XmCreateCommand),
    XMP_CTOR(XmCreateDialogShell),
    XMP_CTOR(XmCreateDrawingArea),
    XMP_CTOR(XmCreateDrawnButton),
    XMP_CTOR(XmCreateErrorDialog),
    XMP_CTOR(XmCreateFileSelectionBox),
    XMP_CTOR(XmCreateFileSelectionDialog),
    XMP_CTOR(XmCreateForm),
    XMP_CTOR(XmCreateFormDialog),
    XMP_CTOR(XmCreateFrame),
    XMP_CTOR(XmCreateInformationDialog),
    XMP_CTOR(XmCreateTemplateDialog),
    XMP_CTOR(XmCreateLabel),
    XMP_GADGET_CTOR(XmCreateLabelGadget),
    XMP_CTOR(XmCreateList),
    XMP_CTOR(XmCreateMainWindow),
    XMP_CTOR(XmCreateMenuBar),
    XMP_CTOR(XmCreateMenuShell),
    XMP_CTOR(XmCreateMessageBox),
    XMP_CTOR(XmCreateMessageDialog),
    XMP_CTOR(XmCreateOptionMenu),
    XMP_CTOR(XmCreatePanedWindow),
    XMP_CTOR(XmCreatePopupMenu),
    XMP_CTOR(XmCreatePromptDialog),
    XMP_CTOR(XmCreatePulldownMenu),
    XMP_CTOR(XmCreatePushButton),
    XMP_GADGET_CTOR(XmCreatePushButtonGadget),
    XMP_CTOR(XmCreateQuestionDialog),
    XMP_CTOR(XmCreateRadioBox),
    XMP_CTOR(XmCreateRowColumn),
    XMP_CTOR(XmCreateScale),
    XMP_CTOR(XmCreateScrollBar),
    XMP_CTOR(XmCreateScrolledList),
    XMP_CTOR(XmCreateScrolledText),
    XMP_CTOR(XmCreateScrolledWindow),
    XMP_CTOR(XmCreateSelectionBox),
    XMP_CTOR(XmCreateSelectionDialog),
    XMP_CTOR(XmCreateSeparator),
    XMP_GADGET_CTOR(XmCreateSeparatorGadget),
    XMP_CTOR(XmCreateSimpleCheckBox),
    XMP_CTOR(XmCreateText),
    XMP_CTOR(XmCreateTextField),
    XMP_CTOR(XmCreateToggleButton),
    XMP_GADGET_CTOR(XmCreateToggleButtonGadget),
    XMP_CTOR(XmCreateWarningDialog),
    XMP_CTOR(XmCreateWorkingDialog),
    XMP_CTOR(XmCreateComboBox),
    XMP_CTOR(XmCreateCommandDialog),
    XMP_CTOR(XmCreateContainer),
    XMP_CTOR(XmCreateDropDownComboBox),
    XMP_CTOR(XmCreateDropDownList),
    XMP_CTOR(XmCreateGrabShell),
    XMP_GADGET_CTOR(XmCreateIconGadget),
    XMP_GADGET_CTOR(XmCreateIconHeader),
    XMP_CTOR(XmCreateNotebook),
    XMP_CTOR(XmCreateSimpleMenuBar),
    XMP_CTOR(XmCreateSimpleOptionMenu),
    XMP_CTOR(XmCreateSimplePopupMenu),
    XMP_CTOR(XmCreateSimplePulldownMenu),
    XMP_CTOR(XmCreateSimpleRadioBox),
    XMP_CTOR(XmCreateSpinBox),
    // Added in Motif 2.2 and 2.3.
    XMP_CTOR(XmCreateSimpleSpinBox),
    XMP_CTOR(XmCreateWorkArea),
    XMP_CTOR(XmCreateButtonBox),
    XMP_CTOR(XmCreateColorSelector),
    XMP_CTOR(XmCreateColumn),
    XMP_CTOR(XmCreateDataField),
    XMP_CTOR(XmCreateDropDown),
    XMP_CTOR(XmCreateFontSelector),
    XMP_CTOR(XmCreateIconBox),
    XMP_CTOR(XmCreateIconButton),
    XMP_CTOR(XmCreateMultiList),
    XMP_CTOR(XmCreateOutline),
    XMP_CTOR(XmCreatePaned),
    XMP_CTOR(XmCreateTabBox),
    XMP_CTOR(XmCreateTabStack),
    XMP_CTOR(XmCreateTree),
};

#undef XMP_CTOR

#define XMP_WIDGET(base) MotifClass{"Xm" #base, "xm" #base "WidgetClass", &xm##base##WidgetClass}
#define XMP_GADGET(base) MotifClass{"Xm" #base, "xm" #base "Class", &xm##base##Class}

const MotifClass kClasses[] = {
    XMP_WIDGET(ArrowButton),
    XMP_GADGET(ArrowButtonGadget),
    XMP_WIDGET(BulletinBoard),
    XMP_WIDGET(CascadeButton),
    XMP_GADGET(CascadeButtonGadget),
    XMP_WIDGET(Command),
    XMP_WIDGET(DialogShell),
    XMP_WIDGET(DrawingArea),
    XMP_WIDGET(DrawnButton),
    XMP_WIDGET(FileSelectionBox),
    XMP_WIDGET(Form),
    XMP_WIDGET(Frame),
    XMP_GADGET(Gadget),
    XMP_WIDGET(Label),
    XMP_GADGET(LabelGadget),
    XMP_WIDGET(List),
    XMP_WIDGET(MainWindow),
    XMP_WIDGET(Manager),
    XMP_WIDGET(MenuShell),
    XMP_WIDGET(MessageBox),
    XMP_WIDGET(PanedWindow),
    XMP_WIDGET(Primitive),
    XMP_WIDGET(PushButton),
    XMP_GADGET(PushButtonGadget),
    XMP_WIDGET(RowColumn),
    XMP_WIDGET(Scale),
    XMP_WIDGET(ScrollBar),
    XMP_WIDGET(ScrolledWindow),
    XMP_WIDGET(SelectionBox),
    XMP_WIDGET(Separator),
    XMP_GADGET(SeparatorGadget),
    XMP_WIDGET(Text),
    XMP_WIDGET(TextField),
    XMP_WIDGET(ToggleButton),
    XMP_GADGET(ToggleButtonGadget),
    XMP_WIDGET(ComboBox),
    XMP_WIDGET(Container),
    XMP_WIDGET(GrabShell),
    XMP_GADGET(IconGadget),
    XMP_WIDGET(Notebook),
    XMP_WIDGET(SpinBox),
    XMP_WIDGET(TearOffButton),
    XMP_WIDGET(SimpleSpinBox),
    // Added in Motif 2.2 and 2.3.
    MotifClass{"XmIconHeader", "xmIconHeaderClass", &xmIconHeaderClass},
    XMP_WIDGET(ButtonBox),
    XMP_WIDGET(ColorSelector),
    XMP_WIDGET(Column),
    XMP_WIDGET(DataField),
    XMP_WIDGET(DropDown),
    XMP_WIDGET(FontSelector),
    XMP_WIDGET(Hierarchy),
    XMP_WIDGET(IconBox),
    XMP_WIDGET(IconButton),
    XMP_WIDGET(MultiList),
    XMP_WIDGET(Outline),
    XMP_WIDGET(Paned),
    XMP_WIDGET(TabBox),
    XMP_WIDGET(TabStack),
    XMP_WIDGET(Tree),
};

#undef XMP_WIDGET
#undef XMP_GADGET

}  // namespace

std::span<const MotifConstructor> MotifConstructors() { return kConstructors; }
std::span<const MotifClass> MotifClasses() { return kClasses; }

}  // namespace xmp
