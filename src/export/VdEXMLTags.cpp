#include "export/VdEXMLTags.h"

#include "core/Properties.h"

namespace VdExport {

using Vdei::TClassInfo;

const std::vector<std::string>& XMLFormatNames() {
  static const std::vector<std::string> names = {"xmlIE", "xmlIECompact", "xmlClientDataset",
                                                 "xmlElement", "xmlMSSQL"};
  return names;
}

const TClassInfo& TVdEXMLTags::StaticClassInfo() {
  static const TClassInfo info =
      Vdei::ClassInfoBuilder<TVdEXMLTags, Vdei::TXMLTagNames>("TVdEXMLTags").Build();
  return info;
}

}  // namespace VdExport
