// MapAg against std::unordered_map with a good hash of the same three-word
// keys, on the key shapes of the creation layer's registries:
//   AppQuark      one application context and name quarks (callbacks,
//                 actions, classes, constructors), registered in order
//   AppQuarkEven  the same, but the first quark registered is even
//   PtrQuark      widgets with their class quark (attached objects)
//   PtrQuarkPage  the same, but the first widget is page-aligned
// The "Even" and "Page" variants pin the first key, from which the map
// learns its first shifts, to the awkward case; the plain ones take whatever
// the heap and the quark table give. Quarks come from XrmStringToQuark of
// realistic names; widgets are heap blocks of Motif instance sizes with
// small allocations between them, as widget creation leaves them.
// Find looks up every key once in shuffled order and reports the map's
// longest chain and mean probes per hit; Insert builds the map from empty.
//
//   build-<you>/bench/mapag_bench --benchmark_filter=Find
#include <benchmark/benchmark.h>
#include <X11/Xresource.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "wcl/MapAg/MapAg.h"

namespace {

struct Key {
  MapAg_Word k1, k2, k3;
  bool operator==(const Key&) const = default;
};

// A strong mixer (the splitmix64 finaliser) over the three words.
struct KeyHash {
  static uint64_t Mix(uint64_t x) {
    x ^= x >> 30;
    x *= 0xbf58476d1ce4e5b9ULL;
    x ^= x >> 27;
    x *= 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
  }
  size_t operator()(const Key& k) const {
    uint64_t h = Mix(uint64_t(k.k1));
    h = Mix(h ^ uint64_t(k.k2));
    return size_t(Mix(h ^ uint64_t(k.k3)));
  }
};

enum Shape { AppQuark, AppQuarkEven, PtrQuark, PtrQuarkPage };

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};

// Keys for n entries in registration order; the blocks behind the
// pointers stay allocated with them.
struct KeySet {
  std::vector<Key> keys;
  std::vector<std::unique_ptr<void, FreeDeleter>> blocks;

  MapAg_Word Alloc(size_t size, size_t align = 0) {
    void* p = align ? std::aligned_alloc(align, (size + align - 1) / align * align)
                    : std::malloc(size);
    blocks.emplace_back(p);
    return MapAg_Word(p);
  }
};

XrmQuark Quark(const std::string& name) { return XrmStringToQuark(name.c_str()); }

KeySet MakeKeys(Shape shape, int n) {
  static const char* const verbs[] = {"set", "get", "manage", "unmanage", "popup",
                                      "popdown", "load", "destroy", "map", "raise"};
  static const char* const nouns[] = {"values", "sensitive", "resourcefile", "child",
                                      "dialog", "text", "list", "cursor", "focus"};
  static const char* const classes[] = {
      "XmPushButton", "XmLabel",     "XmForm",      "XmRowColumn", "XmText",
      "XmTextField",  "XmScrolledWindow", "XmList", "XmToggleButton", "XmFrame",
      "XmSeparator",  "XmPanedWindow", "XmDrawingArea", "XmScale", "XmCascadeButton"};
  static const size_t widgetSizes[] = {232, 296, 368, 424, 512, 640, 880};

  KeySet set;
  std::mt19937 rng(42);
  if (shape == AppQuark || shape == AppQuarkEven) {
    const MapAg_Word app = set.Alloc(1200);  // an application context
    bool first = true;
    for (int i = 0; int(set.keys.size()) < n; ++i) {
      std::string name = std::string(verbs[i % 10]) + nouns[(i / 10) % 9];
      if (i >= 90) name += std::to_string(i / 90);  // registered names are lower case
      MapAg_Word q = Quark(name);
      if (first && shape == AppQuarkEven && (q & 1)) continue;
      first = false;
      set.keys.push_back({app, q, 0});
    }
  } else {
    for (int w = 0; int(set.keys.size()) < n; ++w) {
      size_t size = widgetSizes[rng() % 7];
      MapAg_Word widget = w == 0 && shape == PtrQuarkPage ? set.Alloc(size, 4096)
                                                          : set.Alloc(size);
      set.Alloc(16 + rng() % 48);  // name, callback lists and the like
      MapAg_Word cls = Quark(classes[rng() % 15]);
      set.keys.push_back({widget, cls, 0});
      // Some widgets carry a second object, registered under another class.
      if (w % 3 == 0 && int(set.keys.size()) < n)
        set.keys.push_back({widget, Quark(std::string(classes[w % 15]) + "Ext"), 0});
    }
  }
  return set;
}

