// DescDecoder.h: turns fuzzer bytes into a whole resource description for
// desc_fuzz.cpp.
//
// Two input forms:
//   '!' then text: a description written out. An optional first line
//       "root NAME CLASS" names the root shell (default: the NAME of the
//       first "NAME.wc..." line, else "fz"); lines "file NAME" start a file
//       that runs to the next "file" line or "end"; lines "action TARGET
//       NAME [PARAM...]" are actions the harness calls after the build;
//       a line "timer" runs the attached callbacks from a timer.
//       The rest are resource lines. "@D" stands for the input's own folder
//       and "@X" for the display.
//   anything else: each byte steers one choice of a generator that writes
//       a tree (random depth and breadth, names that repeat), its creation,
//       callback and layout resources with random binding, callback lists
//       of every standard operation with random argument shapes, two
//       resource files and a template file. Exhausted input reads as zeros,
//       which pick the first, smallest choice, so every input ends.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "xmp/XmpMotifTables.h"

namespace xk::fuzz {

struct File {
  std::string name;  // inside the input's folder
  std::string text;
};

struct ActionCall {
  std::string target;  // widget name, resolved from the root
  std::string action;
  std::vector<std::string> params;
};

struct Description {
  std::string rootName = "fz";
  std::string rootClass = "Fz";
  std::string text;  // resource lines
  std::vector<File> files;
  std::vector<ActionCall> actions;
  // The attached callback lists run from a timer (no event dispatch: a
  // widget destroyed there is freed at once), else inside an event's
  // dispatch. Written out: a line "timer".
  bool fromTimer = false;
};

namespace desc {

class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : p_(data), n_(size) {}
  unsigned Next() {
    if (!n_) return 0;
    --n_;
    return *p_++;
  }
  size_t Pick(size_t count) { return count ? Next() % count : 0; }
  // True with probability about percent/100 (never for exhausted input).
  bool Chance(unsigned percent) {
    if (!n_) return false;
    return Next() * 100 < percent * 256;
  }
  template <typename T, size_t N>
  const T& From(const T (&list)[N]) {
    return list[Pick(N)];
  }

