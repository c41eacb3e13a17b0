// The controls of the programs' main windows, beside those of Forms.h: a
// group box, a radio group, a status bar and a data grid.
//
// Like every control they hold model state only; a view draws them and
// reports the user's actions back (TRadioGroup::ClickItem).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/Strings.h"
#include "platform/Forms.h"

namespace Vdei {

class TDataSource;

// A container framed with a caption along its top edge; aligned controls
// inside share what the frame and the caption leave free.
class TGroupBox : public TWinControl {
 public:
  VDEI_CLASS(TGroupBox)
  using TWinControl::TWinControl;
  // The caption's line (the classic 8-point dialog font) and the frame.
  static constexpr int CaptionHeight = 13;
  static constexpr int FrameWidth = 2;
  void AdjustClientRect(int& left, int& top, int& right, int& bottom) const override;
};

// A group box of radio buttons, one per line of Items, in Columns columns
// filled top to bottom. ItemIndex is the chosen item (-1: none).
class TRadioGroup : public TGroupBox {
 public:
  VDEI_CLASS(TRadioGroup)
  explicit TRadioGroup(TForm* form);

  // Changing the items keeps ItemIndex within them (the last item, or -1
  // when none is left).
  TStrings* Items() const { return items_.get(); }
  void SetItems(const TStrings* items);  // copies
  int Columns() const { return columns_; }
  void SetColumns(int columns);  // at least 1
  int ItemIndex() const { return itemIndex_; }
  // Chooses an item without raising OnClick; values beyond the items are
  // taken as the nearest one, below 0 as -1.
  void SetItemIndex(int index);
  // The user chose item index: sets ItemIndex and raises OnClick.
  void ClickItem(int index);

  std::function<void(TObject* Sender)> OnClick;

 private:
  void ItemsChanged();
  std::unique_ptr<TStringList> items_;
  int columns_ = 1;
  int itemIndex_ = -1;
};

// A bar along the bottom of its form (aligned alBottom, 19 pixels high).
// With SimplePanel it shows SimpleText in one panel; the model has no
// other panels, so the view shows SimpleText in either case.
class TStatusBar : public TControl {
 public:
  VDEI_CLASS(TStatusBar)
  explicit TStatusBar(TForm* form);
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool value);
  const std::string& SimpleText() const { return simpleText_; }
  void SetSimpleText(std::string text);

 private:
  bool simplePanel_ = false;
  std::string simpleText_;
};

// A data grid: shows the records of DataSource's dataset, one column per
// visible field, titled by the field's DisplayLabel. The reference is
// cleared when the data source is destroyed.
class TDBGridControl : public TControl {
 public:
  VDEI_CLASS(TDBGridControl)
  using TControl::TControl;
  TDataSource* DataSource() const { return dataSource_; }
  void SetDataSource(TDataSource* dataSource);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TDataSource* dataSource_ = nullptr;
};

}  // namespace Vdei
