// WcFetch.cpp: the creation layer's lean resource fetch.
#include "wcl/WcFetch.h"

#include <X11/IntrinsicP.h>
#include <X11/ShellP.h>
#include <X11/StringDefs.h>

#include <cstring>
#include <vector>

#include "wcl/MapAg/MapAg.h"
#include "wcl/WcConverters.h"
#include "wcl/WcRegistry.h"

namespace wcl {
namespace {

// Name and class quarks of a resource path, NULLQUARK-terminated; room for
// one more component. Shallow paths (all real ones) need no allocation.
class Path {
 public:
  // From w's root down to w, as Xt builds it: a root application shell
  // contributes its application class, not its widget class.
  Path(Widget w, bool roomForOne) {
    size_t depth = 0;
    for (Widget p = w; p; p = XtParent(p)) ++depth;
    size_t capacity = depth + (roomForOne ? 1 : 0) + 1;
    if (capacity > kInline) {
      heapNames_.resize(capacity);
      heapClasses_.resize(capacity);
      names_ = heapNames_.data();
      classes_ = heapClasses_.data();
    }
    length_ = depth;
    for (size_t i = depth; i-- > 0; w = XtParent(w)) {
      names_[i] = w->core.xrm_name;
      classes_[i] = XtClass(w)->core_class.xrm_class;
      if (i == 0 && XtIsApplicationShell(w))
        classes_[i] = reinterpret_cast<ApplicationShellWidget>(w)->application.xrm_class;
    }
    names_[length_] = classes_[length_] = NULLQUARK;
  }

  void Append(XrmQuark name, XrmQuark cls) {
    names_[length_] = name;
    classes_[length_] = cls;
    ++length_;
    names_[length_] = classes_[length_] = NULLQUARK;
  }

  const XrmQuark* Names() const { return names_; }
  const XrmQuark* Classes() const { return classes_; }

 private:
  static constexpr size_t kInline = 48;
  XrmQuark inlineNames_[kInline];
  XrmQuark inlineClasses_[kInline];
  std::vector<XrmQuark> heapNames_, heapClasses_;
  XrmQuark* names_ = inlineNames_;
  XrmQuark* classes_ = inlineClasses_;
  size_t length_ = 0;
};

// The QuarkRec conversion of a text, as the layer's converter makes it,
// remembered per text: nearly every widget names its class this way.
void StoreQuarkRec(const char* text, char* field) {
  static MapAgRec known;  // text quark -> WcQuarkRec*
  XrmQuark quark = XrmStringToQuark(text);
  auto* rec = reinterpret_cast<WcQuarkRec*>(MapAg_Find(&known, quark, 0, 0));
  if (!rec) {
    rec = new WcQuarkRec{XrmQuarkToString(quark), WcNameToQuarkLower(text)};
    MapAg_Insert(&known, quark, 0, 0, reinterpret_cast<MapAg_Word>(rec));
  }
  std::memcpy(field, rec, sizeof *rec);
}

void Store(Widget convertFor, const FetchResource& r, XrmRepresentation type, XrmValue* value,
           void* base) {
  static const XrmQuark qString = XrmPermStringToQuark(XtRString);
  static const XrmQuark qQuarkRec = XrmPermStringToQuark(WcRQuarkRec);
  char* field = static_cast<char*>(base) + r.offset;
  if (type == r.typeQuark) {
    if (type == qString) {
      *reinterpret_cast<String*>(field) = value->addr;
    } else if (value->size >= r.size) {
      std::memcpy(field, value->addr, r.size);
    }
    return;
  }
  if (type == qString && r.typeQuark == qQuarkRec && value->addr) {
    StoreQuarkRec(value->addr, field);
    return;
  }
  // A conversion that fails (with the toolkit's warning) leaves the default.
  XrmValue to{static_cast<unsigned>(r.size), field};
  XtConvertAndStore(convertFor, XrmQuarkToString(type), value, r.type, &to);
}

void Fetch(Widget convertFor, const Path& path, FetchResource* table, size_t count, void* base) {
  XrmDatabase db = XtScreenDatabase(XtScreenOfObject(convertFor));

  // One search list serves every fetch; a converter that fetches again
  // while it is in use gets its own.
  static std::vector<XrmHashTable> shared(64);
  static int depth = 0;
  std::vector<XrmHashTable> own;
  std::vector<XrmHashTable>& list = depth == 0 ? shared : own;
  if (list.empty()) list.resize(64);
  while (!XrmQGetSearchList(db, const_cast<XrmQuark*>(path.Names()),
                            const_cast<XrmQuark*>(path.Classes()), list.data(),
                            static_cast<int>(list.size())))
    list.resize(list.size() * 2);

  ++depth;
  for (size_t i = 0; i < count; ++i) {
    FetchResource& r = table[i];
    if (r.nameQuark == NULLQUARK) {
      r.nameQuark = XrmPermStringToQuark(r.name);
      r.classQuark = XrmPermStringToQuark(r.resourceClass);
      r.typeQuark = XrmPermStringToQuark(r.type);
    }
    XrmRepresentation type;
    XrmValue value;
    if (XrmQGetSearchResource(list.data(), r.nameQuark, r.classQuark, &type, &value))
      Store(convertFor, r, type, &value, base);
  }
  --depth;
}

}  // namespace

void FetchSubpart(Widget parent, const char* name, FetchResource* table, size_t count,
                  void* base) {
  Path path(parent, true);
  XrmQuark quark = XrmStringToQuark(name);
  path.Append(quark, quark);
  Fetch(parent, path, table, count, base);
}

void FetchFromWidget(Widget w, FetchResource* table, size_t count, void* base) {
  Path path(w, false);
  Fetch(w, path, table, count, base);
}

}  // namespace wcl
