#include "platform/Forms.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "platform/HeadlessPlatform.h"

namespace Vdei {
namespace {

struct ViewLog {
  int created = 0, updates = 0, repaints = 0, destroyed = 0;
  std::vector<std::string> lastCaptions;
};

// A view that reads every control of its form on each update, as a real
// view does: a control that is gone but still listed would be caught
// here (and by the address sanitizer).
class ReadingView : public FormView {
 public:
  ReadingView(TForm& form, ViewLog& log) : form_(form), log_(log) { ++log_.created; }
  ~ReadingView() override {
    Read();
    ++log_.destroyed;
  }
  void Update() override {
    ++log_.updates;
    Read();
  }
  void Repaint() override { ++log_.repaints; }

 private:
  void Read() {
    log_.lastCaptions.clear();
    for (const TControl* c : form_.Controls()) log_.lastCaptions.push_back(c->Caption());
  }
  TForm& form_;
  ViewLog& log_;
};

class ViewPlatform : public HeadlessPlatform {
 public:
  explicit ViewPlatform(ViewLog& log) : log_(log) {}
  std::unique_ptr<FormView> CreateFormView(TForm& form) override {
    return std::make_unique<ReadingView>(form, log_);
  }

 private:
  ViewLog& log_;
};

class FormsTest : public ::testing::Test {
 protected:
  void SetUp() override { SetPlatform(std::make_unique<ViewPlatform>(log)); }
  void TearDown() override { SetPlatform(nullptr); }
  ViewLog log;
};

TEST_F(FormsTest, ViewFollowsTheFormAndNeverSeesDestroyedControls) {
  auto form = std::make_unique<TForm>(nullptr);
  auto* first = new TLabel(form.get());
  first->SetCaption("first");
  auto* second = new TButton(form.get());
  second->SetCaption("second");
  EXPECT_EQ(log.created, 0);  // no view before the form is shown

  form->Show();
  form->Hide();
  form->Show();
  EXPECT_EQ(log.created, 1);
  EXPECT_TRUE(form->Visible());
  int updates = log.updates;
  first->SetCaption("changed");
  EXPECT_EQ(log.updates, updates + 1);
  EXPECT_EQ(log.lastCaptions, (std::vector<std::string>{"changed", "second"}));
  form->Repaint();
  EXPECT_EQ(log.repaints, 1);

  delete first;
  EXPECT_EQ(form->Controls(), std::vector<TControl*>{second});
  EXPECT_EQ(log.lastCaptions, std::vector<std::string>{"second"});
  EXPECT_EQ(form->ComponentCount(), 1);

  new TProgressBar(form.get());
  form.reset();  // while shown: the view goes first, reading live controls
  EXPECT_EQ(log.destroyed, 1);
  EXPECT_EQ(log.lastCaptions, (std::vector<std::string>{"second", ""}));
}

TEST_F(FormsTest, CloseAndEscapeRunTheModelsHandlers) {
  TForm form(nullptr);
  std::vector<std::string> clicks;
  auto button = [&](const char* name, bool cancel) {
    auto* b = new TButton(&form);
    b->SetName(name);
    b->SetCancel(cancel);
    b->OnClick = [&clicks](TObject* sender) {
      clicks.push_back(static_cast<TButton*>(sender)->Name());
    };
    return b;
  };
  button("plain", false);
  button("hidden", true)->SetVisible(false);
  auto* panel = new TPanel(&form);
  panel->SetVisible(false);
  button("inHiddenPanel", true)->SetParent(panel);
  button("cancel", true);
  button("laterCancel", true);

  form.CancelKey();
  EXPECT_EQ(clicks, std::vector<std::string>{"cancel"});

  form.Show();
  std::vector<TCloseAction> presets;
  form.OnClose = [&](TObject* sender, TCloseAction& action) {
    EXPECT_EQ(sender, &form);
    presets.push_back(action);
    action = caNone;
  };
  form.UserClose();
  EXPECT_TRUE(form.Visible());
  form.OnClose = [&](TObject*, TCloseAction& action) { presets.push_back(action); };
  form.UserClose();
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(presets, (std::vector<TCloseAction>{caHide, caHide}));

  // A button whose click destroys it (a handler freeing the window's parts).
  auto* selfDestroying = new TButton(&form);
  selfDestroying->OnClick = [](TObject* sender) { delete static_cast<TButton*>(sender); };
  selfDestroying->Click();
  EXPECT_EQ(form.Controls().size(), 6u);
}

TEST_F(FormsTest, ProgressBarKeepsItsPositionWithinItsRange) {
  TForm form(nullptr);
  TProgressBar bar(&form);
  bar.SetMax(91);
  bar.SetPosition(95);
  EXPECT_EQ(bar.Position(), 91);
  bar.SetPosition(-3);
  EXPECT_EQ(bar.Position(), 0);
  bar.SetPosition(50);
  bar.SetMax(10);
  EXPECT_EQ(bar.Position(), 10);
  bar.SetMin(20);
  EXPECT_EQ(bar.Max(), 20);
  EXPECT_EQ(bar.Position(), 20);
  bar.SetMax(5);
  EXPECT_EQ(bar.Min(), 5);
  EXPECT_EQ(bar.Position(), 5);
}

TEST_F(FormsTest, AlignedControlsShareTheirContainer) {
  TForm form(nullptr);
  form.SetClientSize(400, 300);
  auto* status = new TLabel(&form);
  status->SetBounds(0, 0, 10, 13);
  status->SetAlign(alBottom);
  auto* top = new TPanel(&form);
  top->SetBounds(5, 5, 10, 50);
  top->SetAlign(alTop);
  auto* grid = new TControl(&form);
  grid->SetAlign(alClient);
  auto* inPanel = new TButton(&form);
  inPanel->SetBounds(0, 0, 30, 20);
  inPanel->SetParent(top);
  inPanel->SetAlign(alRight);

  auto bounds = [](const TControl* c) {
    return std::vector<int>{c->Left(), c->Top(), c->Width(), c->Height()};
  };
  EXPECT_EQ(bounds(status), (std::vector<int>{0, 287, 400, 13}));
  EXPECT_EQ(bounds(top), (std::vector<int>{0, 0, 400, 50}));
  EXPECT_EQ(bounds(grid), (std::vector<int>{0, 50, 400, 237}));
  EXPECT_EQ(bounds(inPanel), (std::vector<int>{370, 0, 30, 50}));

  form.SetClientSize(500, 200);
  top->SetVisible(false);
  EXPECT_EQ(bounds(status), (std::vector<int>{0, 187, 500, 13}));
  EXPECT_EQ(bounds(grid), (std::vector<int>{0, 0, 500, 187}));
  EXPECT_FALSE(inPanel->Showing());

  TForm other(nullptr);
  TPanel foreign(&other);
  EXPECT_THROW(inPanel->SetParent(&foreign), Exception);
  auto* inner = new TPanel(&form);
  inner->SetParent(top);
  EXPECT_THROW(top->SetParent(inner), Exception);

  delete top;  // its controls stay on the form
  EXPECT_EQ(inPanel->Parent(), nullptr);
  EXPECT_EQ(inner->Parent(), nullptr);
  EXPECT_TRUE(inPanel->Showing());
}

TEST_F(FormsTest, ControlsUseTheFormsFontUntilGivenTheirOwn) {
  TForm form(nullptr);
  TLabel label(&form);
  form.Font().SetSize(12);
  EXPECT_EQ(label.Font().Size(), 12);
  TFont blue = form.Font();
  blue.SetColor(clBlue);
  label.SetFont(blue);
  form.Font().SetSize(9);
  EXPECT_FALSE(label.ParentFont());
  EXPECT_EQ(label.Font().Size(), 12);
  EXPECT_EQ(label.Font().Color(), clBlue);
  label.SetParentFont(true);
  EXPECT_EQ(label.Font().Size(), 9);
}

}  // namespace
}  // namespace Vdei