 private:
  const uint8_t* p_;
  size_t n_;
};

// Classes and constructors made for holding children, for pop-ups, and
// names the registries do not know, beside every Motif name.
inline const char* const kContainers[] = {
    "XmRowColumn", "Constraint", "XmForm", "Composite", "XmBulletinBoard", "XmFrame",
    "XmPanedWindow", "XmMainWindow", "XmpTable", "XmCreateForm", "XmCreateRowColumn",
    "XmCreatePulldownMenu", "XmCreatePopupMenu", "XmCreateMenuBar", "XmCreateOptionMenu",
    "XmCreateRadioBox", "XmCreateScrolledWindow", "XmpCreateTable", "XmCreateWorkArea",
    "xmFormWidgetClass", "compositeWidgetClass", "constraintWidgetClass", "XmDrawingArea",
    "XmCreateFormDialog", "XmCreateBulletinBoardDialog", "XmpCreateTableDialog",
    "XmpCreateTableTransient", "XmNotebook", "XmCreateScrolledText", "XmCreateScrolledList"};
inline const char* const kShells[] = {
    "Shell", "OverrideShell", "TopLevelShell", "TransientShell", "ApplicationShell",
    "VendorShell", "WmShell", "XmDialogShell", "XmMenuShell", "XmGrabShell",
    "XtCreateApplicationShell", "XtCreateOverrideShell", "XtCreateShell", "XtCreateTopLevelShell",
    "XtCreateTransientShell", "XtCreateWMShell", "XtCreateVendorShell", "XmCreateDialogShell",
    "XmCreateMenuShell", "XmCreateGrabShell", "XmCreateMessageDialog", "XmCreateErrorDialog",
    "XmCreatePromptDialog", "XmCreateFileSelectionDialog", "XmCreatePulldownMenu",
    "xmDialogShellWidgetClass", "transientShellWidgetClass"};
inline const char* const kOthers[] = {
    "Object", "RectObj", "Core", "XmText", "XmLabel", "XmPushButton", "XmLabelGadget",
    "XmPushButtonGadget", "XmSeparatorGadget", "XmCreateLabelGadget", "XmCreateText",
    "XmCreateTextField", "NoSuchClass", "XmCreateNothing", "", "xmLabelWidgetClass",
    "XMPUSHBUTTON", "xmcreatelabel"};

// Standard operations and the Motif support set's, by argument shape.
enum class Shape {
  Targets, ParentKids, Create, SetValue, OnceOnly, Callbacks, Root, File, Translations,
  Text, CloseCallback, Numbers, Nothing
};
struct Op {
  const char* name;
  Shape shape;
};
// The operations that destroy, create, pop up or re-enter callbacks are
// where the layer's faults have lived: they come up more often.
inline constexpr Op kOps[] = {
    {"WcManage", Shape::Targets}, {"WcUnmanage", Shape::Targets},
    {"WcManageChildren", Shape::ParentKids}, {"WcUnmanageChildren", Shape::ParentKids},
    {"WcDestroy", Shape::Targets}, {"WcDestroy", Shape::Targets}, {"WcDestroy", Shape::Targets},
    {"WcSetSensitive", Shape::Targets}, {"WcSetInsensitive", Shape::Targets},
    {"WcPopup", Shape::Targets}, {"WcPopup", Shape::Targets}, {"WcPopupGrab", Shape::Targets},
    {"WcPopdown", Shape::Targets}, {"WcMap", Shape::Targets}, {"WcUnmap", Shape::Targets},
    {"WcInstallAccelerators", Shape::Targets}, {"WcInstallAllAccelerators", Shape::Targets},
    {"WcCreateRoot", Shape::Root}, {"WcLoadResourceFile", Shape::File},
    {"WcLoadResourceFile", Shape::File}, {"WcPrintTree", Shape::Targets},
    {"WcSameSize", Shape::Targets}, {"WcCreateChildren", Shape::Create},
    {"WcCreateChildren", Shape::Create}, {"WcCreatePopups", Shape::Create},
    {"WcCreatePopups", Shape::Create}, {"WcPositionTransient", Shape::Nothing},
    {"WcSetValues", Shape::SetValue}, {"WcSetValue", Shape::SetValue}, {"WcTrace", Shape::Text},
    {"WcAddCallbacks", Shape::Callbacks}, {"WcAddCallbacks", Shape::Callbacks},
    {"WcRemoveCallbacks", Shape::Callbacks}, {"WcOnceOnly", Shape::OnceOnly},
    {"WcOnceOnly", Shape::OnceOnly}, {"WcOnceOnly", Shape::OnceOnly},
    {"WcTranslations", Shape::Translations}, {"WcDynamicAction", Shape::Text},
    {"WcDynamicCallback", Shape::Text}, {"WcExit", Shape::Nothing},
    {"XmpFixTranslations", Shape::Targets}, {"XmpAddTabGroup", Shape::Targets},
    {"XmpMessageWidget", Shape::Targets}, {"XmpAddMwmCloseCallback", Shape::CloseCallback},
    {"XmpTableChildConfig", Shape::Numbers}, {"XmpTableChildPosition", Shape::Numbers},
    {"XmpTableChildResize", Shape::Numbers}, {"XmpTableChildOptions", Shape::Text},
    {"NoSuchCallback", Shape::Targets}, {"WcDumpResources", Shape::Targets}};
// Actions of the standard set that the harness may call directly.
inline const char* const kActions[] = {
    "WcManageACT", "WcUnmanageACT", "WcDestroyACT", "WcPopupACT", "WcPopupGrabACT",
    "WcPopdownACT", "WcMapACT", "WcUnmapACT", "WcSetValueACT", "WcCreateChildrenACT",
    "WcCreatePopupsACT", "WcLoadResourceFileACT", "WcOnceOnlyACT", "WcSameSizeACT",
    "WcManageChildrenACT", "WcCreateRootACT", "WcAddCallbacksACT", "XmpPopup",
    "WcPositionTransientACT", "WcPrintTreeACT", "WcInstallAcceleratorsACT", "XmpMessageWidget"};
inline const char* const kLists[] = {
    "wcCallback", "wcAfterPopups", "wcAfterChildren", "wcAfterManageChildren",
    "activateCallback", "valueChangedCallback", "destroyCallback", "popupCallback",
    "popdownCallback", "okCallback", "cancelCallback", "helpCallback", "mapCallback",
    "armCallback", "entryCallback", "focusCallback", "noSuchCallback"};
inline const char* const kNames[] = {"a", "b", "c", "box", "pop", "sh", "w", "a", "b", "t"};

class Writer {
 public:
  Writer(const uint8_t* data, size_t size) : in_(data, size) {}

