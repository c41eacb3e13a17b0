// Export columns, the abstract data engine and the type mapping.
//
// An export run sees its source only through a column list (which values
// go into the document and how each one looks) and a data engine (which
// walks the records and hands out values). TVdECustomDataEngine is the
// abstract engine: on its own it delivers no record (IsEof is always true);
// the engines over datasets and grids (VdEEngDB.h, VdEEngWW.h) and engines
// written by users derive from it.
//
// MapCellType and MapColumnFieldType turn field types into cell types and
// back; the run, the engines and the XML writer share them.
#pragma once

#include <functional>
#include <string>

#include "core/Collection.h"
#include "core/Component.h"
#include "core/Graphics.h"
#include "core/Variant.h"
#include "dataset/FieldType.h"

namespace Vdei {
class TField;
class TDataSet;
}  // namespace Vdei

namespace VdExport {

using Vdei::TAlignment;
using Vdei::TColor;
using Vdei::TFieldType;
using Vdei::TFont;
using Vdei::TObject;
using Vdei::Variant;

// The type of one exported cell.
enum TCellType {
  ctBlank,
  ctInteger,
  ctDouble,
  ctString,
  ctDateTime,
  ctDate,
  ctCurrency,
  ctTime,
  ctMEMO,
  ctGraphic
};

enum TVdEColumnKind { ckField, ckConstant };

// The title of an export column: caption, alignment, font and colour.
class TVdEColumnTitle : public Vdei::TPersistent {
 public:
  VDEI_CLASS(TVdEColumnTitle)
  TVdEColumnTitle() = default;

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string value) { caption_ = std::move(value); }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value) { alignment_ = value; }
  TFont* Font() const { return &font_; }
  void SetFont(const TFont* value);  // copies
  TColor Color() const { return color_; }
  void SetColor(TColor value) { color_ = value; }

  // From another title: Caption, Alignment, Font and Color.
  void Assign(const Vdei::TPersistent& source) override;

 private:
  std::string caption_;
  TAlignment alignment_ = Vdei::taLeftJustify;
  mutable TFont font_;
  TColor color_ = Vdei::clSilver;
};

// One export column. For a ckConstant column FieldName holds the constant
// text that is written as the value.
class TVdEColumn : public Vdei::TCollectionItem {
 public:
  VDEI_CLASS(TVdEColumn)
  explicit TVdEColumn(Vdei::TCollection* collection);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value) { alignment_ = value; }
  TColor Color() const { return color_; }
  void SetColor(TColor value) { color_ = value; }
  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(std::string value) { fieldName_ = std::move(value); }
  TFont* Font() const { return &font_; }
  void SetFont(const TFont* value);  // copies
  int Width() const { return width_; }
  void SetWidth(int value) { width_ = value; }
  int Precision() const { return precision_; }
  void SetPrecision(int value) { precision_ = value; }
  bool Visible() const { return visible_; }
  void SetVisible(bool value) { visible_ = value; }
  TVdEColumnTitle* Title() const { return &title_; }
  void SetTitle(const TVdEColumnTitle* value);  // copies
  TCellType DataType() const { return dataType_; }
  void SetDataType(TCellType value) { dataType_ = value; }
  TVdEColumnKind ColumnKind() const { return columnKind_; }
  void SetColumnKind(TVdEColumnKind value) { columnKind_ = value; }

  // From another column, between BeginUpdate and EndUpdate of the owning
  // collection: FieldName, Font, Color, Width, Precision, Alignment,
  // Visible, DataType, ColumnKind and the title's four settings.
  void Assign(const Vdei::TPersistent& source) override;

 private:
  TAlignment alignment_ = Vdei::taLeftJustify;
  TColor color_ = Vdei::clWhite;
  std::string fieldName_;
  mutable TFont font_;
  int width_ = 0;
  int precision_ = 0;
  bool visible_ = true;
  mutable TVdEColumnTitle title_;
  TCellType dataType_ = ctString;
  TVdEColumnKind columnKind_ = ckField;
};

// The column list of an export component (its owner).
class TVdEColumns : public Vdei::TOwnedCollection<TVdEColumn> {
 public:
  VDEI_CLASS(TVdEColumns)
  explicit TVdEColumns(Vdei::TPersistent* owner) : TOwnedCollection(owner) {}
};

using TVdEGetNext = std::function<void(TObject* Sender, bool& Abort)>;
using TVdEGetCount = std::function<void(TObject* Sender, int& Count)>;
using TVdEGetValue = std::function<void(TObject* Sender, TVdEColumn* Column, Variant& Value)>;
using TVdENotifyEvent = std::function<void(TObject* Sender)>;

// The abstract data engine. Every operation is virtual so that engines
// over other sources (and engines written by users) can replace it.
class TVdECustomDataEngine : public Vdei::TComponent {
 public:
  VDEI_CLASS(TVdECustomDataEngine)
  explicit TVdECustomDataEngine(Vdei::TComponent* owner) : TComponent(owner) {}

  bool SelectedOnly() const { return selectedOnly_; }
  void SetSelectedOnly(bool value) { selectedOnly_ = value; }
  // The flag an OnNext handler may set; stored, read by no base operation.
  bool NextAborted() const { return nextAbort_; }

  virtual bool IsGridBound() const { return false; }
  virtual void EnableSourceControls() {}
  virtual void DisableSourceControls() {}
  // Raise OnBeforeExecute / OnAfterExecute.
  virtual void SavePosition();
  virtual void RestorePosition();
  // Empties columns, then raises OnFillColumns with columns as Sender.
  virtual void FillColumns(TVdEColumns& columns, bool rightToLeft);
  // False for a row whose cells are not taken from fields (a footer row).
  virtual bool IsFieldRow(int /*row*/) { return true; }
  virtual bool IsEof() { return true; }
  virtual void MoveFirst();  // raises OnFirst
  virtual void MoveNext();   // raises OnNext
  // Null without raising OnGetValue (see the class comment of the DB
  // engines for the values they give).
  virtual Variant GetValue(TVdEColumn& column);
  // A place for engines written by users to colour cells of the columnar
  // layout; does nothing here.
  virtual void GetCellParams(int row, int column, TColor& color, TFont& font,
                             TAlignment& alignment);
  // Raises OnCount with Count preset to 0 and returns it.
  virtual int GetRecordCount();
  // MapColumnFieldType of the column's DataType.
  virtual TFieldType GetColumnFieldType(const TVdEColumn& column);
  virtual bool IsColumnRequired(const TVdEColumn& /*column*/) { return false; }
  virtual bool IsColumnReadOnly(const TVdEColumn& /*column*/) { return false; }
  virtual Vdei::TField* FindColumnField(const TVdEColumn& /*column*/) { return nullptr; }

  TVdENotifyEvent OnFirst;
  TVdEGetNext OnNext;
  TVdEGetCount OnCount;
  TVdENotifyEvent OnBeforeExecute;
  TVdENotifyEvent OnAfterExecute;
  TVdENotifyEvent OnFillColumns;
  TVdEGetValue OnGetValue;

 private:
  bool selectedOnly_ = false;
  bool nextAbort_ = false;
};

// The cell type of a value of a field type. With blankIfZero, the integer,
// float, currency and date/time categories give ctBlank for a null, empty
// or zero value (compared with the text "0" under variant comparison) and
// ctString for any other value; text, memo and graphic types ignore it.
TCellType MapCellType(TFieldType fieldType, const Variant& value, bool blankIfZero);

// The field type that represents a cell type (ctBlank, ctString and
// anything unknown: ftString).
TFieldType MapColumnFieldType(TCellType cellType);

}  // namespace VdExport
