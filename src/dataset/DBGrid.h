// TDBGrid: the non-visual model of a data-aware grid: the data source it
// shows, its columns and its selected rows. The export's grid engines read
// it, partly through its published properties; a window draws it.
//
// Published, for run-time lookup by name:
//   TDBGrid:     "DataSource" (TDataSource), "Columns" (TDBGridColumns, a
//                TCollection of TColumn), "Color", "Font", "TitleFont"
//   TColumn:     "FieldName", "Alignment", "Color", "Font", "Visible",
//                "Title" (TColumnTitle)
//   TColumnTitle: "Caption", "Alignment", "Font", "Color"
//
// Columns: while no column was added by hand (State csDefault) the grid
// keeps one column per field of its dataset, rebuilt whenever the dataset
// opens, closes or its fields change. Adding a column by hand makes the
// columns customised (csCustomized): they stay as they are.
// A column's Alignment and its title's Caption follow its field (the
// field's Alignment, DisplayLabel) until they are set.
//
// SelectedRows holds bookmark texts (TDataSet::Bookmark) in the order they
// were selected; SetBookmark of an entry moves the dataset to its record.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Collection.h"
#include "core/Component.h"
#include "core/Graphics.h"
#include "dataset/DataSource.h"

namespace Vdei {

class TDBGrid;
class TColumn;

class TColumnTitle : public TPersistent {
 public:
  VDEI_CLASS(TColumnTitle)
  explicit TColumnTitle(TColumn* column) : column_(column) {}

  // The field's DisplayLabel (or the FieldName) until set.
  std::string Caption() const;
  void SetCaption(std::string caption);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment) { alignment_ = alignment; }
  TFont* Font() const { return &font_; }
  void SetFont(const TFont* font);  // copies
  TColor Color() const { return color_; }
  void SetColor(TColor color) { color_ = color; }

  void Assign(const TPersistent& source) override;

 private:
  TColumn* column_;
  std::string caption_;
  bool captionSet_ = false;
  TAlignment alignment_ = taLeftJustify;
  mutable TFont font_;
  TColor color_ = clBtnFace;
};

class TColumn : public TCollectionItem {
 public:
  VDEI_CLASS(TColumn)
  explicit TColumn(TCollection* collection);

  // The grid of the column's collection (nullptr outside one).
  TDBGrid* Grid() const;
  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(std::string name) { fieldName_ = std::move(name); }
  // The grid dataset's field of that name, nullptr when there is none.
  TField* Field() const;
  // The field's Alignment until set (taLeftJustify without a field).
  TAlignment Alignment() const;
  void SetAlignment(TAlignment alignment);
  TColor Color() const { return color_; }
  void SetColor(TColor color) { color_ = color; }
  TFont* Font() const { return &font_; }
  void SetFont(const TFont* font);  // copies
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }
  TColumnTitle* Title() const { return title_.get(); }
  void SetTitle(const TColumnTitle* title);  // copies

  void Assign(const TPersistent& source) override;

 private:
  std::string fieldName_;
  TAlignment alignment_ = taLeftJustify;
  bool alignmentSet_ = false;
  TColor color_ = clWindow;
  mutable TFont font_;
  bool visible_ = true;
  std::unique_ptr<TColumnTitle> title_;
};

enum TDBGridColumnsState { csDefault, csCustomized };

class TDBGridColumns : public TOwnedCollection<TColumn> {
 public:
  VDEI_CLASS(TDBGridColumns)
  explicit TDBGridColumns(TDBGrid* grid);

  TDBGrid* Grid() const { return grid_; }
  // A column added by hand customises the columns.
  TColumn* Add();
  TDBGridColumnsState State() const { return state_; }
  // csDefault rebuilds the default columns at once.
  void SetState(TDBGridColumnsState state);
  // Rebuilds the default columns (does nothing while customised).
  void RebuildDefault();

 private:
  TDBGrid* grid_;
  TDBGridColumnsState state_ = csDefault;
};

// Selected rows as bookmark texts of the grid's dataset.
class TBookmarkList {
 public:
  explicit TBookmarkList(TDBGrid* grid) : grid_(grid) {}
  int Count() const { return static_cast<int>(items_.size()); }
  const TBookmarkStr& Items(int index) const;  // EListError outside 0..Count-1
  const TBookmarkStr& operator[](int index) const { return Items(index); }
  // Whether the dataset's current record is selected; setting adds or
  // removes it (nothing without an open dataset).
  bool CurrentRowSelected() const;
  void SetCurrentRowSelected(bool selected);
  void Add(TBookmarkStr bookmark);  // an entry already there is kept once
  void Delete(int index);
  void Clear() { items_.clear(); }
  int IndexOf(const TBookmarkStr& bookmark) const;

 private:
  TDBGrid* grid_;
  std::vector<TBookmarkStr> items_;
};

class TDBGrid : public TComponent {
 public:
  VDEI_CLASS(TDBGrid)
  explicit TDBGrid(TComponent* owner);
  ~TDBGrid() override;

  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* dataSource);
  // The data source's dataset, nullptr without one.
  TDataSet* DataSet() const;
  TDBGridColumns* Columns() const { return columns_.get(); }
  void SetColumns(const TDBGridColumns* columns);  // copies
  TBookmarkList& SelectedRows() { return selectedRows_; }
  const TBookmarkList& SelectedRows() const { return selectedRows_; }

  TColor Color() const { return color_; }
  void SetColor(TColor color) { color_ = color; }
  TFont* Font() const { return &font_; }
  void SetFont(const TFont* font);  // copies
  TFont* TitleFont() const { return &titleFont_; }
  void SetTitleFont(const TFont* font);  // copies

  // Raised when the grid's dataset tells of moves and changes (after the
  // default columns are brought up to date).
  std::function<void(TObject* Sender)> OnDataChange;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  class GridDataLink;
  std::unique_ptr<GridDataLink> dataLink_;
  std::unique_ptr<TDBGridColumns> columns_;
  TBookmarkList selectedRows_;
  TColor color_ = clWindow;
  mutable TFont font_;
  mutable TFont titleFont_;
};

}  // namespace Vdei