// Chain shape of a map: the longest chain and the mean probes per hit.
void ChainCounters(benchmark::State& state, const MapAgRec& m) {
  double longest = 0, probes = 0;
  for (uint32_t b = 0; m.buckets && b <= m.mask; ++b) {
    double len = 0;
    for (MapAg_Node* p = m.buckets[b]; p; p = p->next) ++len;
    longest = std::max(longest, len);
    probes += len * (len + 1) / 2;
  }
  state.counters["longest"] = longest;
  state.counters["probes"] = m.count ? probes / m.count : 0;
}

std::vector<Key> Shuffled(const std::vector<Key>& keys) {
  std::vector<Key> probe = keys;
  std::shuffle(probe.begin(), probe.end(), std::mt19937(7));
  return probe;
}

void BM_MapAg_Find(benchmark::State& state, Shape shape) {
  KeySet set = MakeKeys(shape, int(state.range(0)));
  MapAgRec map;
  for (const Key& k : set.keys) MapAg_Insert(&map, k.k1, k.k2, k.k3, 1);
  const std::vector<Key> probe = Shuffled(set.keys);
  for (auto _ : state) {
    MapAg_Word sum = 0;
    for (const Key& k : probe) sum += MapAg_Find(&map, k.k1, k.k2, k.k3);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(probe.size()));
  ChainCounters(state, map);
  MapAg_Free(&map);
}

void BM_Unordered_Find(benchmark::State& state, Shape shape) {
  KeySet set = MakeKeys(shape, int(state.range(0)));
  std::unordered_map<Key, MapAg_Word, KeyHash> map;
  for (const Key& k : set.keys) map[k] = 1;
  const std::vector<Key> probe = Shuffled(set.keys);
  for (auto _ : state) {
    MapAg_Word sum = 0;
    for (const Key& k : probe) {
      auto it = map.find(k);
      sum += it == map.end() ? 0 : it->second;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(probe.size()));
}

void BM_MapAg_Insert(benchmark::State& state, Shape shape) {
  KeySet set = MakeKeys(shape, int(state.range(0)));
  for (auto _ : state) {
    MapAgRec map;
    for (const Key& k : set.keys) MapAg_Insert(&map, k.k1, k.k2, k.k3, 1);
    benchmark::DoNotOptimize(map.count);
    MapAg_Free(&map);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(set.keys.size()));
}

void BM_Unordered_Insert(benchmark::State& state, Shape shape) {
  KeySet set = MakeKeys(shape, int(state.range(0)));
  for (auto _ : state) {
    std::unordered_map<Key, MapAg_Word, KeyHash> map;
    for (const Key& k : set.keys) map[k] = 1;
    benchmark::DoNotOptimize(map.size());
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(set.keys.size()));
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (int n : {10, 100, 1000, 10000, 100000}) b->Arg(n);
}

}  // namespace

#define XK_MAPAG_BENCH(shape)                                         \
  BENCHMARK_CAPTURE(BM_MapAg_Find, shape, shape)->Apply(Sizes);       \
  BENCHMARK_CAPTURE(BM_Unordered_Find, shape, shape)->Apply(Sizes);   \
  BENCHMARK_CAPTURE(BM_MapAg_Insert, shape, shape)->Apply(Sizes);     \
  BENCHMARK_CAPTURE(BM_Unordered_Insert, shape, shape)->Apply(Sizes)

XK_MAPAG_BENCH(AppQuark);
XK_MAPAG_BENCH(AppQuarkEven);
XK_MAPAG_BENCH(PtrQuark);
XK_MAPAG_BENCH(PtrQuarkPage);

BENCHMARK_MAIN();
