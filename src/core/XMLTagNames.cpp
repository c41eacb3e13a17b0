#include "core/XMLTagNames.h"

#include <typeinfo>

#include "core/Properties.h"

namespace Vdei {

const TClassInfo& TXMLTagNames::StaticClassInfo() {
  using T = TXMLTagNames;
  static const TClassInfo info =
      ClassInfoBuilder<T, TPersistent>("TXMLTagNames")
          .String("RecordsTag", &T::RecordsTag,
                  [](T& t, std::string v) { t.SetRecordsTag(std::move(v)); })
          .String("RecordTag", &T::RecordTag,
                  [](T& t, std::string v) { t.SetRecordTag(std::move(v)); })
          .String("RowTag", &T::RowTag, [](T& t, std::string v) { t.SetRowTag(std::move(v)); })
          .Build();
  return info;
}

void TXMLTagNames::Assign(const TPersistent& source) {
  if (typeid(source) != typeid(*this)) return TPersistent::Assign(source);
  const auto& other = static_cast<const TXMLTagNames&>(source);
  recordsTag_ = other.recordsTag_;
  recordTag_ = other.recordTag_;
  rowTag_ = other.rowTag_;
}

}  // namespace Vdei
