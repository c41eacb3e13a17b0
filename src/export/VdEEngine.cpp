#include "export/VdEEngine.h"

#include "core/Properties.h"

namespace VdExport {

using Vdei::ClassInfoBuilder;
using Vdei::TClassInfo;

namespace {

const std::vector<std::string> kAlignmentNames = {"taLeftJustify", "taRightJustify", "taCenter"};
const std::vector<std::string> kCellTypeNames = {
    "ctBlank", "ctInteger",  "ctDouble", "ctString", "ctDateTime",
    "ctDate",  "ctCurrency", "ctTime",   "ctMEMO",   "ctGraphic"};
const std::vector<std::string> kColumnKindNames = {"ckField", "ckConstant"};

// Holds a collection in its update state for one scope (nothing without one).
class CollectionUpdate {
 public:
  explicit CollectionUpdate(Vdei::TCollection* collection) : collection_(collection) {
    if (collection_ != nullptr) collection_->BeginUpdate();
  }
  ~CollectionUpdate() {
    if (collection_ != nullptr) collection_->EndUpdate();
  }
  CollectionUpdate(const CollectionUpdate&) = delete;
  CollectionUpdate& operator=(const CollectionUpdate&) = delete;

 private:
  Vdei::TCollection* collection_;
};

// How MapCellType treats the types of one family.
enum TypeCategory { tcText, tcInteger, tcFloat, tcCurrency, tcDateTime, tcMemo, tcGraphic };

TypeCategory CategoryOf(TFieldType type) {
  switch (type) {
    case Vdei::ftSmallint:
    case Vdei::ftInteger:
    case Vdei::ftWord:
    case Vdei::ftAutoInc:
      return tcInteger;
    case Vdei::ftFloat:
    case Vdei::ftBCD:
      return tcFloat;
    case Vdei::ftCurrency:
      return tcCurrency;
    case Vdei::ftDate:
    case Vdei::ftTime:
    case Vdei::ftDateTime:
      return tcDateTime;
    case Vdei::ftBlob:
    case Vdei::ftMemo:
    case Vdei::ftFmtMemo:
    case Vdei::ftParadoxOle:
    case Vdei::ftDBaseOle:
    case Vdei::ftTypedBinary:
      return tcMemo;
    case Vdei::ftGraphic:
      return tcGraphic;
    default:  // ftUnknown, ftString, ftBoolean, ftBytes, ftVarBytes, ftCursor and later
      return tcText;
  }
}

TCellType CellTypeOf(TFieldType type, TypeCategory category) {
  switch (category) {
    case tcInteger:
      return ctInteger;
    case tcFloat:
      return ctDouble;
    case tcCurrency:
      return ctCurrency;
    case tcDateTime:
      return type == Vdei::ftDate ? ctDate : type == Vdei::ftTime ? ctTime : ctDateTime;
    case tcMemo:
      return ctMEMO;
    case tcGraphic:
      return ctGraphic;
    case tcText:
      break;
  }
  return ctString;
}

// Null, unassigned, or equal to the text "0" (numbers and dates compare
// by value). An array is never zero: it does not compare with a text.
bool IsBlankValue(const Variant& value) {
  if (value.IsNullOrEmpty()) return true;
  if (value.IsArray()) return false;
  return value == Variant("0");
}

}  // namespace

// --- TVdEColumnTitle ------------------------------------------------------

const TClassInfo& TVdEColumnTitle::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TVdEColumnTitle, Vdei::TPersistent>("TVdEColumnTitle")
          .String("Caption", &TVdEColumnTitle::Caption,
                  [](TVdEColumnTitle& t, std::string v) { t.SetCaption(std::move(v)); })
          .Enum("Alignment", kAlignmentNames, &TVdEColumnTitle::Alignment,
                &TVdEColumnTitle::SetAlignment, Variant(int(Vdei::taLeftJustify)))
          .Object<TFont>("Font", &TVdEColumnTitle::Font, &TVdEColumnTitle::SetFont)
          .Integer("Color", &TVdEColumnTitle::Color, &TVdEColumnTitle::SetColor,
                   Variant(Vdei::clSilver))
          .Build();
  return info;
}

void TVdEColumnTitle::SetFont(const TFont* value) {
  if (value != nullptr) font_.Assign(*value);
}

void TVdEColumnTitle::Assign(const Vdei::TPersistent& source) {
  const auto* other = dynamic_cast<const TVdEColumnTitle*>(&source);
  if (other == nullptr) return TPersistent::Assign(source);
  caption_ = other->caption_;
  alignment_ = other->alignment_;
  font_.Assign(other->font_);
  color_ = other->color_;
}

// --- TVdEColumn -----------------------------------------------------------

