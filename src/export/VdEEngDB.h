// Data engines over a dataset and over a standard data grid.
//
// TVdECustomDBDataEngine walks the dataset that GetDataset names: it
// remembers the current record in SavePosition and returns to it in
// RestorePosition, moves with First / Next, hands out field values and
// fills the column list with one column per field. Without a dataset it
// delivers nothing (IsEof true, no columns, count 0, Null values).
//
// TVdEDatasetDataEngine takes its dataset from its Dataset property;
// TVdEDBGridDataEngine from its grid's data source, fills one column per
// grid column and, with SelectedOnly, walks the grid's selected rows in the
// order of the grid's list instead of the whole dataset.
//
// Dataset and DBGrid are references, not owned: when the referenced
// component is destroyed the reference becomes none.
#pragma once

#include "dataset/DBGrid.h"
#include "dataset/DataSet.h"
#include <string>
#include <vector>

#include "export/VdEEngine.h"

namespace VdExport {

// Calls visit(i) for i from 0 to count - 1, or from count - 1 down to 0
// when reversed (the right-to-left order of the column fills).
template <class Visit>
void ForEachIndex(int count, bool reversed, Visit visit) {
  for (int n = 0; n < count; ++n) visit(reversed ? count - 1 - n : n);
}

class TVdECustomDBDataEngine : public TVdECustomDataEngine {
 public:
  VDEI_CLASS(TVdECustomDBDataEngine)
  using TVdECustomDataEngine::TVdECustomDataEngine;

  // The dataset the engine walks; none here.
  virtual Vdei::TDataSet* GetDataset() const { return nullptr; }
  // The record that was current at SavePosition; null outside a run.
  const Vdei::TBookmark& Bookmark() const { return bookmark_; }

  void EnableSourceControls() override;
  void DisableSourceControls() override;
  void SavePosition() override;
  // Back to Bookmark, which is then freed. A bookmark whose record is gone
  // (or a dataset that went away during the run) leaves the cursor where
  // it is.
  void RestorePosition() override;
  // Empties columns and raises OnFillColumns (whose columns stay in front),
  // then adds one column per dataset field, last field first with
  // rightToLeft.
  void FillColumns(TVdEColumns& columns, bool rightToLeft) override;
  bool IsEof() override;
  void MoveFirst() override;
  void MoveNext() override;
  // The value of the column's field, Null without one.
  Variant GetValue(TVdEColumn& column) override;
  int GetRecordCount() override;
  bool IsColumnRequired(const TVdEColumn& column) override;
  bool IsColumnReadOnly(const TVdEColumn& column) override;
  // The dataset's field named by the column's FieldName (without regard to
  // case); none without dataset or match.
  // Lookups are remembered per column while the dataset's field list stays
  // the same (the record loop asks once per cell).
  Vdei::TField* FindColumnField(const TVdEColumn& column) override;

 private:
  struct CachedField {
    bool Known = false;
    std::string Name;
    Vdei::TField* Field = nullptr;
  };
  Vdei::TField* LookUpField(const Vdei::TDataSet& dataset, const TVdEColumn& column);

  Vdei::TBookmark bookmark_;
  std::vector<CachedField> fieldCache_;  // by column index
  const Vdei::TDataSet* cachedDataset_ = nullptr;
  uint32_t cachedFieldsGeneration_ = 0;
};

class TVdEDatasetDataEngine : public TVdECustomDBDataEngine {
 public:
  VDEI_CLASS(TVdEDatasetDataEngine)
  using TVdECustomDBDataEngine::TVdECustomDBDataEngine;

  Vdei::TDataSet* Dataset() const { return dataset_; }
  void SetDataset(Vdei::TDataSet* value);
  Vdei::TDataSet* GetDataset() const override { return dataset_; }

 protected:
  void Notification(Vdei::TComponent* component, Vdei::TOperation operation) override;

 private:
  Vdei::TDataSet* dataset_ = nullptr;
};

class TVdEDBGridDataEngine : public TVdECustomDBDataEngine {
 public:
  VDEI_CLASS(TVdEDBGridDataEngine)
  using TVdECustomDBDataEngine::TVdECustomDBDataEngine;

  Vdei::TDBGrid* DBGrid() const { return grid_; }
  void SetDBGrid(Vdei::TDBGrid* value);
  // The grid's data source's dataset; none when any of them is missing.
  Vdei::TDataSet* GetDataset() const override;
  // Position in the grid's list of selected rows (SelectedOnly).
  int SelectedIndex() const { return selectedIndex_; }

  bool IsGridBound() const override { return true; }
  // One column per grid column, reversed with rightToLeft; no
  // OnFillColumns. A column is visible when both the grid column and its
  // field (if any) are.
  void FillColumns(TVdEColumns& columns, bool rightToLeft) override;
  bool IsEof() override;
  void MoveFirst() override;
  void MoveNext() override;
  int GetRecordCount() override;

 protected:
  void Notification(Vdei::TComponent* component, Vdei::TOperation operation) override;

 private:
  int SelectedCount() const;
  void GotoSelected(int index);

  Vdei::TDBGrid* grid_ = nullptr;
  int selectedIndex_ = 0;
};

}  // namespace VdExport
