// MapAg.cpp: the map aggregate's four states and their operations.
//
// The hash is a sum of the three key words, each shifted right by a shift
// learnt from the data (so aligned pointers drop their always-zero low
// bits), masked to the bucket count. The table doubles when it holds one
// entry per bucket; a chain that grows too long first tries other shifts.
#include "wcl/MapAg/MapAg.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

constexpr int kWordBits = sizeof(MapAg_Word) * 8;
constexpr uint32_t kFirstBuckets = 8;
// A chain this long is re-tuned even when maxChain, which doubles with the
// table, would tolerate more: lookups pay for every node of a chain.
constexpr uint32_t kRetuneChain = 4;

[[noreturn]] void NodeAllocFailed(size_t bytes) {
  std::fprintf(stderr, "MapAg could not allocate %d bytes.\n", (int)bytes);
  std::abort();
}

[[noreturn]] void ArrayAllocFailed(size_t count, size_t elemSize) {
  std::fprintf(stderr, "MapAg could not allocate %d x %d bytes.\n", (int)count,
               (int)elemSize);
  std::abort();
}

MapAg_Node** NewBuckets(size_t count) {
  auto* b = static_cast<MapAg_Node**>(std::calloc(count, sizeof(MapAg_Node*)));
  if (!b) ArrayAllocFailed(count, sizeof(MapAg_Node*));
  return b;
}

inline uint32_t Index(const MapAgRec* m, MapAg_Word k1, MapAg_Word k2,
                      MapAg_Word k3) {
  // Arithmetic shifts on signed words, wrapping unsigned sum.
  uintptr_t h = uintptr_t(k1 >> m->shift1) + uintptr_t(k2 >> m->shift2) +
                uintptr_t(k3 >> m->shift3);
  return uint32_t(h) & m->mask;
}

inline uint32_t NodeIndex(const MapAgRec* m, const MapAg_Node* n) {
  return Index(m, n->key1, n->key2, n->key3);
}

inline bool SameKeys(const MapAg_Node* n, MapAg_Word k1, MapAg_Word k2,
                     MapAg_Word k3) {
  return n->key1 == k1 && n->key2 == k2 && n->key3 == k3;
}

void SetShifts(MapAgRec* m, const MapAg_Node* n) {
  m->shift1 = MapAg_KeyShift(n->key1);
  m->shift2 = MapAg_KeyShift(n->key2);
  m->shift3 = MapAg_KeyShift(n->key3);
}

MapAg_Node* NewNode(MapAg_Word k1, MapAg_Word k2, MapAg_Word k3,
                    MapAg_Word value) {
  auto* n = static_cast<MapAg_Node*>(std::malloc(sizeof(MapAg_Node)));
  if (!n) NodeAllocFailed(sizeof(MapAg_Node));
  *n = MapAg_Node{k1, k2, k3, value, nullptr};
  return n;
}

// Moves every node into a fresh array of `buckets` entries under the
// current shifts and mask, releasing the old array.
void Redistribute(MapAgRec* m, uint32_t oldBuckets) {
  MapAg_Node** fresh = NewBuckets(size_t(m->mask) + 1);
  for (uint32_t b = 0; b < oldBuckets; ++b) {
    for (MapAg_Node* n = m->buckets[b]; n;) {
      MapAg_Node* next = n->next;
      uint32_t i = NodeIndex(m, n);
      n->next = fresh[i];
      fresh[i] = n;
      n = next;
    }
  }
  std::free(m->buckets);
  m->buckets = fresh;
}

void ReleaseNodes(MapAgRec* m) {
  for (uint32_t b = 0; m->buckets && b <= m->mask; ++b) {
    for (MapAg_Node* n = m->buckets[b]; n;) {
      MapAg_Node* next = n->next;
      std::free(n);
      n = next;
    }
    m->buckets[b] = nullptr;
  }
}

