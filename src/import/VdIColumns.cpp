#include "import/VdIColumns.h"

#include "core/Properties.h"
#include "dataset/DataSet.h"
#include "dataset/Fields.h"

namespace VdImport {

using Vdei::Variant;

const Vdei::TClassInfo& TVdIColumn::StaticClassInfo() {
  using C = TVdIColumn;
  static const Vdei::TClassInfo info =
      Vdei::ClassInfoBuilder<C, Vdei::TCollectionItem>("TVdIColumn")
          .Enum("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &C::Alignment,
                &C::SetAlignment, Variant(int(Vdei::taLeftJustify)))
          .String(
              "FieldName", &C::FieldName, [](C& c, std::string v) { c.SetFieldName(std::move(v)); },
              Variant(""))
          .String(
              "Caption", &C::Caption, [](C& c, std::string v) { c.SetCaption(std::move(v)); },
              Variant(""))
          .Enum("DataType",
                {"itString", "itInteger", "itFloat", "itDateTime", "itDate", "itTime", "itBoolean",
                 "itMemo", "itBlob"},
                &C::DataType, &C::SetDataType, Variant(int(itString)))
          .Integer("Size", &C::Size, &C::SetSize, Variant(0))
          .Integer("Precision", &C::Precision, &C::SetPrecision, Variant(0))
          .Build();
  return info;
}

const Vdei::TClassInfo& TVdIColumns::StaticClassInfo() {
  static const Vdei::TClassInfo info =
      Vdei::ClassInfoBuilder<TVdIColumns, Vdei::TCollection>("TVdIColumns").Build();
  return info;
}

void TVdIColumn::Assign(const Vdei::TPersistent& source) {
  const auto* other = dynamic_cast<const TVdIColumn*>(&source);
  if (other == nullptr) return TCollectionItem::Assign(source);
  Vdei::TCollection* owner = Collection();
  if (owner != nullptr) owner->BeginUpdate();
  struct EndUpdate {
    Vdei::TCollection* collection;
    ~EndUpdate() {
      if (collection != nullptr) collection->EndUpdate();
    }
  } endUpdate{owner};
  alignment_ = other->alignment_;
  fieldName_ = other->fieldName_;
  caption_ = other->caption_;
  dataType_ = other->dataType_;
  size_ = other->size_;
  precision_ = other->precision_;
}

TVdIDataType FieldTypeToDataType(Vdei::TFieldType type) {
  switch (type) {
    case Vdei::ftSmallint:
    case Vdei::ftInteger:
    case Vdei::ftWord:
    case Vdei::ftAutoInc:
      return itInteger;
    case Vdei::ftBoolean:
      return itBoolean;
    case Vdei::ftFloat:
    case Vdei::ftCurrency:
    case Vdei::ftBCD:
      return itFloat;
    case Vdei::ftDate:
      return itDate;
    case Vdei::ftTime:
      return itTime;
    case Vdei::ftDateTime:
      return itDateTime;
    default:
      return itString;
  }
}

void AddDataSetColumns(const Vdei::TDataSet& dataSet, TVdIColumns& columns) {
  for (int i = 0; i < dataSet.FieldCount(); ++i) {
    const Vdei::TField& field = *dataSet.Fields(i);
    TVdIColumn& column = *columns.Add();
    column.SetFieldName(field.FieldName());
    column.SetCaption(field.DisplayLabel());
    column.SetDataType(FieldTypeToDataType(field.DataType()));
    column.SetAlignment(field.Alignment());
    column.SetSize(field.Size());
    if (const auto* floatField = dynamic_cast<const Vdei::TFloatField*>(&field)) {
      column.SetPrecision(floatField->Precision());
    }
  }
}

}  // namespace VdImport
