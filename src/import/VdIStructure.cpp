#include "import/VdIStructure.h"

#include <algorithm>
#include <charconv>

#include "core/StrUtils.h"
#include "dataset/ClientDataSet.h"
#include "dataset/Field.h"
#include "import/ImpCnst.h"
#include "import/VdI2XML.h"
#include "import/VdIBase.h"

namespace VdImport {

using Vdei::TFieldType;

void SetClientReaderSettings(TVdImportBaseComponent& reader) {
  reader.SetAbortOnProblem(true);
  reader.SetAnimatedStatus(true);
  TVdIDataFormats& formats = *reader.DataFormats();
  formats.SetDateSeparator('/');
  formats.SetTimeSeparator(':');
  formats.SetFourDigitYear(true);
  formats.SetLeadingZerosInDate(true);
  formats.SetThousandSeparator(',');
  formats.SetDecimalSeparator('.');
  formats.SetCurrencyString("$");
  formats.SetBooleanTrue("True");
  formats.SetBooleanFalse("False");
  formats.SetUseRegionalSettings(false);
  reader.SetMode(imCopy);
  reader.SetTitleStatus(std::string(ImportMessage(SImporting)));
  reader.SetUseDisplayNames(false);
  reader.SetSourceFileName("VdImport" + reader.GetDefaultExt());
  if (reader.ImportKind() == kImportKindHTML) reader.SetRowFirst(2);
  if (auto* xml = dynamic_cast<TVdImportFromXML*>(&reader)) {
    formats.SetCustomDateTimeFormat("yyyymmddThhnnsszzz");
    xml->XMLTags()->SetRecordsTag("ROWDATA");
    xml->XMLTags()->SetRecordTag("RECORD");
    xml->XMLTags()->SetRowTag("ROW");
  }
}

TFieldType ColumnFieldType(TVdIDataType type) {
  switch (type) {
    case itInteger:
      return Vdei::ftInteger;
    case itFloat:
      return Vdei::ftFloat;
    case itDateTime:
      return Vdei::ftDateTime;
    case itDate:
      return Vdei::ftDate;
    case itTime:
      return Vdei::ftTime;
    case itBoolean:
      return Vdei::ftBoolean;
    case itMemo:
      return Vdei::ftMemo;
    case itBlob:
      return Vdei::ftBlob;
    case itString:
      break;
  }
  return Vdei::ftString;
}

void BuildFieldDefs(TVdIColumns& columns, Vdei::TFieldDefs& defs) {
  for (int i = 0; i < columns.Count(); ++i) {
    TVdIColumn& column = *columns[i];
    if (column.Size() == 0) column.SetSize(kDefaultStringSize);
    const TFieldType type = ColumnFieldType(column.DataType());
    defs.Add(column.FieldName(), type, type == Vdei::ftString ? column.Size() : 0);
  }
}

namespace {

// Whether text is "Field" followed by position in decimal.
bool IsHTMLKey(std::string_view text, int position) {
  if (!text.starts_with("Field")) return false;
  int number = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data() + 5, end, number);
  return error == std::errc() && ptr == end && number == position && text[5] != '0';
}

}  // namespace

void FilterCellValue(const Vdei::TField* field, Vdei::Variant& value) {
  if (field == nullptr || !value.IsString()) return;
  const std::string_view text = value.StringRef();
  if (text == field->FieldName() || IsHTMLKey(text, field->Index() + 1)) {
    value = Vdei::Variant::Null();
  }
}

void TVdIStructureBuilder::Attach(TVdImportBaseComponent& component) {
  component.SetDataSet(&table_);
  component.OnCreateStructure = [this](Vdei::TObject* sender, TVdIColumns* columns) {
    CreateStructure(sender, columns);
  };
  component.OnGetCellParams = [](Vdei::TObject*, Vdei::TField* field, Vdei::Variant& value) {
    FilterCellValue(field, value);
  };
  if (std::find(components_.begin(), components_.end(), &component) == components_.end()) {
    components_.push_back(&component);
  }
}

void TVdIStructureBuilder::Detach(TVdImportBaseComponent& component) {
  std::erase(components_, &component);
  component.OnCreateStructure = nullptr;
  component.OnGetCellParams = nullptr;
}

void TVdIStructureBuilder::CreateStructure(Vdei::TObject* sender, TVdIColumns* columns) {
  auto& reader = *Vdei::As<TVdImportBaseComponent>(sender);
  table_.Close();
  table_.FieldDefs()->Clear();
  BuildFieldDefs(*columns, *table_.FieldDefs());
  table_.CreateDataSet();
  for (TVdImportBaseComponent* component : components_) component->Mappings()->Clear();
  reader.Mappings()->Clear();
  if (reader.ImportKind() != kImportKindHTML) return reader.CreateDefaultMappings();
  for (int n = 1; n <= table_.FieldCount(); ++n) {
    reader.Mappings()->Add(table_.Fields(n - 1)->FieldName() + "=Field" + std::to_string(n));
  }
}

}  // namespace VdImport
