#include "dataset/FieldDefs.h"

#include "core/Exception.h"
#include "core/Properties.h"
#include "core/StrUtils.h"
#include "dataset/Fields.h"

namespace Vdei {

const TClassInfo& TFieldDef::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TFieldDef, TCollectionItem>("TFieldDef")
          .String("Name", &TFieldDef::Name,
                  [](TFieldDef& d, std::string v) { d.SetName(std::move(v)); })
          .Integer("Size", &TFieldDef::Size, &TFieldDef::SetSize, Variant(0))
          .Boolean("Required", &TFieldDef::Required, &TFieldDef::SetRequired, Variant(false))
          .Build();
  return info;
}

const TClassInfo& TFieldDefs::StaticClassInfo() {
  static const TClassInfo info = ClassInfoBuilder<TFieldDefs, TCollection>("TFieldDefs").Build();
  return info;
}

void TFieldDef::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TFieldDef*>(&source);
  if (other == nullptr) return TCollectionItem::Assign(source);
  name_ = other->name_;
  dataType_ = other->dataType_;
  size_ = other->size_;
  required_ = other->required_;
}

TFieldDef* TFieldDefs::Add(std::string name, TFieldType type, int size, bool required) {
  if (IndexOf(name) >= 0)
    throw EDatabaseError(Format("Duplicate field name '%s'", name.c_str()));
  TFieldDef* def = TOwnedCollection<TFieldDef>::Add();
  def->SetName(std::move(name));
  def->SetDataType(type);
  def->SetSize(size);
  def->SetRequired(required);
  return def;
}

int TFieldDefs::IndexOf(std::string_view name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Items(i)->Name(), name)) return i;
  return -1;
}

TFieldDef* TFieldDefs::Find(std::string_view name) const {
  const int index = IndexOf(name);
  return index < 0 ? nullptr : Items(index);
}

}  // namespace Vdei
