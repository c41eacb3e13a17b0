#include "platform/FormControls.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/Properties.h"
#include "dataset/DataSource.h"

namespace Vdei {
namespace {

// The client's window: a status bar and a group box along the bottom (they
// stack from the bottom in creation order), a grid filling the group box.
TEST(FormControlsTest, MainWindowLayoutAlignsInsideTheGroupBox) {
  TForm form(nullptr);
  form.SetClientSize(548, 380);
  auto* status = new TStatusBar(&form);
  auto* preview = new TGroupBox(&form);
  preview->SetBounds(0, 0, 548, 300);
  preview->SetAlign(alBottom);
  auto* grid = new TDBGridControl(&form);
  grid->SetParent(preview);
  grid->SetAlign(alClient);

  EXPECT_EQ(status->Align(), alBottom);
  EXPECT_EQ(status->Top(), 380 - 19);
  EXPECT_EQ(status->Width(), 548);
  EXPECT_EQ(preview->Top(), 380 - 19 - 300);
  EXPECT_EQ(grid->Left(), TGroupBox::FrameWidth);
  EXPECT_EQ(grid->Top(), TGroupBox::CaptionHeight + TGroupBox::FrameWidth);
  EXPECT_EQ(grid->Width(), 548 - 2 * TGroupBox::FrameWidth);
  EXPECT_EQ(grid->Height(), 300 - TGroupBox::CaptionHeight - 2 * TGroupBox::FrameWidth);

  form.SetClientSize(600, 400);  // the grid follows its box
  EXPECT_EQ(grid->Width(), 600 - 2 * TGroupBox::FrameWidth);

  // The client disables its controls during a request, by name as well.
  SetPropValue(*preview, "Enabled", Variant(false));
  EXPECT_FALSE(preview->Enabled());
  EXPECT_TRUE(grid->Enabled());  // its own flag; the view greys it with its box
}

TEST(FormControlsTest, RadioGroupKeepsItsIndexWithinItsItems) {
  TForm form(nullptr);
  TRadioGroup group(&form);
  int clicks = 0;
  group.OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, &group);
    ++clicks;
  };
  EXPECT_EQ(group.ItemIndex(), -1);
  group.Items()->Add("XML");
  group.Items()->Add("HTML");
  group.SetColumns(0);
  EXPECT_EQ(group.Columns(), 1);

  group.SetItemIndex(5);
  EXPECT_EQ(group.ItemIndex(), 1);
  group.SetItemIndex(-7);
  EXPECT_EQ(group.ItemIndex(), -1);
  EXPECT_EQ(clicks, 0);  // only the user's choice raises OnClick

  group.ClickItem(1);
  EXPECT_EQ(group.ItemIndex(), 1);
  EXPECT_EQ(clicks, 1);

  group.Items()->Delete(1);  // the chosen item goes: the last one left is chosen
  EXPECT_EQ(group.ItemIndex(), 0);
  TStringList none;
  group.SetItems(&none);
  EXPECT_EQ(group.ItemIndex(), -1);
  EXPECT_EQ(GetPropValue(group, "ItemIndex").AsInteger(), -1);
}

TEST(FormControlsTest, GridForgetsADataSourceThatIsDestroyed) {
  TForm form(nullptr);
  auto* grid = new TDBGridControl(&form);
  auto source = std::make_unique<TDataSource>(nullptr);
  grid->SetDataSource(source.get());
  EXPECT_EQ(GetObjectProp(*grid, "DataSource"), source.get());
  source.reset();
  EXPECT_EQ(grid->DataSource(), nullptr);

  // And the other way round: a grid destroyed first leaves no notice behind.
  auto other = std::make_unique<TDataSource>(nullptr);
  grid->SetDataSource(other.get());
  delete grid;
  other.reset();
}

}  // namespace
}  // namespace Vdei
