#include "platform/FormControls.h"

#include <algorithm>

#include "core/Properties.h"
#include "dataset/DataSource.h"

namespace Vdei {

// ---- class information ----

const TClassInfo& TGroupBox::StaticClassInfo() {
  static const TClassInfo info = ClassInfoBuilder<TGroupBox, TWinControl>("TGroupBox").Build();
  return info;
}

const TClassInfo& TRadioGroup::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TRadioGroup, TGroupBox>("TRadioGroup")
          .Object<TStrings>("Items", &TRadioGroup::Items, &TRadioGroup::SetItems)
          .Integer("Columns", &TRadioGroup::Columns, &TRadioGroup::SetColumns, 1)
          .Integer("ItemIndex", &TRadioGroup::ItemIndex, &TRadioGroup::SetItemIndex, -1)
          .Build();
  return info;
}

const TClassInfo& TStatusBar::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TStatusBar, TControl>("TStatusBar")
          .Boolean("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel, false)
          .String("SimpleText", &TStatusBar::SimpleText,
                  [](TStatusBar& s, std::string v) { s.SetSimpleText(std::move(v)); })
          .Build();
  return info;
}

const TClassInfo& TDBGridControl::StaticClassInfo() {
  static const TClassInfo info = ClassInfoBuilder<TDBGridControl, TControl>("TDBGridControl")
                                     .Object<TDataSource>("DataSource", &TDBGridControl::DataSource,
                                                          &TDBGridControl::SetDataSource)
                                     .Build();
  return info;
}

// ---- group box ----

void TGroupBox::AdjustClientRect(int& left, int& top, int& right, int& bottom) const {
  left += FrameWidth;
  top += CaptionHeight + FrameWidth;
  right -= FrameWidth;
  bottom -= FrameWidth;
}

// ---- radio group ----

TRadioGroup::TRadioGroup(TForm* form) : TGroupBox(form), items_(std::make_unique<TStringList>()) {
  items_->OnChange = [this](TObject*) { ItemsChanged(); };
}

void TRadioGroup::SetItems(const TStrings* items) {
  if (items) items_->Assign(*items);
}

void TRadioGroup::ItemsChanged() {
  itemIndex_ = std::min(itemIndex_, items_->Count() - 1);
  Changed();
}

void TRadioGroup::SetColumns(int columns) {
  columns = std::max(columns, 1);
  if (columns == columns_) return;
  columns_ = columns;
  Changed();
}

void TRadioGroup::SetItemIndex(int index) {
  index = std::clamp(index, -1, items_->Count() - 1);
  if (index == itemIndex_) return;
  itemIndex_ = index;
  Changed();
}

void TRadioGroup::ClickItem(int index) {
  SetItemIndex(index);
  auto handler = OnClick;  // a copy: the handler may destroy the group
  if (handler) handler(this);
}

// ---- status bar ----

TStatusBar::TStatusBar(TForm* form) : TControl(form) {
  SetBounds(0, 0, 0, 19);
  SetAlign(alBottom);
}

void TStatusBar::SetSimplePanel(bool value) {
  if (value == simplePanel_) return;
  simplePanel_ = value;
  Changed();
}

void TStatusBar::SetSimpleText(std::string text) {
  if (text == simpleText_) return;
  simpleText_ = std::move(text);
  Changed();
}

// ---- data grid ----

void TDBGridControl::SetDataSource(TDataSource* dataSource) {
  if (dataSource == dataSource_) return;
  if (dataSource_) dataSource_->RemoveFreeNotification(this);
  dataSource_ = dataSource;
  if (dataSource_) dataSource_->FreeNotification(this);
  Changed();
}

void TDBGridControl::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component != nullptr && component == dataSource_) {
    dataSource_ = nullptr;
    Changed();
  }
  TControl::Notification(component, operation);
}

}  // namespace Vdei
