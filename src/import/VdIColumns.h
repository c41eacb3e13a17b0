// The columns a source offers to an import (TVdIColumn, TVdIColumns) and
// the mapping of dataset field types to column types.
//
// A reader fills the owning component's Columns from its source; the base
// component fills them from the target dataset's fields. An application
// reads them in OnCreateStructure to build the target's structure.
// Assign between columns copies all six properties while the collection's
// updates are held, released also when the copy fails.
#pragma once

#include <string>

#include "core/Collection.h"
#include "core/Graphics.h"
#include "dataset/FieldType.h"
#include "import/VdIDataType.h"

namespace Vdei {
class TDataSet;
}

namespace VdImport {

class TVdIColumn : public Vdei::TCollectionItem {
 public:
  VDEI_CLASS(TVdIColumn)
  explicit TVdIColumn(Vdei::TCollection* collection) : TCollectionItem(collection) {}

  Vdei::TAlignment Alignment() const { return alignment_; }
  void SetAlignment(Vdei::TAlignment value) { alignment_ = value; }
  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(std::string value) { fieldName_ = std::move(value); }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string value) { caption_ = std::move(value); }
  TVdIDataType DataType() const { return dataType_; }
  void SetDataType(TVdIDataType value) { dataType_ = value; }
  int Size() const { return size_; }
  void SetSize(int value) { size_ = value; }
  int Precision() const { return precision_; }
  void SetPrecision(int value) { precision_ = value; }

  void Assign(const Vdei::TPersistent& source) override;

 private:
  Vdei::TAlignment alignment_ = Vdei::taLeftJustify;
  std::string fieldName_;
  std::string caption_;
  TVdIDataType dataType_ = itString;
  int size_ = 0;
  int precision_ = 0;
};

// The columns of one import component, which it reports as its owner.
class TVdIColumns : public Vdei::TOwnedCollection<TVdIColumn> {
 public:
  VDEI_CLASS(TVdIColumns)
  explicit TVdIColumns(Vdei::TPersistent* owner) : TOwnedCollection(owner) {}
};

// itInteger for the integer types, itBoolean, itFloat for float, currency
// and BCD, itDate, itTime, itDateTime, and itString for every other type.
TVdIDataType FieldTypeToDataType(Vdei::TFieldType type);

// One column per field of dataSet, in field order: name, display label as
// caption, type, alignment, size, and the precision of float fields.
void AddDataSetColumns(const Vdei::TDataSet& dataSet, TVdIColumns& columns);

}  // namespace VdImport