  Description Build() {
    Description d;
    d.fromTimer = in_.Chance(40);
    nodes_.push_back({d.rootName, -1, false, false, 0});
    // Each node's lines are written as it is made (its name lists once its
    // children are), so the bytes of one node stay together.
    OwnLines(0, d.text);
    Grow(0, 1, d.text);
    ListLines(0, d.text);
    if (in_.Chance(30)) d.text += d.rootName + ".wclResFiles: @D/r1" + (in_.Chance(30) ? " @D/r1\n" : "\n");
    if (in_.Chance(20)) d.text += d.rootName + ".wclInitResFile: @D/r2\n";
    if (in_.Chance(30)) d.text += d.rootName + ".wclTemplateFiles: @D/t1 @D/t2\n";
    if (in_.Chance(15)) d.text += "*wclVerboseWarnings: True\n";
    if (in_.Chance(10)) d.text += "*wclSlowTightNames: True\n";
    if (in_.Chance(10)) d.text += "*wclAppClassName: Fz\n";
    for (const char* name : {"r1", "r2"}) {
      File f{name, ""};
      for (size_t n = in_.Pick(5); n > 0; --n) {
        size_t i = in_.Pick(nodes_.size());
        if (in_.Chance(50)) OwnLines(i, f.text); else ListLines(i, f.text);
      }
      if (std::string_view(name) == "r1" && in_.Chance(30))
        f.text += d.rootName + ".wclResFiles: @D/r2 @D/r1\n";
      d.files.push_back(f);
    }
    for (const char* name : {"t1", "t2"}) {
      File f{name, ""};
      for (size_t n = in_.Pick(4); n > 0; --n) f.text += TemplateLine();
      d.files.push_back(f);
    }
    for (size_t n = in_.Pick(4); n > 0; --n) {
      ActionCall call{Target(), in_.From(kActions), {}};
      for (size_t k = in_.Pick(4); k > 0; --k) call.params.push_back(Target());
      d.actions.push_back(call);
    }
    return d;
  }

 private:
  struct Node {
    std::string name;
    int parent;
    bool popup;
    bool detached;  // has lines but no parent lists it (for WcCreateChildren)
    int depth;
  };

  void Grow(int parent, int depth, std::string& out) {
    if (depth > 7) return;
    size_t kids = in_.Pick(4) + (in_.Chance(10) ? in_.Pick(6) : 0);
    for (size_t k = 0; k < kids && nodes_.size() < 48; ++k) {
      Node n;
      if (in_.Chance(15)) {
        n.name = nodes_[parent].name;
      } else {
        n.name = in_.From(kNames);
        if (in_.Chance(40)) n.name += std::to_string(in_.Pick(4));
      }
      n.parent = parent;
      n.popup = in_.Chance(25);
      n.detached = in_.Chance(8);
      n.depth = depth;
      nodes_.push_back(n);
      const size_t i = nodes_.size() - 1;
      OwnLines(i, out);
      Grow(static_cast<int>(i), depth + 1, out);
      ListLines(i, out);
    }
  }

  // The resource name prefix for node i: tight full path, loose, partly
  // loose, or wrong.
  std::string Key(size_t i) {
    const Node& n = nodes_[i];
    if (n.parent < 0) return in_.Chance(80) ? n.name + "." : "*" + n.name + ".";
    switch (in_.Pick(8)) {
      case 0: case 1: {
        std::string path = n.name;
        for (int p = n.parent; p >= 0; p = nodes_[p].parent) path = nodes_[p].name + "." + path;
        return path + ".";
      }
      case 2: case 3: case 4: return "*" + n.name + ".";
      case 5: return "*" + nodes_[n.parent].name + "." + n.name + ".";
      case 6: return "*" + nodes_[n.parent].name + "*" + n.name + ".";
      default: return in_.Chance(50) ? "*" + n.name + "x." : nodes_[0].name + "." + n.name + ".";
    }
  }

