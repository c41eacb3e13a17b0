// Field definitions: the structure a dataset's fields are made from.
//
// TClientDataSet::CreateDataSet builds its table from its FieldDefs; a
// TQuery fills its FieldDefs from the result of its statement when it
// opens. Names are unique without regard to case: Add of a name already
// present raises EDatabaseError "Duplicate field name '%s'".
#pragma once

#include <string>
#include <string_view>

#include "core/Collection.h"
#include "dataset/FieldType.h"

namespace Vdei {

class TFieldDef : public TCollectionItem {
 public:
  VDEI_CLASS(TFieldDef)
  explicit TFieldDef(TCollection* collection) : TCollectionItem(collection) {}

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  TFieldType DataType() const { return dataType_; }
  void SetDataType(TFieldType type) { dataType_ = type; }
  int Size() const { return size_; }
  void SetSize(int size) { size_ = size; }
  bool Required() const { return required_; }
  void SetRequired(bool required) { required_ = required; }

  void Assign(const TPersistent& source) override;  // from another TFieldDef

 private:
  std::string name_;
  TFieldType dataType_ = ftUnknown;
  int size_ = 0;
  bool required_ = false;
};

class TFieldDefs : public TOwnedCollection<TFieldDef> {
 public:
  VDEI_CLASS(TFieldDefs)
  explicit TFieldDefs(TPersistent* owner) : TOwnedCollection<TFieldDef>(owner) {}

  TFieldDef* Add(std::string name, TFieldType type, int size = 0, bool required = false);
  // Index of the definition of that name (without regard to case), or -1.
  int IndexOf(std::string_view name) const;
  TFieldDef* Find(std::string_view name) const;  // nullptr when absent
};

}  // namespace Vdei
