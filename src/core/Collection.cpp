#include "core/Collection.h"

#include <algorithm>

#include "core/Exception.h"
#include "core/Properties.h"

namespace Vdei {

const TClassInfo& TCollectionItem::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TCollectionItem, TPersistent>("TCollectionItem").Build();
  return info;
}

const TClassInfo& TCollection::StaticClassInfo() {
  static const TClassInfo info = ClassInfoBuilder<TCollection, TPersistent>("TCollection").Build();
  return info;
}

TCollection::TCollection(TPersistent* owner, const TClassInfo& itemClass, ItemFactory factory)
    : owner_(owner), itemClass_(&itemClass), factory_(std::move(factory)) {}

TCollection::~TCollection() = default;

TCollectionItem* TCollection::Add() {
  return Insert(Count());
}

TCollectionItem* TCollection::Insert(int index) {
  if (index < 0 || index > Count()) ThrowListIndexError(index);
  std::unique_ptr<TCollectionItem> item = factory_(this);
  item->collection_ = this;
  TCollectionItem* result = item.get();
  items_.insert(items_.begin() + index, std::move(item));
  Renumber(index);
  if (updateCount_ == 0) Changed();
  return result;
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  return items_[static_cast<size_t>(index)].get();
}

void TCollection::Delete(int index) {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  items_.erase(items_.begin() + index);
  Renumber(index);
  if (updateCount_ == 0) Changed();
}

void TCollection::Clear() {
  if (items_.empty()) return;
  items_.clear();
  if (updateCount_ == 0) Changed();
}

void TCollection::Move(int from, int to) {
  if (from < 0 || from >= Count()) ThrowListIndexError(from);
  if (to < 0 || to >= Count()) ThrowListIndexError(to);
  if (from == to) return;
  auto first = items_.begin();
  if (from < to) {
    std::rotate(first + from, first + from + 1, first + to + 1);
  } else {
    std::rotate(first + to, first + from, first + from + 1);
  }
  Renumber(std::min(from, to));
  if (updateCount_ == 0) Changed();
}

void TCollection::Renumber(int first) {
  for (size_t i = static_cast<size_t>(first); i < items_.size(); ++i)
    items_[i]->index_ = static_cast<int>(i);
}

void TCollection::BeginUpdate() {
  ++updateCount_;
}

void TCollection::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0) Changed();
}

void TCollection::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TCollection*>(&source);
  if (other == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  BeginUpdate();
  try {
    Clear();
    for (const auto& item : other->items_) Add()->Assign(*item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

}  // namespace Vdei
