#include "export/VdEXMLTags.h"

#include "core/Properties.h"

namespace VdExport {

using Vdei::TClassInfo;
using Vdei::TPersistent;

const std::vector<std::string>& XMLFormatNames() {
  static const std::vector<std::string> names = {"xmlIE", "xmlIECompact", "xmlClientDataset",
                                                 "xmlElement", "xmlMSSQL"};
  return names;
}

const TClassInfo& TVdEXMLTags::StaticClassInfo() {
  using T = TVdEXMLTags;
  static const TClassInfo info =
      Vdei::ClassInfoBuilder<T, TPersistent>("TVdEXMLTags")
          .String("RecordsTag", &T::RecordsTag,
                  [](T& t, std::string v) { t.SetRecordsTag(std::move(v)); })
          .String("RecordTag", &T::RecordTag,
                  [](T& t, std::string v) { t.SetRecordTag(std::move(v)); })
          .String("RowTag", &T::RowTag, [](T& t, std::string v) { t.SetRowTag(std::move(v)); })
          .Build();
  return info;
}

void TVdEXMLTags::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TVdEXMLTags*>(&source);
  if (other == nullptr) return TPersistent::Assign(source);
  if (other != this) *this = *other;
}

}  // namespace VdExport
