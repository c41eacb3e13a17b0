#include "core/Object.h"

#include "core/Exception.h"
#include "core/Properties.h"
#include "core/StrUtils.h"

namespace Vdei {

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->Parent) {
    if (c == &other) return true;
  }
  return false;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->Parent) {
    for (const TPropInfo& p : c->Properties) {
      if (SameText(p.Name, name)) return &p;
    }
  }
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::AllProperties() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c != nullptr; c = c->Parent) chain.push_back(c);
  std::vector<const TPropInfo*> result;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const TPropInfo& p : (*it)->Properties) result.push_back(&p);
  }
  return result;
}

const TClassInfo& TObject::StaticClassInfo() {
  static const TClassInfo info{"TObject", nullptr, {}};
  return info;
}

const TClassInfo& TPersistent::StaticClassInfo() {
  static const TClassInfo info = ClassInfoBuilder<TPersistent, TObject>("TPersistent").Build();
  return info;
}

void TPersistent::Assign(const TPersistent& source) {
  source.AssignTo(*this);
}

void TPersistent::AssignTo(TPersistent& dest) const {
  throw EConvertError("Cannot assign a " + ClassName() + " to a " + dest.ClassName());
}

void ThrowInvalidCast() {
  throw EInvalidCast("Invalid class typecast");
}

}  // namespace Vdei
