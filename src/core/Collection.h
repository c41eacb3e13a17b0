// TCollection: an ordered list of owned items of one class.
//
// Items know their collection and their index. A collection is created with
// the class information of its items (so run-time code can look up the
// items' published properties through ItemClass() even when it is empty)
// and a factory for new items. TOwnedCollection<T> is the typed form used
// by the libraries.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Object.h"

namespace Vdei {

class TCollection;

class TCollectionItem : public TPersistent {
 public:
  VDEI_CLASS(TCollectionItem)
  explicit TCollectionItem(TCollection* collection) : collection_(collection) {}
  TCollection* Collection() const { return collection_; }
  int Index() const { return index_; }  // position in the collection, -1 when not in one

 private:
  friend class TCollection;
  TCollection* collection_;
  int index_ = -1;
};

class TCollection : public TPersistent {
 public:
  VDEI_CLASS(TCollection)
  using ItemFactory = std::function<std::unique_ptr<TCollectionItem>(TCollection*)>;
  TCollection(TPersistent* owner, const TClassInfo& itemClass, ItemFactory factory);
  ~TCollection() override;

  TPersistent* Owner() const { return owner_; }
  const TClassInfo& ItemClass() const { return *itemClass_; }

  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem* Add();  // appends a new item made by the factory
  TCollectionItem* Insert(int index);
  TCollectionItem* Items(int index) const;  // EListError outside 0..Count-1
  void Delete(int index);                   // EListError outside 0..Count-1
  void Clear();
  void Move(int from, int to);

  // Nested; while above zero Changed() is not called for each change.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // Clears this collection and adds one item per item of source, each
  // assigned from the source's item. Another source class falls back to
  // TPersistent::Assign.
  void Assign(const TPersistent& source) override;

 protected:
  // Called after every change outside BeginUpdate / EndUpdate.
  virtual void Changed() {}

 private:
  // Renumbers the items from position first on after a change.
  void Renumber(int first);
  TPersistent* owner_;
  const TClassInfo* itemClass_;
  ItemFactory factory_;
  std::vector<std::unique_ptr<TCollectionItem>> items_;
  int updateCount_ = 0;
};

template <class T>
class TOwnedCollection : public TCollection {
 public:
  explicit TOwnedCollection(TPersistent* owner)
      : TCollection(owner, T::StaticClassInfo(),
                    [](TCollection* c) { return std::make_unique<T>(c); }) {}
  T* Add() { return static_cast<T*>(TCollection::Add()); }
  T* Items(int index) const { return static_cast<T*>(TCollection::Items(index)); }
  T* operator[](int index) const { return Items(index); }
};

}  // namespace Vdei
