// mapag_fuzz.cpp: random insert/find/remove/remove-value/grow/free
// sequences on a static and a dynamic map, each checked after every step
// against a std::map and by the map's own consistency check.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <map>
#include <tuple>

#include "fuzz/FuzzSupport.h"
#include "wcl/MapAg/MapAg.h"

namespace {

using MapKey = std::tuple<MapAg_Word, MapAg_Word, MapAg_Word>;
using Reference = std::map<MapKey, MapAg_Word>;

// MapKey words shaped like the registries' keys: aligned pointers, quarks,
// small integers, and the extremes that stress the shifts and the sum.
MapAg_Word KeyWord(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0: return 0;
    case 1: return in.ConsumeIntegralInRange<MapAg_Word>(1, 40);  // quarks
    case 2: return MapAg_Word(0x55550000) + 16 * in.ConsumeIntegralInRange<MapAg_Word>(0, 64);
    case 3: return MapAg_Word(1) << in.ConsumeIntegralInRange(0, int(sizeof(MapAg_Word) * 8 - 2));
    case 4: return in.ConsumeBool() ? INTPTR_MIN : -in.ConsumeIntegralInRange<MapAg_Word>(1, 9);
    default: return in.ConsumeIntegral<MapAg_Word>();
  }
}

MapKey PickKey(FuzzedDataProvider& in, const Reference& ref) {
  // Reuse a present key half of the time so finds and removes hit.
  if (!ref.empty() && in.ConsumeBool()) {
    auto it = ref.begin();
    std::advance(it, in.ConsumeIntegralInRange<size_t>(0, ref.size() - 1));
    return it->first;
  }
  return {KeyWord(in), KeyWord(in), KeyWord(in)};
}

void Compare(MapAg m, const Reference& ref) {
  MapAg_Check(m, __FILE__, __LINE__);
  FUZZ_CHECK(m->count == ref.size());
  for (const auto& [k, v] : ref)
    FUZZ_CHECK(MapAg_Find(m, std::get<0>(k), std::get<1>(k), std::get<2>(k)) == v);
}

void Run(FuzzedDataProvider& in, MapAg m, bool dynamic) {
  Reference ref;
  for (int step = 0; step < 2000 && in.remaining_bytes() > 0; ++step) {
    switch (in.ConsumeIntegralInRange(0, 9)) {
      case 0: case 1: case 2: case 3: {
        MapKey k = PickKey(in, ref);
        MapAg_Word v = in.ConsumeIntegralInRange<MapAg_Word>(1, 6);
        MapAg_Insert(m, std::get<0>(k), std::get<1>(k), std::get<2>(k), v);
        ref[k] = v;
        break;
      }
      case 4: {
        MapKey k = PickKey(in, ref);
        auto it = ref.find(k);
        FUZZ_CHECK(MapAg_Find(m, std::get<0>(k), std::get<1>(k), std::get<2>(k)) ==
                   (it == ref.end() ? 0 : it->second));
        break;
      }
      case 5: case 6: {
        MapKey k = PickKey(in, ref);
        MapAg_Remove(m, std::get<0>(k), std::get<1>(k), std::get<2>(k));
        ref.erase(k);
        break;
      }
      case 7: {
        MapAg_Word v = in.ConsumeIntegralInRange<MapAg_Word>(1, 6);
        MapAg_RemoveValue(m, v);
        std::erase_if(ref, [v](const auto& e) { return e.second == v; });
        break;
      }
      case 8:
        // Explicit growth is for a few doublings ahead of a known load;
        // unbounded, it only measures how much memory the machine has.
        if (m->mask < 4096) MapAg_Grow(m);
        break;
      case 9:
        if (dynamic) break;  // freeing a dynamic map ends it
        MapAg_Free(m);
        ref.clear();
        break;
    }
    Compare(m, ref);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  static MapAgRec registry;  // a static map lives on across its emptyings
  Run(in, &registry, false);
  MapAg_Free(&registry);
  MapAg_Check(&registry, __FILE__, __LINE__);

  MapAg m = MapAg_New();
  Run(in, m, true);
  MapAg_Free(m);
  return 0;
}
