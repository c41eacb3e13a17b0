// Data engines over grids known only by their published properties.
//
// The export needs no compile-time knowledge of these grid classes: it
// recognises them by name and kind of their published properties
// (IsSupportedGrid) and reads everything through run-time class
// information.
//
//   Selected kind: a class-typed "DataSource" and a string list "Selected"
//     whose entries describe the columns as
//     "FieldName TAB DisplayWidth TAB DisplayLabel"
//     (TVdEwwDBGridDataEngine).
//   Fields kind: a class-typed "DataSource" and a collection "Fields"
//     whose items publish "FieldName" and the column's look
//     (TVdEDBAdvStringGridDataEngine).
//
// Both engines walk the dataset of the grid's data source like the dataset
// engine does. Their DBGrid setters accept none or a grid of their own
// kind; anything else raises Vdei::Exception "Property %s is not
// specified." with the control's Name and keeps the previous grid. A grid
// that is destroyed clears the reference.
#pragma once

#include <string_view>

#include "export/VdEEngDB.h"

namespace VdExport {

// What the grid properties of the export accept. Any component can be
// offered; IsSupportedGrid decides from its published properties whether
// it is a grid the export can read.
using TCustomControl = Vdei::TComponent;

// Whether control is a grid the export can read, and of which kind:
//   1. not a component: rejected;
//   2. no class-typed "DataSource": rejected;
//   3. a class-typed "Columns": read (an error while reading rejects); a
//      collection sets both flags false (a standard data grid) and accepts
//      exactly when its item class publishes "FieldName"; anything else
//      rejects;
//   4. else a class-typed "Selected": accepted, Selected kind;
//   5. else a class-typed "Fields": accepted, Fields kind;
//   6. else rejected.
// Rejections other than that of a Columns collection leave both flags as
// they were.
bool IsSupportedGrid(const Vdei::TObject* control, bool& selectedKind, bool& fieldsKind);

// The part the two engines share: the grid reference, its validation and
// the dataset of its data source.
class TVdEPublishedGridDataEngine : public TVdECustomDBDataEngine {
 public:
  VDEI_CLASS(TVdEPublishedGridDataEngine)

  TCustomControl* DBGrid() const { return grid_; }
  void SetDBGrid(TCustomControl* value);
  // The dataset of the data source in the grid's "DataSource"; none when
  // the grid, the data source or its dataset is missing.
  Vdei::TDataSet* GetDataset() const override;

 protected:
  enum TGridKind { gkSelected, gkFields };
  TVdEPublishedGridDataEngine(Vdei::TComponent* owner, TGridKind kind)
      : TVdECustomDBDataEngine(owner), kind_(kind) {}

  // The object in the grid's class-typed property of that name; none
  // without a grid, without a class-typed "DataSource" or without the
  // property.
  Vdei::TObject* GridObject(std::string_view name) const;
  void Notification(Vdei::TComponent* component, Vdei::TOperation operation) override;

 private:
  TGridKind kind_;
  TCustomControl* grid_ = nullptr;
};

class TVdEwwDBGridDataEngine : public TVdEPublishedGridDataEngine {
 public:
  VDEI_CLASS(TVdEwwDBGridDataEngine)
  explicit TVdEwwDBGridDataEngine(Vdei::TComponent* owner)
      : TVdEPublishedGridDataEngine(owner, gkSelected) {}

  bool ExportFooters() const { return exportFooters_; }
  void SetExportFooters(bool value) { exportFooters_ = value; }
  // Records moved over since MoveFirst.
  int RecordCounter() const { return recordCounter_; }

  bool IsGridBound() const override { return true; }
  // One column per entry of the grid's Selected list, reversed with
  // rightToLeft; no OnFillColumns. An empty list is first filled from the
  // dataset's visible fields (the grid's own list changes).
  void FillColumns(TVdEColumns& columns, bool rightToLeft) override;
  // With ExportFooters the last record is a footer row: false for it.
  bool IsFieldRow(int row) override;
  void MoveFirst() override;
  void MoveNext() override;

 private:
  bool exportFooters_ = false;
  int recordCounter_ = 0;
};

class TVdEDBAdvStringGridDataEngine : public TVdEPublishedGridDataEngine {
 public:
  VDEI_CLASS(TVdEDBAdvStringGridDataEngine)
  explicit TVdEDBAdvStringGridDataEngine(Vdei::TComponent* owner)
      : TVdEPublishedGridDataEngine(owner, gkFields) {}

  // One column per item of the grid's "Columns" (or, without one,
  // "Fields") collection, reversed with rightToLeft; no OnFillColumns.
  // Without items the columns are filled as the dataset engine does.
  void FillColumns(TVdEColumns& columns, bool rightToLeft) override;
};

}  // namespace VdExport