  std::string NameList(size_t parent, bool popups) {
    std::string list;
    static const char* const seps[] = {", ", " ", ",", " , ", "\t", "("};
    const char* sep = in_.From(seps);
    for (size_t i = 0; i < nodes_.size(); ++i) {
      const Node& n = nodes_[i];
      if (n.parent != static_cast<int>(parent) || n.popup != popups || n.detached) continue;
      if (!list.empty()) list += sep;
      list += n.name;
      if (in_.Chance(15)) list += sep + n.name;  // the same name twice
    }
    if (in_.Chance(10)) list += (list.empty() ? "" : " ") + std::string("missing");
    return list;
  }

  const char* CreateName(const Node& n) {
    if (n.popup) return in_.Chance(85) ? in_.From(kShells) : in_.From(kContainers);
    switch (in_.Pick(10)) {
      case 0: case 1: case 2: case 3: case 4: return in_.From(kContainers);
      case 5: return in_.From(kShells);
      case 6: return in_.From(kOthers);
      case 7: {
        auto all = xmp::MotifConstructors();
        return all[in_.Pick(all.size())].name;
      }
      default: {
        auto all = xmp::MotifClasses();
        const auto& c = all[in_.Pick(all.size())];
        return in_.Chance(50) ? c.className : c.pointerName;
      }
    }
  }

  // Creation, callback and other resources of node i.
  void OwnLines(size_t i, std::string& out) {
    if (i > 0) {
      if (in_.Chance(15)) out += Key(i) + "wcManaged: " + (in_.Chance(70) ? "False" : "True") + "\n";
      if (in_.Chance(8)) out += Key(i) + "wcTemplate: " + (in_.Chance(80) ? "t1" : "nosuch") + "\n";
      if (in_.Chance(4)) out += Key(i) + "wcTrace: True\n";
    }
    for (size_t k = in_.Pick(2) + (in_.Chance(20) ? 2 : 0); k > 0; --k)
      out += Key(i) + in_.From(kLists) + ": " + CallbackList(0) + "\n";
    for (size_t k = in_.Pick(2); k > 0; --k) out += Key(i) + Setting() + "\n";
  }

  // The children and pop-ups of node i, as made so far, and its class: a
  // node with children mostly gets a class made to hold them.
  void ListLines(size_t i, std::string& out) {
    if (i > 0 && !in_.Chance(5)) {
      static const char* const how[] = {"wcCreate", "wcCreate", "wcCreate", "wcClassName",
                                        "wcClass", "wcConstructor"};
      const Node n = nodes_[i];
      const bool hasKids = std::any_of(nodes_.begin(), nodes_.end(),
                                       [&](const Node& k) { return k.parent == static_cast<int>(i); });
      const char* cls = hasKids && in_.Chance(70) ? in_.From(kContainers) : CreateName(n);
      out += Key(i) + in_.From(how) + ": " + cls + "\n";
    }
    std::string kids = NameList(i, false), pops = NameList(i, true);
    if (!kids.empty()) out += Key(i) + "wcChildren: " + kids + "\n";
    if (!pops.empty()) out += Key(i) + "wcPopups: " + pops + "\n";
  }

