// TXMLTagNames: the three element names of an XML package's records
// section (RecordsTag, RecordTag, RowTag; "RECORDS", "RECORD", "ROW" when
// made), published in that order. The export and the import publish them
// under their own class names (TVdEXMLTags, TVdIXMLTags), which add
// nothing. Assign copies the three names from an object of the same class;
// any other source goes to TPersistent::Assign.
#pragma once

#include <string>

#include "core/Object.h"

namespace Vdei {

class TXMLTagNames : public TPersistent {
 public:
  VDEI_CLASS(TXMLTagNames)
  TXMLTagNames() = default;

  const std::string& RecordsTag() const { return recordsTag_; }
  void SetRecordsTag(std::string value) { recordsTag_ = std::move(value); }
  const std::string& RecordTag() const { return recordTag_; }
  void SetRecordTag(std::string value) { recordTag_ = std::move(value); }
  const std::string& RowTag() const { return rowTag_; }
  void SetRowTag(std::string value) { rowTag_ = std::move(value); }

  void Assign(const TPersistent& source) override;

 private:
  std::string recordsTag_ = "RECORDS";
  std::string recordTag_ = "RECORD";
  std::string rowTag_ = "ROW";
};

}  // namespace Vdei
