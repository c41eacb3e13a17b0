// RecordOrder: which record ids of a store are live, in dataset order.
// Internal to the dataset layer (RecordStore.h).
//
// Ids are handed out in ascending order and records are only added at the
// end, so dataset order is ascending id order: the order is a bit per id
// ever given out since the last Reset (set while the record lives).
//
//   Add, Remove, Contains, Count                O(1) (Remove amortised)
//   After, Before (the neighbours of an id)     O(1) amortised over a walk
//   First, Last                                 O(1) amortised
//   At (id at a position), PositionOf (rank)    O(log n); O(1) while no
//                                               record was ever removed
//
// Positions come from counts per 64-id word kept in a Fenwick tree. Adds
// and removals only note the change; the next positional question brings
// the tree up to date, by applying the noted changes one by one or by
// rebuilding it, whichever is cheaper. A run of removals with no
// positional question between them (deleting by key) so costs O(1) each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace Vdei {

class RecordOrder {
 public:
  static constexpr uint32_t kNone = UINT32_MAX;

  // Empties the order; the next id added is firstId.
  void Reset(uint32_t firstId);
  // The id the next Add gives.
  uint32_t NextId() const { return base_ + static_cast<uint32_t>(span_); }
  size_t Count() const { return count_; }
  bool Contains(uint32_t id) const;

  // Adds the next id at the end and returns it.
  uint32_t Add();
  // Precondition: Contains(id).
  void Remove(uint32_t id);

  uint32_t First() const;
  uint32_t Last() const;
  // The live neighbours of an id (live or not), kNone when there is none.
  uint32_t After(uint32_t id) const;
  uint32_t Before(uint32_t id) const;

  // Precondition: position < Count().
  uint32_t At(size_t position) const;
  // Precondition: Contains(id).
  size_t PositionOf(uint32_t id) const;

  // Bytes held for the order (for memory figures).
  size_t BytesReserved() const;

 private:
  bool Dense() const { return count_ == span_; }
  void NoteChange(size_t word, int delta);
  void SyncTree() const;
  void RebuildTree() const;
  void AddToTree(size_t word, int delta) const;
  size_t CountBefore(size_t word) const;  // live ids in words [0, word)

  uint32_t base_ = 0;
  size_t span_ = 0;   // ids given out since Reset
  size_t count_ = 0;  // live ids
  std::vector<uint64_t> bits_;
  // Hints: no live id in words before firstWord_ or after lastWord_.
  mutable size_t firstWord_ = 0;
  mutable size_t lastWord_ = 0;
  // Fenwick tree over the first built_ words (1-based), and the changes
  // to those words not yet applied to it.
  mutable std::vector<uint32_t> tree_;
  mutable size_t built_ = 0;
  mutable std::vector<std::pair<uint32_t, int32_t>> pending_;
};

}  // namespace Vdei
