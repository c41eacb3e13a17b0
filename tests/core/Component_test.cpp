#include "core/Component.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/Exception.h"
#include "core/Properties.h"

namespace Vdei {
namespace {

// Records its destruction in a log and holds one reference to another
// component, cleared by the removal notice.
class TProbe : public TComponent {
 public:
  TProbe(TComponent* owner, std::string name, std::vector<std::string>* log)
      : TComponent(owner), log_(log) {
    SetName(std::move(name));
  }
  ~TProbe() override {
    if (log_ != nullptr) log_->push_back(Name());
  }
  TComponent* Link = nullptr;
  void SetLink(TComponent* other) {
    if (Link != nullptr) Link->RemoveFreeNotification(this);
    Link = other;
    if (other != nullptr) other->FreeNotification(this);
  }
  std::vector<std::string> Inserted;
  bool RegisterAgainOnRemove = false;

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    bool removesLink = operation == opRemove && component == Link;
    if (removesLink) Link = nullptr;
    if (operation == opInsert) Inserted.push_back(component->Name());
    TComponent::Notification(component, operation);
    // A careless handler: asks the dying component for another notice.
    if (removesLink && RegisterAgainOnRemove) component->FreeNotification(this);
  }

 private:
  std::vector<std::string>* log_;
};

TEST(Component, OwnerDestroysChildrenLastCreatedFirst) {
  std::vector<std::string> log;
  auto form = std::make_unique<TProbe>(nullptr, "form", &log);
  new TProbe(form.get(), "first", &log);
  auto* panel = new TProbe(form.get(), "panel", &log);
  new TProbe(panel, "button", &log);
  new TProbe(form.get(), "last", &log);
  EXPECT_EQ(form->ComponentCount(), 3);
  EXPECT_EQ(form->Components(1), panel);
  EXPECT_EQ(panel->Owner(), form.get());
  EXPECT_EQ(form->FindComponent("PANEL"), panel);
  EXPECT_EQ(form->FindComponent("button"), nullptr);  // owned by the panel, not the form
  EXPECT_EQ(form->FindComponent(""), nullptr);
  EXPECT_THROW(form->Components(3), EListError);
  form.reset();
  // Each probe logs before its base destroys what it owns.
  EXPECT_EQ(log, (std::vector<std::string>{"form", "last", "panel", "button", "first"}));
}

TEST(Component, DestroyingAChildUnregistersItFromTheOwner) {
  std::vector<std::string> log;
  TProbe form(nullptr, "form", &log);
  auto* a = new TProbe(&form, "a", &log);
  auto* b = new TProbe(&form, "b", &log);
  EXPECT_EQ(form.Inserted, (std::vector<std::string>{"", ""}));  // named after creation
  delete a;
  EXPECT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(form.Components(0), b);
  auto* c = new TProbe(&form, "c", &log);
  EXPECT_EQ(b->Inserted.size(), 1u);  // siblings hear of a new component
  delete c;
  EXPECT_EQ(log, (std::vector<std::string>{"a", "c"}));
}

TEST(Component, FreeNotificationClearsReferencesBothWays) {
  std::vector<std::string> log;
  TProbe form(nullptr, "form", &log);
  auto grid = std::make_unique<TProbe>(nullptr, "grid", &log);
  auto source = std::make_unique<TProbe>(nullptr, "source", &log);
  grid->SetLink(source.get());
  source->SetLink(grid.get());
  grid->SetLink(source.get());  // registering twice registers once
  source.reset();
  EXPECT_EQ(grid->Link, nullptr);
  // The other way round: the one that registered goes first and the other
  // must not call it later.
  auto source2 = std::make_unique<TProbe>(nullptr, "source2", &log);
  grid->SetLink(source2.get());
  grid.reset();
  source2.reset();  // would touch a dead grid if it were still registered
  // Registering with a dying component (here on the notice that comes
  // through the owner) leaves nothing behind to dangle.
  auto* careless = new TProbe(&form, "careless", &log);
  auto* dying = new TProbe(&form, "dying", &log);
  careless->RegisterAgainOnRemove = true;
  careless->Link = dying;
  delete dying;
  EXPECT_EQ(careless->Link, nullptr);
  delete careless;
  // Siblings learn of each other's removal through the owner.
  auto* left = new TProbe(&form, "left", &log);
  auto* right = new TProbe(&form, "right", &log);
  left->Link = right;
  delete right;
  EXPECT_EQ(left->Link, nullptr);
}

TEST(Component, RemovedRegistrationsAreForgotten) {
  std::vector<std::string> log;
  auto grid = std::make_unique<TProbe>(nullptr, "grid", &log);
  auto a = std::make_unique<TProbe>(nullptr, "a", &log);
  auto b = std::make_unique<TProbe>(nullptr, "b", &log);
  grid->SetLink(a.get());
  grid->SetLink(b.get());  // unregisters from a
  TComponent* unregistered = a.get();
  grid->Link = unregistered;  // a reference a no longer knows of
  a.reset();
  EXPECT_EQ(grid->Link, unregistered);  // a sent no notice: its registration was removed
  grid->Link = b.get();
  b.reset();
  EXPECT_EQ(grid->Link, nullptr);
}

TEST(Component, PublishesItsName) {
  TComponent c(nullptr);
  SetPropValue(c, "name", Variant("Query1"));
  EXPECT_EQ(c.Name(), "Query1");
  EXPECT_EQ(GetPropValue(c, "Name").AsString(), "Query1");
  EXPECT_TRUE(c.InheritsFrom(TPersistent::StaticClassInfo()));
  EXPECT_EQ(c.ClassName(), "TComponent");
}

}  // namespace
}  // namespace Vdei
