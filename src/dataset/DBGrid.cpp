#include "dataset/DBGrid.h"

#include <algorithm>

#include "core/Exception.h"
#include "core/Properties.h"

namespace Vdei {

namespace {

const std::vector<std::string> kAlignmentNames = {"taLeftJustify", "taRightJustify", "taCenter"};

}  // namespace

// --- TColumnTitle -------------------------------------------------------------

const TClassInfo& TColumnTitle::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TColumnTitle, TPersistent>("TColumnTitle")
          .String("Caption", &TColumnTitle::Caption,
                  [](TColumnTitle& t, std::string v) { t.SetCaption(std::move(v)); })
          .Enum("Alignment", kAlignmentNames, &TColumnTitle::Alignment,
                &TColumnTitle::SetAlignment, Variant(int(taLeftJustify)))
          .Object<TFont>("Font", &TColumnTitle::Font, &TColumnTitle::SetFont)
          .Integer("Color", &TColumnTitle::Color, &TColumnTitle::SetColor, Variant(clBtnFace))
          .Build();
  return info;
}

std::string TColumnTitle::Caption() const {
  if (captionSet_) return caption_;
  const TField* field = column_ ? column_->Field() : nullptr;
  if (field != nullptr) return field->DisplayLabel();
  return column_ ? column_->FieldName() : std::string();
}

void TColumnTitle::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  captionSet_ = true;
}

void TColumnTitle::SetFont(const TFont* font) {
  if (font != nullptr) font_.Assign(*font);
}

void TColumnTitle::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TColumnTitle*>(&source);
  if (other == nullptr) return TPersistent::Assign(source);
  caption_ = other->caption_;
  captionSet_ = other->captionSet_;
  alignment_ = other->alignment_;
  font_.Assign(other->font_);
  color_ = other->color_;
}

// --- TColumn ------------------------------------------------------------------

const TClassInfo& TColumn::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TColumn, TCollectionItem>("TColumn")
          .String("FieldName", &TColumn::FieldName,
                  [](TColumn& c, std::string v) { c.SetFieldName(std::move(v)); })
          .Enum("Alignment", kAlignmentNames, &TColumn::Alignment, &TColumn::SetAlignment)
          .Integer("Color", &TColumn::Color, &TColumn::SetColor, Variant(clWindow))
          .Object<TFont>("Font", &TColumn::Font, &TColumn::SetFont)
          .Boolean("Visible", &TColumn::Visible, &TColumn::SetVisible, Variant(true))
          .Object<TColumnTitle>("Title", &TColumn::Title, &TColumn::SetTitle)
          .Build();
  return info;
}

TColumn::TColumn(TCollection* collection)
    : TCollectionItem(collection), title_(std::make_unique<TColumnTitle>(this)) {}

TDBGrid* TColumn::Grid() const {
  const auto* columns = dynamic_cast<const TDBGridColumns*>(Collection());
  return columns ? columns->Grid() : nullptr;
}

TField* TColumn::Field() const {
  const TDBGrid* grid = Grid();
  TDataSet* dataSet = grid ? grid->DataSet() : nullptr;
  return dataSet != nullptr && !fieldName_.empty() ? dataSet->FindField(fieldName_) : nullptr;
}

TAlignment TColumn::Alignment() const {
  if (alignmentSet_) return alignment_;
  const TField* field = Field();
  return field ? field->Alignment() : taLeftJustify;
}

void TColumn::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  alignmentSet_ = true;
}

void TColumn::SetFont(const TFont* font) {
  if (font != nullptr) font_.Assign(*font);
}

void TColumn::SetTitle(const TColumnTitle* title) {
  if (title != nullptr) title_->Assign(*title);
}

void TColumn::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TColumn*>(&source);
  if (other == nullptr) return TCollectionItem::Assign(source);
  fieldName_ = other->fieldName_;
  alignment_ = other->alignment_;
  alignmentSet_ = other->alignmentSet_;
  color_ = other->color_;
  font_.Assign(other->font_);
  visible_ = other->visible_;
  title_->Assign(*other->title_);
}

// --- TDBGridColumns -------------------------------------------------------------

const TClassInfo& TDBGridColumns::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TDBGridColumns, TCollection>("TDBGridColumns").Build();
  return info;
}

TDBGridColumns::TDBGridColumns(TDBGrid* grid) : TOwnedCollection<TColumn>(grid), grid_(grid) {}

TColumn* TDBGridColumns::Add() {
  if (state_ == csDefault) {
    Clear();
    state_ = csCustomized;
  }
  return TOwnedCollection<TColumn>::Add();
}

void TDBGridColumns::SetState(TDBGridColumnsState state) {
  state_ = state;
  RebuildDefault();
}