  std::string Setting() {
    static const char* const sizes[] = {"0", "1", "20", "300", "-1", "x", "65535"};
    static const char* const texts[] = {"x", "", "a\\nb", "\xc3\xa9t\xc3\xa9", "%s%n", "long text here"};
    switch (in_.Pick(12)) {
      case 0: return std::string("width: ") + in_.From(sizes);
      case 1: return std::string("height: ") + in_.From(sizes);
      case 2: return std::string("borderWidth: ") + in_.From(sizes);
      case 3: return std::string("labelString: ") + in_.From(texts);
      case 4: return std::string("sensitive: ") + (in_.Chance(50) ? "False" : "True");
      case 5: return std::string("mappedWhenManaged: ") + (in_.Chance(50) ? "False" : "True");
      case 6: return std::string("title: ") + in_.From(texts);
      case 7: return std::string("translations: #override <Key>Return: ") + in_.From(kActions) + "(" + Target() + ")";
      case 8: return std::string("layout: ") + in_.From(kNames) + " 0 0; " + in_.From(kNames) + " 1 0 2 1";
      case 9: return std::string("x: ") + in_.From(sizes);
      case 10: return std::string("allowShellResize: ") + (in_.Chance(50) ? "False" : "True");
      default: return std::string("subMenuId: ") + Target();
    }
  }

  std::string TemplateLine() {
    switch (in_.Pick(5)) {
      case 0: return std::string("wcCreate: ") + in_.From(kContainers) + "\n";
      case 1: return std::string("wcChildren: ") + in_.From(kNames) + " " + in_.From(kNames) + "\n";
      case 2: return std::string("*wcCreate: ") + in_.From(kOthers) + "\n";
      case 3: return std::string(in_.From(kLists)) + ": " + CallbackList(1) + "\n";
      default: return Setting() + "\n";
    }
  }

  std::string NodeName() { return nodes_[in_.Pick(nodes_.size())].name; }

  std::string Target() {
    switch (in_.Pick(14)) {
      case 0: case 1: return "this";
      case 2: return "^";
      case 3: return "~";
      case 4: return "/";
      case 5: return ".";
      case 6: return "*" + NodeName();
      case 7: return NodeName();
      case 8: return "this." + NodeName();
      case 9: return "^" + NodeName();
      case 10: return "~*" + NodeName();
      case 11: return "^^";
      case 12: return "nosuch";
      default: return nodes_[0].name + "." + NodeName();
    }
  }

  std::string CallbackList(int depth) {
    static const char* const seps[] = {" ", ", ", ",", " , "};
    std::string list;
    for (size_t n = 1 + in_.Pick(3); n > 0; --n) {
      if (!list.empty()) list += in_.From(seps);
      list += Callback(depth);
    }
    return list;
  }

  std::string Callback(int depth) {
    const Op& op = in_.From(kOps);
    std::string name = op.name;
    switch (in_.Pick(4)) {
      case 0: if (name.rfind("Wc", 0) == 0 || name.rfind("Xmp", 0) == 0) name += "CB"; break;
      case 1: for (char& c : name) c = static_cast<char>(c | 0x20); break;
      default: break;
    }
    std::string args;
    switch (op.shape) {
      case Shape::Targets:
        for (size_t n = in_.Pick(4); n > 0; --n) args += (args.empty() ? "" : " ") + Target();
        break;
      case Shape::ParentKids:
        args = Target();
        for (size_t n = in_.Pick(4); n > 0; --n) args += " " + NodeName();
        break;
      case Shape::Create:
        args = Target();
        for (size_t n = in_.Pick(3); n > 0; --n) args += ", " + NodeName();
        break;
      case Shape::SetValue: {
        static const char* const res[] = {"width", "height", "sensitive", "labelString", "x",
                                          "wcChildren", "title", "borderWidth", "mappedWhenManaged"};
        static const char* const vals[] = {"0", "1", "40", "False", "True", "txt", "", "a b"};
        // More than one specification needs parentheses around each.
        const size_t count = 1 + in_.Pick(3);
        for (size_t n = count; n > 0; --n) {
          std::string spec = Target() + "." + in_.From(res) + ": " + in_.From(vals);
          args += count > 1 || in_.Chance(50) ? "(" + spec + ")" : spec;
        }
        break;
      }
      case Shape::OnceOnly:
        args = std::string(in_.From(kLists)) + " " + (depth < 2 ? CallbackList(depth + 1) : "WcTraceCB(x)");
        break;
      case Shape::Callbacks:
        args = Target() + " " + in_.From(kLists) + " " + (depth < 2 ? CallbackList(depth + 1) : "WcTraceCB(y)");
        break;
      case Shape::Root: {
        static const char* const shells[] = {"top", "fz2", "a", "on:", "/x/top"};
        args = in_.From(shells);
        if (in_.Chance(30)) args += in_.Chance(60) ? " on: @X" : " on: :97";
        if (in_.Chance(20)) args += std::string(" ") + in_.From(shells);
        break;
      }
      case Shape::File: {
        static const char* const files[] = {"@D/r1", "@D/r2", "@D/t1", "@D/nosuch", "@D/", "~/nosuch.ad", "", "./nosuch"};
        args = in_.From(files);
        if (in_.Chance(30)) args += std::string(" ") + in_.From(files);
        break;
      }
      case Shape::Translations:
        args = Target() + " #override <Key>F1: " + in_.From(kActions) + "(" + Target() + ")";
        break;
      case Shape::Text: {
        static const char* const texts[] = {"", "some text", "%s %d", "\"quoted", "a(b)"};
        args = in_.From(texts);
        break;
      }
      case Shape::CloseCallback:
        args = Target() + " " + (depth < 2 ? CallbackList(depth + 1) : "WcTraceCB(z)");
        break;
      case Shape::Numbers: {
        static const char* const nums[] = {"0 0", "1 2", "-1 5", "0 0 2 2", "x", "65536 1"};
        args = Target() + " " + in_.From(nums);
        break;
      }
      case Shape::Nothing: break;
    }
    if (args.empty() && in_.Chance(50)) return name;
    return name + "(" + args + ")";
  }

