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

#include "core/Object.h"

namespace VdExport {

enum TVdEXMLFormat { xmlIE, xmlIECompact, xmlClientDataset, xmlElement, xmlMSSQL };

// "xmlIE", "xmlIECompact", ... by ordinal.
const std::vector<std::string>& XMLFormatNames();

class TVdEXMLTags : public Vdei::TPersistent {
 public:
  VDEI_CLASS(TVdEXMLTags)
  TVdEXMLTags() = default;

  const std::string& RecordsTag() const { return recordsTag_; }
  void SetRecordsTag(std::string value) { recordsTag_ = std::move(value); }
  const std::string& RecordTag() const { return recordTag_; }
  void SetRecordTag(std::string value) { recordTag_ = std::move(value); }
  const std::string& RowTag() const { return rowTag_; }
  void SetRowTag(std::string value) { rowTag_ = std::move(value); }

  void Assign(const Vdei::TPersistent& source) override;

 private:
  std::string recordsTag_ = "RECORDS";
  std::string recordTag_ = "RECORD";
  std::string rowTag_ = "ROW";
};

}  // namespace VdExport