struct Shifts {
  uint32_t s1, s2, s3;
  bool operator==(const Shifts&) const = default;
};

void SetShifts(MapAgRec* m, Shifts s) {
  m->shift1 = s.s1;
  m->shift2 = s.s2;
  m->shift3 = s.s3;
}

// Whether the candidate shifts (already set in m) move some node out of
// bucket b and lower the probe cost of the whole table (the sum of squared
// chain lengths, which grows with the work of finding every entry once).
// Judging the whole table keeps a candidate from spreading one chain by
// piling up others.
bool CandidateFits(MapAgRec* m, uint32_t b, uint32_t* perBucket) {
  bool moves = false;
  for (MapAg_Node* n = m->buckets[b]; n && !moves; n = n->next)
    moves = NodeIndex(m, n) != b;
  if (!moves) return false;
  uint64_t costNow = 0, cost = 0;
  for (uint32_t i = 0; i <= m->mask; ++i) {
    uint64_t len = 0;
    for (MapAg_Node* n = m->buckets[i]; n; n = n->next, ++len)
      cost += 2 * uint64_t(perBucket[NodeIndex(m, n)]++) + 1;  // (l+1)^2 - l^2
    costNow += len * len;
  }
  return cost < costNow;
}

// The largest shift that keeps every bit in which the colliding words
// differ; a word equal throughout the chain keeps its current shift.
uint32_t LosslessShift(uintptr_t differing, uint32_t current) {
  if (differing == 0) return current;
  int tz = std::countr_zero(differing);
  return tz >= kWordBits - 1 ? 0 : uint32_t(tz);
}

// Re-tunes the shifts for the long chain b that the key (k1, k2, k3) is
// about to join. The candidate keeps exactly the bits in which these keys
// differ: one key's trailing zeros can throw away bits that tell the others
// apart (a page-aligned widget, an even quark). It is taken when it spreads
// the chain and lowers the table's probe cost. Shifts that already keep
// every differing bit leave a collision of the sum itself, as any good hash
// has now and then, and are kept as they are. An attempt costs a pass over
// the table, so the next waits until count / 4 more entries are added:
// inserts stay amortised constant even when re-tuning cannot help.
void Retune(MapAgRec* m, uint32_t b, MapAg_Word k1, MapAg_Word k2, MapAg_Word k3) {
  const Shifts now{m->shift1, m->shift2, m->shift3};
  m->retuneWait = m->count / 4;

  uintptr_t d1 = 0, d2 = 0, d3 = 0;
  for (MapAg_Node* n = m->buckets[b]; n; n = n->next) {
    d1 |= uintptr_t(n->key1 ^ k1);
    d2 |= uintptr_t(n->key2 ^ k2);
    d3 |= uintptr_t(n->key3 ^ k3);
  }
  const Shifts candidate{LosslessShift(d1, now.s1), LosslessShift(d2, now.s2),
                         LosslessShift(d3, now.s3)};
  if (candidate == now) return;

  const size_t buckets = size_t(m->mask) + 1;
  auto* perBucket = static_cast<uint32_t*>(std::calloc(buckets, sizeof(uint32_t)));
  if (!perBucket) ArrayAllocFailed(buckets, sizeof(uint32_t));
  SetShifts(m, candidate);
  const bool fits = CandidateFits(m, b, perBucket);
  std::free(perBucket);
  if (fits)
    Redistribute(m, m->mask + 1);
  else
    SetShifts(m, now);
}

// ---- slot 0: empty <-> full ----------------------------------------------

void ClearToEmpty(MapAgRec* m, const MapAg_Ops* emptyOps) {
  std::free(m->buckets);
  m->buckets = nullptr;
  m->mask = 0;
  m->maxChain = 0;
  m->retuneWait = 0;
  m->shift1 = m->shift2 = m->shift3 = 0;
  m->ops = emptyOps;
}

