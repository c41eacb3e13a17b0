#include "export/VdEEngDB.h"

#include "core/Properties.h"
#include "dataset/Fields.h"

namespace VdExport {

using Vdei::ClassInfoBuilder;
using Vdei::TClassInfo;
using Vdei::TComponent;
using Vdei::TDataSet;
using Vdei::TField;

namespace {

constexpr int kWidthWithoutField = 10;

// The export column of one dataset field.
void AddDatasetColumn(TVdEColumns& columns, const TField& field) {
  TVdEColumn* column = columns.Add();
  column->SetAlignment(field.Alignment());
  column->SetFieldName(field.FieldName());
  column->SetColor(Vdei::clWhite);
  column->SetWidth(field.DisplayWidth());
  column->SetVisible(field.Visible());
  if (const auto* floatField = dynamic_cast<const Vdei::TFloatField*>(&field)) {
    column->SetPrecision(floatField->Precision());
  }
  column->SetDataType(MapCellType(field.DataType(), Variant::Null(), false));
  TVdEColumnTitle* title = column->Title();
  title->SetCaption(field.DisplayLabel());
  title->SetAlignment(field.Alignment());
  title->Font()->AddStyle(Vdei::fsBold);
  title->SetColor(Vdei::clSilver);
}

// The export column of one grid column: the grid column's look, the
// field's width, type and precision.
void AddGridColumn(TVdEColumns& columns, const Vdei::TColumn& source) {
  const TField* field = source.Field();
  TVdEColumn* column = columns.Add();
  column->SetFieldName(source.FieldName());
  column->SetAlignment(source.Alignment());
  column->SetWidth(field != nullptr ? field->DisplayWidth() : kWidthWithoutField);
  if (const auto* floatField = dynamic_cast<const Vdei::TFloatField*>(field)) {
    column->SetPrecision(floatField->Precision());
  }
  if (field != nullptr) column->SetDataType(MapCellType(field->DataType(), Variant::Null(), false));
  column->SetColor(source.Color());
  column->SetFont(source.Font());
  column->SetVisible(source.Visible() && (field == nullptr || field->Visible()));
  const Vdei::TColumnTitle& sourceTitle = *source.Title();
  TVdEColumnTitle* title = column->Title();
  title->SetCaption(sourceTitle.Caption());
  title->SetAlignment(sourceTitle.Alignment());
  title->SetFont(sourceTitle.Font());
  title->SetColor(sourceTitle.Color());
}

}  // namespace

// --- TVdECustomDBDataEngine -----------------------------------------------

const TClassInfo& TVdECustomDBDataEngine::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TVdECustomDBDataEngine, TVdECustomDataEngine>("TVdECustomDBDataEngine")
          .Build();
  return info;
}

void TVdECustomDBDataEngine::EnableSourceControls() {
  if (TDataSet* dataset = GetDataset()) dataset->EnableControls();
}

void TVdECustomDBDataEngine::DisableSourceControls() {
  if (TDataSet* dataset = GetDataset()) dataset->DisableControls();
}

// A forward-only dataset cannot go back: its position is not kept.
void TVdECustomDBDataEngine::SavePosition() {
  TVdECustomDataEngine::SavePosition();
  const TDataSet* dataset = GetDataset();
  const bool keeps = dataset != nullptr && !dataset->IsUniDirectional();
  bookmark_ = keeps ? dataset->GetBookmark() : Vdei::TBookmark();
}

void TVdECustomDBDataEngine::RestorePosition() {
  TVdECustomDataEngine::RestorePosition();
  const Vdei::TBookmark bookmark = bookmark_;
  bookmark_ = Vdei::TBookmark();
  TDataSet* dataset = GetDataset();
  if (bookmark.IsNull() || dataset == nullptr || dataset->IsUniDirectional()) return;
  if (dataset->BookmarkValid(bookmark)) dataset->GotoBookmark(bookmark);
}

void TVdECustomDBDataEngine::FillColumns(TVdEColumns& columns, bool rightToLeft) {
  TVdECustomDataEngine::FillColumns(columns, rightToLeft);
  const TDataSet* dataset = GetDataset();
  if (dataset == nullptr) return;
  ForEachIndex(dataset->FieldCount(), rightToLeft,
               [&](int i) { AddDatasetColumn(columns, *dataset->Fields(i)); });
}

bool TVdECustomDBDataEngine::IsEof() {
  const TDataSet* dataset = GetDataset();
  return dataset == nullptr || dataset->Eof();
}

void TVdECustomDBDataEngine::MoveFirst() {
  TVdECustomDataEngine::MoveFirst();
  if (TDataSet* dataset = GetDataset()) dataset->First();
}

void TVdECustomDBDataEngine::MoveNext() {
  TVdECustomDataEngine::MoveNext();
  if (TDataSet* dataset = GetDataset()) dataset->Next();
}

Variant TVdECustomDBDataEngine::GetValue(TVdEColumn& column) {
  const TField* field = FindColumnField(column);
  return field != nullptr ? field->Value() : Variant::Null();
}

int TVdECustomDBDataEngine::GetRecordCount() {
  const TDataSet* dataset = GetDataset();
  return dataset != nullptr ? dataset->RecordCount() : 0;
}

