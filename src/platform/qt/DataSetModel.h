// DataSetModel: the table model of a data grid, over the dataset of a
// TDataSource. It needs no widgets.
//
// Rows are the dataset's records in order, columns its visible fields;
// the horizontal header shows each field's DisplayLabel and the vertical
// one the record number from 1. A cell shows the field's DisplayText,
// converted from the active code page, aligned as the field's Alignment
// says (numbers to the right); records are read in place (TRecordPeek),
// so the dataset's cursor never moves for the grid.
//
// The model follows the dataset through a data link: opening, closing,
// records added or removed and field changes reset it or tell the views
// of the changed row. While the dataset's controls are disabled it hears
// nothing and answers from its last reset: the same rows, columns and
// titles; a cell is read only when the fields are still those of the last
// reset, the dataset is browsing and the record still exists, and is empty
// otherwise, so a repaint in the middle of an import never reads a record
// that is going. The EnableControls that ends the disabling resets it.
// While a record is being edited or inserted, cells are empty.
//
// The data source may be destroyed before the model (the model then shows
// nothing after its next reset, and empty cells until then).
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace Vdei {

class TDataSet;
class TDataSource;
class TField;

class DataSetModel : public QAbstractTableModel {
 public:
  explicit DataSetModel(QObject* parent = nullptr);
  ~DataSetModel() override;

  TDataSource* DataSource() const;
  // Follows another data source (nullptr: none) and resets.
  void SetDataSource(TDataSource* dataSource);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  class Link;
  struct Column {
    TField* field;  // valid while the dataset has fieldsGeneration_
    QString title;
    Qt::Alignment alignment;
  };

  // Takes the dataset's rows and fields as they are now.
  void Reset();
  // Tells the views that the cells of rows first..last may read otherwise.
  void RowsChanged(int first, int last);
  void RecordChanged();
  // The dataset, when its fields are those of the last reset and it is
  // browsing; nullptr otherwise.
  TDataSet* ReadableDataSet() const;
  QVariant CellText(int row, const TField& field) const;

  std::unique_ptr<Link> link_;
  const TDataSet* dataSet_ = nullptr;  // of the last reset; compared, never read
  uint32_t fieldsGeneration_ = 0;
  int rows_ = 0;
  std::vector<Column> columns_;
};

}  // namespace Vdei