  Bytes in_;
  std::vector<Node> nodes_;
};

inline std::vector<std::string> Words(std::string_view line) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    size_t j = i;
    while (j < line.size() && line[j] != ' ') ++j;
    if (j > i) out.emplace_back(line.substr(i, j - i));
    i = j;
  }
  return out;
}

inline Description ReadWritten(std::string_view text) {
  Description d;
  bool rootGiven = false;
  File* file = nullptr;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    // A backslash-newline continues the line in both the database and here.
    std::string whole(line);
    while (!whole.empty() && whole.back() == '\\' && !text.empty()) {
      end = text.find('\n');
      whole += "\n" + std::string(text.substr(0, end));
      text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    std::vector<std::string> words = Words(whole);
    if (!words.empty() && words[0] == "root" && words.size() == 3 && !rootGiven) {
      d.rootName = words[1];
      d.rootClass = words[2];
      rootGiven = true;
    } else if (!words.empty() && words[0] == "file" && words.size() == 2) {
      d.files.push_back({words[1], ""});
      file = &d.files.back();
    } else if (!words.empty() && words[0] == "timer" && words.size() == 1 && !file) {
      d.fromTimer = true;
    } else if (!words.empty() && words[0] == "end" && words.size() == 1) {
      file = nullptr;
    } else if (!words.empty() && words[0] == "action" && words.size() >= 3) {
      d.actions.push_back({words[1], words[2], {words.begin() + 3, words.end()}});
    } else {
      (file ? file->text : d.text) += whole + "\n";
    }
  }
  if (!rootGiven) {
    // The first "NAME.wc..." line names the root.
    std::string_view all = d.text;
    for (size_t at = 0; at < all.size();) {
      size_t eol = all.find('\n', at);
      std::string_view line = all.substr(at, eol == std::string_view::npos ? all.npos : eol - at);
      size_t dot = line.find(".wc");
      if (dot != std::string_view::npos && dot > 0 &&
          line.substr(0, dot).find_first_of("*.:! \t") == std::string_view::npos) {
        d.rootName = std::string(line.substr(0, dot));
        break;
      }
      if (eol == std::string_view::npos) break;
      at = eol + 1;
    }
  }
  // File names stay inside the input's folder.
  for (File& f : d.files)
    for (char& c : f.name)
      if (c == '/') c = '_';
  return d;
}

}  // namespace desc

inline Description Decode(const uint8_t* data, size_t size) {
  if (size > 0 && data[0] == '!') {
    std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    text.resize(std::char_traits<char>::length(text.c_str()));  // a NUL ends it
    return desc::ReadWritten(text);
  }
  return desc::Writer(data, size).Build();
}

}  // namespace xk::fuzz
