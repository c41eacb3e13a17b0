#include "core/Component.h"

#include <algorithm>

#include "core/Exception.h"
#include "core/Properties.h"
#include "core/StrUtils.h"

namespace Vdei {

namespace {

void Erase(std::vector<TComponent*>& list, TComponent* component) {
  list.erase(std::remove(list.begin(), list.end(), component), list.end());
}

}  // namespace

const TClassInfo& TComponent::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TComponent, TPersistent>("TComponent")
          .String("Name", &TComponent::Name,
                  [](TComponent& c, std::string name) { c.SetName(std::move(name)); })
          .Build();
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner != nullptr) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  destroying_ = true;
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    Erase(other->freeNotifies_, this);
    other->Notification(this, opRemove);
  }
  if (owner_ != nullptr) owner_->RemoveComponent(this);
  // Last created first; a child's destructor takes itself off the list.
  while (!components_.empty()) delete components_.back();
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) ThrowListIndexError(index);
  return components_[static_cast<size_t>(index)];
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_) {
    if (SameText(c->Name(), name)) return c;
  }
  return nullptr;
}

void TComponent::FreeNotification(TComponent* other) {
  if (other == nullptr || other == this || destroying_ || other->destroying_) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end()) {
    freeNotifies_.push_back(other);
  }
  if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) ==
      other->freeNotifies_.end()) {
    other->freeNotifies_.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  if (other == nullptr) return;
  Erase(freeNotifies_, other);
  Erase(other->freeNotifies_, this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove) RemoveFreeNotification(component);
  // Owned components hear of their siblings coming and going.
  for (size_t i = 0; i < components_.size(); ++i) {
    if (components_[i] != component) components_[i]->Notification(component, operation);
  }
}

void TComponent::InsertComponent(TComponent* component) {
  component->owner_ = this;
  components_.push_back(component);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  component->owner_ = nullptr;
  Erase(components_, component);
  Notification(component, opRemove);
}

}  // namespace Vdei
