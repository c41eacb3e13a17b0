// TComponent: ownership and removal notification.
//
// A component is created with an owner (or none). The owner keeps a list
// of the components it owns and destroys them, last created first, when it
// is destroyed itself. A component may be destroyed directly at any time:
// its destructor first tells every component that asked for it
// (FreeNotification) through Notification(this, opRemove), then its owner
// (which forgets it), then destroys what it owns.
//
// Creating an owned component: `auto* query = new TQuery(form);` — the
// owner holds it; without an owner use std::unique_ptr.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/Object.h"

namespace Vdei {

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
 public:
  VDEI_CLASS(TComponent)
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const;  // EListError outside 0..count-1
  // The owned component of that name (without regard to case), or nullptr.
  TComponent* FindComponent(std::string_view name) const;

  // Asks this component to call other->Notification(this, opRemove) when
  // it is destroyed. Registering twice registers once; the registration is
  // mutual, so whichever of the two goes first unregisters both ways.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);

 protected:
  // Called with opInsert / opRemove when a component is added to or
  // removed from this one's owned list, and with opRemove when a component
  // this one registered with (FreeNotification) is being destroyed. The
  // base passes both on to every owned component, so siblings hear of each
  // other. Overrides clear their references to the removed component and
  // call the inherited version. A component in an opRemove notice may be
  // half destroyed (its subclass parts are gone): compare it with stored
  // pointers, never call it or cast it down. Registering with a component
  // that is being destroyed is ignored.
  virtual void Notification(TComponent* component, TOperation operation);

 private:
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);

  TComponent* owner_ = nullptr;
  std::string name_;
  std::vector<TComponent*> components_;    // owned
  std::vector<TComponent*> freeNotifies_;  // told when this one goes
  bool destroying_ = false;
};

}  // namespace Vdei
