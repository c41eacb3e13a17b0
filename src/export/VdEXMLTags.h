// The value types of the XML package writer: the package layouts
// (TVdEXMLFormat) and the three tag names of the record-oriented layouts
// (TVdEXMLTags, published as XMLTags).
//
// TVdEXMLTags starts with "RECORDS", "RECORD" and "ROW". Assign from
// another TVdEXMLTags copies the three names; from anything else it fails
// as TPersistent::Assign does.
#pragma once

#include <string>
#include <vector>

#include "core/XMLTagNames.h"

namespace VdExport {

enum TVdEXMLFormat { xmlIE, xmlIECompact, xmlClientDataset, xmlElement, xmlMSSQL };

// "xmlIE", "xmlIECompact", ... by ordinal.
const std::vector<std::string>& XMLFormatNames();

// The records section's element names of the export (core/XMLTagNames.h).
class TVdEXMLTags : public Vdei::TXMLTagNames {
 public:
  VDEI_CLASS(TVdEXMLTags)
};

}  // namespace VdExport