bool TVdECustomDBDataEngine::IsColumnRequired(const TVdEColumn& column) {
  const TField* field = FindColumnField(column);
  return field != nullptr && field->Required();
}

bool TVdECustomDBDataEngine::IsColumnReadOnly(const TVdEColumn& column) {
  const TField* field = FindColumnField(column);
  return field != nullptr && field->ReadOnly();
}

TField* TVdECustomDBDataEngine::FindColumnField(const TVdEColumn& column) {
  const TDataSet* dataset = GetDataset();
  return dataset != nullptr ? LookUpField(*dataset, column) : nullptr;
}

TField* TVdECustomDBDataEngine::LookUpField(const TDataSet& dataset, const TVdEColumn& column) {
  if (&dataset != cachedDataset_ || dataset.FieldsGeneration() != cachedFieldsGeneration_) {
    fieldCache_.clear();
    cachedDataset_ = &dataset;
    cachedFieldsGeneration_ = dataset.FieldsGeneration();
  }
  const int index = column.Index();
  if (index < 0) return dataset.FindField(column.FieldName());
  if (static_cast<size_t>(index) >= fieldCache_.size()) fieldCache_.resize(index + 1);
  CachedField& cached = fieldCache_[index];
  if (!cached.Known || cached.Name != column.FieldName()) {
    cached.Name = column.FieldName();
    cached.Field = dataset.FindField(cached.Name);
    cached.Known = true;
  }
  return cached.Field;
}

// --- TVdEDatasetDataEngine ------------------------------------------------

const TClassInfo& TVdEDatasetDataEngine::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TVdEDatasetDataEngine, TVdECustomDBDataEngine>("TVdEDatasetDataEngine")
          .Object<TDataSet>("Dataset", &TVdEDatasetDataEngine::Dataset,
                            &TVdEDatasetDataEngine::SetDataset)
          .Build();
  return info;
}

void TVdEDatasetDataEngine::SetDataset(TDataSet* value) {
  if (value == dataset_) return;
  if (dataset_ != nullptr) RemoveFreeNotification(dataset_);
  dataset_ = value;
  if (dataset_ != nullptr) dataset_->FreeNotification(this);
}

void TVdEDatasetDataEngine::Notification(TComponent* component, Vdei::TOperation operation) {
  if (operation == Vdei::opRemove && component != nullptr && component == dataset_) {
    dataset_ = nullptr;
  }
  TVdECustomDBDataEngine::Notification(component, operation);
}

// --- TVdEDBGridDataEngine -------------------------------------------------

const TClassInfo& TVdEDBGridDataEngine::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TVdEDBGridDataEngine, TVdECustomDBDataEngine>("TVdEDBGridDataEngine")
          .Object<Vdei::TDBGrid>("DBGrid", &TVdEDBGridDataEngine::DBGrid,
                                 &TVdEDBGridDataEngine::SetDBGrid)
          .Build();
  return info;
}

void TVdEDBGridDataEngine::SetDBGrid(Vdei::TDBGrid* value) {
  if (value == grid_) return;
  if (grid_ != nullptr) RemoveFreeNotification(grid_);
  grid_ = value;
  if (grid_ != nullptr) grid_->FreeNotification(this);
}

TDataSet* TVdEDBGridDataEngine::GetDataset() const {
  return grid_ != nullptr ? grid_->DataSet() : nullptr;
}

void TVdEDBGridDataEngine::FillColumns(TVdEColumns& columns, bool rightToLeft) {
  columns.Clear();
  if (grid_ == nullptr) return;
  const Vdei::TDBGridColumns& gridColumns = *grid_->Columns();
  ForEachIndex(gridColumns.Count(), rightToLeft,
               [&](int i) { AddGridColumn(columns, *gridColumns.Items(i)); });
}

bool TVdEDBGridDataEngine::IsEof() {
  if (!SelectedOnly()) return TVdECustomDBDataEngine::IsEof();
  return selectedIndex_ > SelectedCount() - 1;
}

void TVdEDBGridDataEngine::MoveFirst() {
  if (!SelectedOnly()) return TVdECustomDBDataEngine::MoveFirst();
  selectedIndex_ = 0;
  if (SelectedCount() > 0) GotoSelected(0);
}

void TVdEDBGridDataEngine::MoveNext() {
  if (!SelectedOnly()) return TVdECustomDBDataEngine::MoveNext();
  ++selectedIndex_;
  if (!IsEof()) GotoSelected(selectedIndex_);
}

int TVdEDBGridDataEngine::GetRecordCount() {
  if (!SelectedOnly()) return TVdECustomDBDataEngine::GetRecordCount();
  return SelectedCount();
}

int TVdEDBGridDataEngine::SelectedCount() const {
  return grid_ != nullptr ? grid_->SelectedRows().Count() : 0;
}

void TVdEDBGridDataEngine::GotoSelected(int index) {
  if (TDataSet* dataset = GetDataset()) dataset->SetBookmark(grid_->SelectedRows()[index]);
}

void TVdEDBGridDataEngine::Notification(TComponent* component, Vdei::TOperation operation) {
  if (operation == Vdei::opRemove && component != nullptr && component == grid_) grid_ = nullptr;
  TVdECustomDBDataEngine::Notification(component, operation);
}

}  // namespace VdExport
