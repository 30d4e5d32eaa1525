// MapAg against std::unordered_map with a good hash of the same three-word
// keys, on the key shapes of the creation layer's registries:
//   AppQuark  one application context and a name quark (callbacks, actions)
//   PtrQuark  heap objects (widgets, classes) with a small quark
// Find looks up every key once in shuffled order; Insert builds the whole
// map from empty. Sizes run from 10 to 100,000 entries.
//
//   build-<you>/bench/mapag_bench --benchmark_filter=Find
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <tuple>
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

enum Shape { AppQuark, PtrQuark };

// Keys for n entries; the objects behind the pointers stay alive with them.
struct KeySet {
  std::vector<Key> keys;
  std::vector<std::unique_ptr<char[]>> objects;
};

KeySet MakeKeys(Shape shape, int n) {
  KeySet set;
  std::mt19937 rng(42);
  auto app = std::make_unique<char[]>(256);
  const MapAg_Word appWord = MapAg_Word(app.get());
  set.objects.push_back(std::move(app));
  if (shape == AppQuark) {
    for (int i = 0; i < n; ++i) set.keys.push_back({appWord, MapAg_Word(100 + i), 0});
  } else {
    // Widget-sized heap objects, each with a few quarks, as attached
    // objects are registered.
    const int quarksPerObject = 4;
    for (int i = 0; i < n; i += quarksPerObject) {
      auto obj = std::make_unique<char[]>(200);
      MapAg_Word w = MapAg_Word(obj.get());
      set.objects.push_back(std::move(obj));
      for (int q = 0; q < quarksPerObject && i + q < n; ++q)
        set.keys.push_back({w, MapAg_Word(1 + rng() % 60), 0});
    }
    // Random quarks may repeat for one object; keep the keys distinct.
    std::sort(set.keys.begin(), set.keys.end(), [](const Key& a, const Key& b) {
      return std::tie(a.k1, a.k2) < std::tie(b.k1, b.k2);
    });
    set.keys.erase(std::unique(set.keys.begin(), set.keys.end()), set.keys.end());
  }
  std::shuffle(set.keys.begin(), set.keys.end(), rng);
  return set;
}

void BM_MapAg_Find(benchmark::State& state, Shape shape) {
  KeySet set = MakeKeys(shape, int(state.range(0)));
  MapAgRec map;
  for (const Key& k : set.keys) MapAg_Insert(&map, k.k1, k.k2, k.k3, 1);
  std::vector<Key> probe = set.keys;
  std::shuffle(probe.begin(), probe.end(), std::mt19937(7));
  for (auto _ : state) {
    MapAg_Word sum = 0;
    for (const Key& k : probe) sum += MapAg_Find(&map, k.k1, k.k2, k.k3);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(probe.size()));
  MapAg_Free(&map);
}

void BM_Unordered_Find(benchmark::State& state, Shape shape) {
  KeySet set = MakeKeys(shape, int(state.range(0)));
  std::unordered_map<Key, MapAg_Word, KeyHash> map;
  for (const Key& k : set.keys) map[k] = 1;
  std::vector<Key> probe = set.keys;
  std::shuffle(probe.begin(), probe.end(), std::mt19937(7));
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

BENCHMARK_CAPTURE(BM_MapAg_Find, AppQuark, AppQuark)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Unordered_Find, AppQuark, AppQuark)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_MapAg_Find, PtrQuark, PtrQuark)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Unordered_Find, PtrQuark, PtrQuark)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_MapAg_Insert, AppQuark, AppQuark)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Unordered_Insert, AppQuark, AppQuark)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_MapAg_Insert, PtrQuark, PtrQuark)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Unordered_Insert, PtrQuark, PtrQuark)->Apply(Sizes);

BENCHMARK_MAIN();