const TClassInfo& TVdEColumn::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TVdEColumn, Vdei::TCollectionItem>("TVdEColumn")
          .Enum("Alignment", kAlignmentNames, &TVdEColumn::Alignment, &TVdEColumn::SetAlignment,
                Variant(int(Vdei::taLeftJustify)))
          .Integer("Color", &TVdEColumn::Color, &TVdEColumn::SetColor, Variant(Vdei::clWhite))
          .String("FieldName", &TVdEColumn::FieldName,
                  [](TVdEColumn& c, std::string v) { c.SetFieldName(std::move(v)); })
          .Object<TFont>("Font", &TVdEColumn::Font, &TVdEColumn::SetFont)
          .Integer("Width", &TVdEColumn::Width, &TVdEColumn::SetWidth, Variant(0))
          .Integer("Precision", &TVdEColumn::Precision, &TVdEColumn::SetPrecision, Variant(0))
          .Boolean("Visible", &TVdEColumn::Visible, &TVdEColumn::SetVisible)
          .Object<TVdEColumnTitle>("Title", &TVdEColumn::Title, &TVdEColumn::SetTitle)
          .Enum("DataType", kCellTypeNames, &TVdEColumn::DataType, &TVdEColumn::SetDataType,
                Variant(int(ctString)))
          .Enum("ColumnKind", kColumnKindNames, &TVdEColumn::ColumnKind, &TVdEColumn::SetColumnKind,
                Variant(int(ckField)))
          .Build();
  return info;
}

TVdEColumn::TVdEColumn(Vdei::TCollection* collection) : TCollectionItem(collection) {}

void TVdEColumn::SetFont(const TFont* value) {
  if (value != nullptr) font_.Assign(*value);
}

void TVdEColumn::SetTitle(const TVdEColumnTitle* value) {
  if (value != nullptr) title_.Assign(*value);
}

void TVdEColumn::Assign(const Vdei::TPersistent& source) {
  const auto* other = dynamic_cast<const TVdEColumn*>(&source);
  if (other == nullptr) return TCollectionItem::Assign(source);
  CollectionUpdate update(Collection());
  fieldName_ = other->fieldName_;
  font_.Assign(other->font_);
  color_ = other->color_;
  width_ = other->width_;
  precision_ = other->precision_;
  alignment_ = other->alignment_;
  visible_ = other->visible_;
  dataType_ = other->dataType_;
  columnKind_ = other->columnKind_;
  title_.Assign(other->title_);
}

// --- TVdEColumns ----------------------------------------------------------

const TClassInfo& TVdEColumns::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TVdEColumns, Vdei::TCollection>("TVdEColumns").Build();
  return info;
}

// --- TVdECustomDataEngine -------------------------------------------------

const TClassInfo& TVdECustomDataEngine::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TVdECustomDataEngine, Vdei::TComponent>("TVdECustomDataEngine").Build();
  return info;
}

void TVdECustomDataEngine::SavePosition() {
  if (OnBeforeExecute) OnBeforeExecute(this);
}

void TVdECustomDataEngine::RestorePosition() {
  if (OnAfterExecute) OnAfterExecute(this);
}

void TVdECustomDataEngine::FillColumns(TVdEColumns& columns, bool rightToLeft) {
  (void)rightToLeft;
  columns.Clear();
  if (OnFillColumns) OnFillColumns(&columns);
}

void TVdECustomDataEngine::MoveFirst() {
  if (OnFirst) OnFirst(this);
}

void TVdECustomDataEngine::MoveNext() {
  if (OnNext) OnNext(this, nextAbort_);
}

Variant TVdECustomDataEngine::GetValue(TVdEColumn& column) {
  (void)column;
  return Variant::Null();
}

void TVdECustomDataEngine::GetCellParams(int row, int column, TColor& color, TFont& font,
                                         TAlignment& alignment) {
  (void)row, (void)column, (void)color, (void)font, (void)alignment;
}

int TVdECustomDataEngine::GetRecordCount() {
  int count = 0;
  if (OnCount) OnCount(this, count);
  return count;
}

TFieldType TVdECustomDataEngine::GetColumnFieldType(const TVdEColumn& column) {
  return MapColumnFieldType(column.DataType());
}

// --- type mapping ---------------------------------------------------------

TCellType MapCellType(TFieldType fieldType, const Variant& value, bool blankIfZero) {
  const TypeCategory category = CategoryOf(fieldType);
  const bool numeric = category == tcInteger || category == tcFloat || category == tcCurrency ||
                       category == tcDateTime;
  if (numeric && blankIfZero) return IsBlankValue(value) ? ctBlank : ctString;
  return CellTypeOf(fieldType, category);
}

TFieldType MapColumnFieldType(TCellType cellType) {
  switch (cellType) {
    case ctInteger:
      return Vdei::ftInteger;
    case ctDouble:
      return Vdei::ftFloat;
    case ctDateTime:
      return Vdei::ftDateTime;
    case ctDate:
      return Vdei::ftDate;
    case ctCurrency:
      return Vdei::ftCurrency;
    case ctTime:
      return Vdei::ftTime;
    case ctMEMO:
      return Vdei::ftMemo;
    case ctGraphic:
      return Vdei::ftGraphic;
    default:  // ctBlank, ctString and anything else
      return Vdei::ftString;
  }
}

}  // namespace VdExport
