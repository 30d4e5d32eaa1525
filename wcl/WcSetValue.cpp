// WcSetValue.cpp: applying parsed resource specifications to widgets.
#include "wcl/WcSetValue.h"

#include "wcl/WcNames.h"
#include "wcl/WcOwned.h"
#include "wcl/WcResSpec.h"
#include "wcl/WcWarnings.h"

#include <X11/StringDefs.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

// One call takes at most this many specifications; the rest are dropped
// with one warning quoting them.
constexpr std::size_t kMaxSpecs = 127;
constexpr wcl::Message<1> kTooManySpecs{
    "WcSetValue", "tooManySpecs",
    "Wcl Warning: WcSetValue(%s) - More than 127 resource specifications, the rest ignored."};

void Report(Widget w, wcl::ResSpecError e, std::string_view text, std::size_t offset) {
  const wcl::ResSpecMessage& m = wcl::ResSpecErrorMessage(e);
  const std::string from(text.substr(std::min(offset, text.size())));
  wcl::Warn(w, m, from.c_str(), wcl::kResSpecUsage);
}

struct FoundResource {
  std::string name;  // the resource's own name, also when matched by class
  std::string type;
};

// Searches one resource list by name or class; the first match decides.
bool FindType(XtResourceList list, Cardinal count, const char* name, FoundResource& out,
              bool& found) {
  for (Cardinal i = 0; i < count; ++i) {
    const XtResource& r = list[i];
    if ((r.resource_name && std::strcmp(r.resource_name, name) == 0) ||
        (r.resource_class && std::strcmp(r.resource_class, name) == 0)) {
      found = r.resource_type != nullptr && r.resource_name != nullptr;
      if (found) out = {r.resource_name, r.resource_type};
      return true;
    }
  }
  return false;
}

bool ResourceType(Widget target, const char* name, FoundResource& out) {
  XtResourceList raw = nullptr;
  Cardinal count = 0;
  bool found = false;
  XtGetResourceList(XtClass(target), &raw, &count);
  wcl::XtOwned<XtResource> list(raw);
  if (FindType(list.get(), count, name, out, found)) return found;
  Widget parent = XtParent(target);
  if (!parent || !XtIsConstraint(parent)) return false;
  raw = nullptr;
  count = 0;
  XtGetConstraintResourceList(XtClass(parent), &raw, &count);
  list.reset(raw);
  FindType(list.get(), count, name, out, found);
  return found;
}

// A converted value as an argument value. Values that fit a word travel in
// the word (narrow ones sign-extended, as the toolkit copies from the low
// end); larger ones travel as a pointer to a private copy.
XtArgVal ArgFromValue(const XrmValue& v, std::vector<std::unique_ptr<char[]>>& copies) {
  switch (v.size) {
    case 1:
      return static_cast<XtArgVal>(*reinterpret_cast<const signed char*>(v.addr));
    case 2: {
      std::int16_t s;
      std::memcpy(&s, v.addr, 2);
      return static_cast<XtArgVal>(s);
    }
    case 4: {
      std::int32_t i;
      std::memcpy(&i, v.addr, 4);
      return static_cast<XtArgVal>(i);
    }
    default:
      break;
  }
  if (v.size <= sizeof(XtArgVal)) {
    XtArgVal word = 0;
    std::memcpy(&word, v.addr, v.size);
    return word;
  }
  copies.push_back(std::make_unique<char[]>(v.size));
  std::memcpy(copies.back().get(), v.addr, v.size);
  return reinterpret_cast<XtArgVal>(copies.back().get());
}

struct Resolved {
  const wcl::ResSpec* spec;
  Widget target;
  std::string name;  // what XtSetValues knows the resource by
  std::string type;
};

void ApplyToWidget(Widget target, const std::vector<const Resolved*>& specs) {
  std::vector<Arg> args;
  std::vector<std::unique_ptr<char[]>> copies;
  for (const Resolved* r : specs) {
    const std::string& value = r->spec->value;
    Arg a;
    a.name = const_cast<String>(r->name.c_str());
    if (r->type == XtRString) {
      // Many widgets keep a String resource's pointer without copying it,
      // so the text must outlive this call: the quark table keeps one
      // permanent copy of each distinct text.
      a.value = reinterpret_cast<XtArgVal>(XrmQuarkToString(XrmStringToQuark(value.c_str())));
    } else {
      XrmValue from{static_cast<unsigned>(value.size() + 1), const_cast<char*>(value.c_str())};
      XrmValue to{0, nullptr};
      if (!XtConvertAndStore(target, XtRString, &from, r->type.c_str(), &to) || !to.addr) continue;
      a.value = ArgFromValue(to, copies);
    }
    args.push_back(a);
  }
  XtSetValues(target, args.data(), static_cast<Cardinal>(args.size()));
}

}  // namespace

char* WcGetResourceType(Widget target, const char* resource) {
  FoundResource found;
  if (!target || !resource || !ResourceType(target, resource, found)) return nullptr;
  return XtNewString(found.type.c_str());
}

void WcSetValueCB(Widget w, XtPointer clientData, XtPointer) {
  if (!clientData) return;
  const std::string_view text(static_cast<const char*>(clientData));
  wcl::ResSpecParse parse = wcl::ParseResSpecs(text);
  if (parse.error != wcl::ResSpecError::Ok) {
    Report(w, parse.error, text, parse.errorOffset);
    return;
  }
  if (parse.specs.size() > kMaxSpecs) {
    const std::string rest(text.substr(parse.specs[kMaxSpecs].offset));
    wcl::Warn(w, kTooManySpecs, rest.c_str());
    parse.specs.resize(kMaxSpecs);
  }

  std::vector<Resolved> resolved;
  for (const wcl::ResSpec& spec : parse.specs) {
    Widget target = WcResolveWidgetName(w, spec.target.c_str());
    if (!target) {
      Report(w, wcl::ResSpecError::TargetNotFound, text, spec.offset);
      continue;
    }
    // XtSetValues matches names only, so a resource named by its class is
    // set under its own name.
    FoundResource found{spec.resource, spec.type};
    if (!spec.hasType && !ResourceType(target, spec.resource.c_str(), found)) {
      Report(w, wcl::ResSpecError::NoSuchResource, text, spec.offset);
      continue;
    }
    resolved.push_back({&spec, target, std::move(found.name), std::move(found.type)});
  }

  // One XtSetValues per widget, widgets in order of first mention.
  std::vector<Widget> order;
  for (const Resolved& r : resolved) {
    if (std::find(order.begin(), order.end(), r.target) == order.end()) order.push_back(r.target);
  }
  for (Widget target : order) {
    std::vector<const Resolved*> mine;
    for (const Resolved& r : resolved) {
      if (r.target == target) mine.push_back(&r);
    }
    ApplyToWidget(target, mine);
  }
}

void WcSetTranslations(Widget w, const char* text) {
  if (!w || !text || !XtIsWidget(w)) return;
  XtTranslations table = XtParseTranslationTable(text);
  if (!table) return;
  std::string_view t(text);
  while (!t.empty() && static_cast<unsigned char>(t.front()) <= 32) t.remove_prefix(1);
  if (t.starts_with("#augment")) {
    XtAugmentTranslations(w, table);
  } else if (t.starts_with("#override")) {
    XtOverrideTranslations(w, table);
  } else {
    Arg a;
    XtSetArg(a, XtNtranslations, table);
    XtSetValues(w, &a, 1);
  }
}