void FlipEmptyStatic(MapAg m) { m->ops = &MapAg_FullStaticOps; }
void FlipEmptyDynamic(MapAg m) { m->ops = &MapAg_FullDynamicOps; }
void FlipFullStatic(MapAg m) { ClearToEmpty(m, &MapAg_EmptyStaticOps); }
void FlipFullDynamic(MapAg m) { ClearToEmpty(m, &MapAg_EmptyDynamicOps); }

// ---- insert --------------------------------------------------------------

void InsertFirst(MapAg m, MapAg_Word k1, MapAg_Word k2, MapAg_Word k3,
                 MapAg_Word value) {
  MapAg_Node* n = NewNode(k1, k2, k3, value);
  m->ops->grow(m);
  m->ops->flip(m);
  SetShifts(m, n);
  uint32_t i = NodeIndex(m, n);
  n->next = m->buckets[i];
  m->buckets[i] = n;
  m->count = 1;
}

void InsertFull(MapAg m, MapAg_Word k1, MapAg_Word k2, MapAg_Word k3,
                MapAg_Word value) {
  uint32_t i = Index(m, k1, k2, k3);
  uint32_t chain = 0;
  for (MapAg_Node* n = m->buckets[i]; n; n = n->next, ++chain) {
    if (SameKeys(n, k1, k2, k3)) {
      n->value = value;
      return;
    }
  }
  if (m->count >= m->mask) {
    m->ops->grow(m);
    i = Index(m, k1, k2, k3);
  } else if (chain >= std::min(m->maxChain, kRetuneChain) && m->retuneWait == 0) {
    Retune(m, i, k1, k2, k3);
    i = Index(m, k1, k2, k3);
  }
  MapAg_Node* n = NewNode(k1, k2, k3, value);
  n->next = m->buckets[i];
  m->buckets[i] = n;
  ++m->count;
  if (m->retuneWait) --m->retuneWait;
}

// ---- find / remove -------------------------------------------------------

MapAg_Word FindEmpty(MapAg, MapAg_Word, MapAg_Word, MapAg_Word) { return 0; }

MapAg_Word FindFull(MapAg m, MapAg_Word k1, MapAg_Word k2, MapAg_Word k3) {
  for (MapAg_Node* n = m->buckets[Index(m, k1, k2, k3)]; n; n = n->next)
    if (SameKeys(n, k1, k2, k3)) return n->value;
  return 0;
}

void RemoveEmpty(MapAg, MapAg_Word, MapAg_Word, MapAg_Word) {}
void RemoveValueEmpty(MapAg, MapAg_Word) {}

void RemoveFull(MapAg m, MapAg_Word k1, MapAg_Word k2, MapAg_Word k3) {
  for (MapAg_Node** link = &m->buckets[Index(m, k1, k2, k3)]; *link;
       link = &(*link)->next) {
    MapAg_Node* n = *link;
    if (!SameKeys(n, k1, k2, k3)) continue;
    *link = n->next;
    std::free(n);
    if (--m->count == 0) m->ops->flip(m);
    return;
  }
}

void RemoveValueFull(MapAg m, MapAg_Word value) {
  for (uint32_t b = 0; b <= m->mask; ++b) {
    for (MapAg_Node** link = &m->buckets[b]; *link;) {
      MapAg_Node* n = *link;
      if (n->value != value) {
        link = &n->next;
        continue;
      }
      *link = n->next;
      std::free(n);
      if (--m->count == 0) {
        m->ops->flip(m);
        return;
      }
    }
  }
}

// ---- slot 5: first buckets or growth -------------------------------------

void GrowFirst(MapAg m) {
  m->buckets = NewBuckets(kFirstBuckets);
  m->mask = kFirstBuckets - 1;
  m->maxChain = 1;
}

void GrowFull(MapAg m) {
  const uint32_t old = m->mask + 1;
  m->mask = 2 * old - 1;
  m->maxChain *= 2;
  Redistribute(m, old);
}