void TDBGridColumns::RebuildDefault() {
  if (state_ != csDefault) return;
  Clear();
  TDataSet* dataSet = grid_->DataSet();
  if (dataSet == nullptr || !dataSet->Active()) return;
  for (int i = 0; i < dataSet->FieldCount(); ++i) {
    const TField* field = dataSet->Fields(i);
    auto* column = static_cast<TColumn*>(TCollection::Add());
    column->SetFieldName(field->FieldName());
    column->SetVisible(field->Visible());
  }
}

// --- TBookmarkList --------------------------------------------------------------

const TBookmarkStr& TBookmarkList::Items(int index) const {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  return items_[index];
}

int TBookmarkList::IndexOf(const TBookmarkStr& bookmark) const {
  auto found = std::find(items_.begin(), items_.end(), bookmark);
  return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

bool TBookmarkList::CurrentRowSelected() const {
  const TDataSet* dataSet = grid_->DataSet();
  if (dataSet == nullptr || !dataSet->Active()) return false;
  const TBookmarkStr current = dataSet->Bookmark();
  return !current.empty() && IndexOf(current) >= 0;
}

void TBookmarkList::SetCurrentRowSelected(bool selected) {
  const TDataSet* dataSet = grid_->DataSet();
  if (dataSet == nullptr || !dataSet->Active()) return;
  TBookmarkStr current = dataSet->Bookmark();
  if (current.empty()) return;
  const int index = IndexOf(current);
  if (selected && index < 0) items_.push_back(std::move(current));
  if (!selected && index >= 0) Delete(index);
}

void TBookmarkList::Add(TBookmarkStr bookmark) {
  if (IndexOf(bookmark) < 0) items_.push_back(std::move(bookmark));
}

void TBookmarkList::Delete(int index) {
  Items(index);
  items_.erase(items_.begin() + index);
}

// --- TDBGrid --------------------------------------------------------------------

// Keeps the default columns up to date and tells OnDataChange.
class TDBGrid::GridDataLink : public TDataLink {
 public:
  explicit GridDataLink(TDBGrid* grid) : grid_(grid) {}

 protected:
  void ActiveChanged() override {
    grid_->selectedRows_.Clear();
    if (grid_->columns_) grid_->columns_->RebuildDefault();
    Changed();
  }
  void DataSetChanged() override { Changed(); }
  void DataSetScrolled() override { Changed(); }
  void RecordChanged(TField*) override { Changed(); }

 private:
  void Changed() {
    if (grid_->OnDataChange) grid_->OnDataChange(grid_);
  }
  TDBGrid* grid_;
};

const TClassInfo& TDBGrid::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TDBGrid, TComponent>("TDBGrid")
          .Object<TDataSource>("DataSource", &TDBGrid::DataSource, &TDBGrid::SetDataSource)
          .Object<TDBGridColumns>("Columns", &TDBGrid::Columns, &TDBGrid::SetColumns)
          .Integer("Color", &TDBGrid::Color, &TDBGrid::SetColor, Variant(clWindow))
          .Object<TFont>("Font", &TDBGrid::Font, &TDBGrid::SetFont)
          .Object<TFont>("TitleFont", &TDBGrid::TitleFont, &TDBGrid::SetTitleFont)
          .Build();
  return info;
}

TDBGrid::TDBGrid(TComponent* owner)
    : TComponent(owner),
      dataLink_(std::make_unique<GridDataLink>(this)),
      columns_(std::make_unique<TDBGridColumns>(this)),
      selectedRows_(this) {}

TDBGrid::~TDBGrid() { dataLink_.reset(); }

TDataSource* TDBGrid::DataSource() const { return dataLink_->DataSource(); }

TDataSet* TDBGrid::DataSet() const { return dataLink_->DataSet(); }

void TDBGrid::SetDataSource(TDataSource* dataSource) {
  if (DataSource() != nullptr) DataSource()->RemoveFreeNotification(this);
  dataLink_->SetDataSource(dataSource);
  if (dataSource != nullptr) dataSource->FreeNotification(this);
}

void TDBGrid::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component != nullptr && component == DataSource())
    dataLink_->SetDataSource(nullptr);
  TComponent::Notification(component, operation);
}

void TDBGrid::SetColumns(const TDBGridColumns* columns) {
  if (columns == nullptr) return;
  columns_->Assign(*columns);
  columns_->SetState(columns->State());
}

void TDBGrid::SetFont(const TFont* font) {
  if (font != nullptr) font_.Assign(*font);
}

void TDBGrid::SetTitleFont(const TFont* font) {
  if (font != nullptr) titleFont_.Assign(*font);
}

}  // namespace Vdei
