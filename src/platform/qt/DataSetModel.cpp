#include "platform/qt/DataSetModel.h"

#include <exception>

#include "dataset/DataSource.h"
#include "platform/qt/QtConvert.h"

namespace Vdei {

class DataSetModel::Link : public TDataLink {
 public:
  explicit Link(DataSetModel& model) : model_(model) {}

 protected:
  void ActiveChanged() override { model_.Reset(); }
  void DataSetChanged() override { model_.Reset(); }
  void RecordChanged(TField*) override { model_.RecordChanged(); }
  // Entering or leaving edit or insert empties or refills the cells.
  void EditingChanged() override { model_.RowsChanged(0, model_.rows_ - 1); }

 private:
  DataSetModel& model_;
};

DataSetModel::DataSetModel(QObject* parent)
    : QAbstractTableModel(parent), link_(std::make_unique<Link>(*this)) {}

DataSetModel::~DataSetModel() = default;

TDataSource* DataSetModel::DataSource() const {
  return link_->DataSource();
}

void DataSetModel::SetDataSource(TDataSource* dataSource) {
  if (dataSource == link_->DataSource()) return;
  link_->SetDataSource(dataSource);  // resets through ActiveChanged
}

void DataSetModel::Reset() {
  beginResetModel();
  TDataSet* dataSet = link_->Active() ? link_->DataSet() : nullptr;
  dataSet_ = dataSet;
  fieldsGeneration_ = dataSet ? dataSet->FieldsGeneration() : 0;
  rows_ = dataSet ? dataSet->RecordCount() : 0;
  columns_.clear();
  for (int i = 0; dataSet && i < dataSet->FieldCount(); ++i) {
    TField* field = dataSet->Fields(i);
    if (!field->Visible()) continue;
    columns_.push_back({field, ToQString(field->DisplayLabel()),
                        ToQtAlignment(field->Alignment(), Qt::AlignVCenter)});
  }
  endResetModel();
}

void DataSetModel::RowsChanged(int first, int last) {
  if (first > last || columns_.empty()) return;
  emit dataChanged(index(first, 0), index(last, static_cast<int>(columns_.size()) - 1));
}

void DataSetModel::RecordChanged() {
  TDataSet* dataSet = link_->DataSet();
  if (dataSet == nullptr || dataSet != dataSet_ || !dataSet->Active() ||
      dataSet->FieldsGeneration() != fieldsGeneration_ || dataSet->RecordCount() != rows_) {
    Reset();
    return;
  }
  const int row = dataSet->RecNo() - 1;
  if (row >= 0) RowsChanged(row, row);
}

TDataSet* DataSetModel::ReadableDataSet() const {
  TDataSet* dataSet = link_->DataSet();
  if (dataSet == nullptr || dataSet != dataSet_ || dataSet->State() != dsBrowse ||
      dataSet->FieldsGeneration() != fieldsGeneration_) {
    return nullptr;
  }
  return dataSet;
}

int DataSetModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int DataSetModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
    return {};
  }
  const Column& column = columns_[static_cast<size_t>(index.column())];
  switch (role) {
    case Qt::DisplayRole:
      return CellText(index.row(), *column.field);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(column.alignment);
    default:
      return {};
  }
}

QVariant DataSetModel::CellText(int row, const TField& field) const {
  TDataSet* dataSet = ReadableDataSet();
  if (dataSet == nullptr || row >= dataSet->RecordCount()) return {};
  try {
    TRecordPeek peek(*dataSet, row);
    return ToQString(field.DisplayText());
  } catch (const std::exception&) {
    return {};  // a field's text handler failed: the cell stays empty
  }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || section < 0) return {};
  if (orientation == Qt::Vertical) return section < rows_ ? QVariant(section + 1) : QVariant();
  if (section >= static_cast<int>(columns_.size())) return {};
  return columns_[static_cast<size_t>(section)].title;
}

}  // namespace Vdei