// ---- free ----------------------------------------------------------------

void FreeEmptyStatic(MapAg) {}

void FreeFullStatic(MapAg m) {
  ReleaseNodes(m);  // the nodes go too, not only the bucket array
  m->count = 0;
  m->ops->flip(m);
}

void FreeEmptyDynamic(MapAg m) { delete m; }

void FreeFullDynamic(MapAg m) {
  ReleaseNodes(m);
  std::free(m->buckets);
  delete m;
}

}  // namespace

const MapAg_Ops MapAg_EmptyStaticOps = {FlipEmptyStatic, InsertFirst, FindEmpty,
                                        RemoveEmpty,     RemoveValueEmpty,
                                        GrowFirst,       FreeEmptyStatic};
const MapAg_Ops MapAg_FullStaticOps = {FlipFullStatic, InsertFull,      FindFull,
                                       RemoveFull,     RemoveValueFull, GrowFull,
                                       FreeFullStatic};
const MapAg_Ops MapAg_EmptyDynamicOps = {FlipEmptyDynamic, InsertFirst,
                                         FindEmpty,        RemoveEmpty,
                                         RemoveValueEmpty, GrowFirst,
                                         FreeEmptyDynamic};
const MapAg_Ops MapAg_FullDynamicOps = {FlipFullDynamic, InsertFull,      FindFull,
                                        RemoveFull,      RemoveValueFull, GrowFull,
                                        FreeFullDynamic};

uint32_t MapAg_KeyShift(MapAg_Word word) {
  if (word == 0 || (word & 1)) return 0;
  int tz = std::countr_zero(uintptr_t(word));
  return tz >= kWordBits - 1 ? 0 : uint32_t(tz);
}

void MapAg_Insert(MapAg map, MapAg_Word k1, MapAg_Word k2, MapAg_Word k3,
                  MapAg_Word value) {
  map->ops->insert(map, k1, k2, k3, value);
}

MapAg_Word MapAg_Find(MapAg map, MapAg_Word k1, MapAg_Word k2, MapAg_Word k3) {
  return map->ops->find(map, k1, k2, k3);
}

void MapAg_Remove(MapAg map, MapAg_Word k1, MapAg_Word k2, MapAg_Word k3) {
  map->ops->remove(map, k1, k2, k3);
}

void MapAg_RemoveValue(MapAg map, MapAg_Word value) {
  map->ops->removeValue(map, value);
}

void MapAg_Grow(MapAg map) {
  // An empty map has no buckets to double; giving it some here would break
  // the empty state and leak them at the first insert.
  if (map->ops == &MapAg_FullStaticOps || map->ops == &MapAg_FullDynamicOps)
    map->ops->grow(map);
}

void MapAg_Free(MapAg map) {
  if (map) map->ops->free(map);
}

MapAg MapAg_New() {
  auto* m = new (std::nothrow) MapAgRec;
  if (!m) NodeAllocFailed(sizeof(MapAgRec));
  m->ops = &MapAg_EmptyDynamicOps;
  MapAg_Check(m, __FILE__, __LINE__);
  return m;
}

void MapAg_Check(MapAg map, const char* file, int line) {
  bool ok = false;
  if (map) {
    const MapAg_Ops* ops = map->ops;
    if (ops == &MapAg_FullStaticOps || ops == &MapAg_FullDynamicOps) {
      ok = map->buckets && std::has_single_bit(uint64_t(map->mask) + 1) &&
           map->count > 0;
    } else if (ops == &MapAg_EmptyStaticOps || ops == &MapAg_EmptyDynamicOps) {
      ok = !map->buckets && map->mask == 0 && map->count == 0 &&
           map->shift1 == 0 && map->shift2 == 0 && map->shift3 == 0;
    }
  }
  if (ok) return;
  std::fprintf(stderr, "Assertion failed: file \"%s\", line %d\n", file, line);
  std::abort();
}
