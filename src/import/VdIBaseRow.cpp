// TVdImportBaseComponent: evaluating one source row. Every import entry's
// source is evaluated for its field (VdICompiledSource.h), the cell event
// and the OEM conversion adjust the values, the load condition and the
// empty-row rule decide whether the row is stored, and the values are
// handed to the mapping and key entries.
#include <algorithm>

#include "core/CodePage.h"
#include "core/StrUtils.h"
#include "dataset/DataSet.h"
#include "dataset/Field.h"
#include "import/VdIBase.h"
#include "import/VdIBaseRunState.h"
#include "import/VdIConvert.h"
#include "platform/Application.h"
#include "platform/Forms.h"

namespace VdImport {

using Vdei::TComponent;
using Vdei::TField;
using Vdei::Variant;

namespace {

bool HasText(const Variant& value) {
  return !value.IsString() || !Vdei::Trim(value.StringRef()).empty();
}

void Trim(Variant& value, TVdITrimSpaces mode) {
  if (mode == tsNoTrim || !value.IsString()) return;
  const std::string& text = value.StringRef();
  std::string_view trimmed = text;
  if (mode == tsTrimRight || mode == tsTrimLeftRight) trimmed = Vdei::TrimRight(trimmed);
  if (mode == tsTrimLeft || mode == tsTrimLeftRight) trimmed = Vdei::TrimLeft(trimmed);
  if (trimmed.size() != text.size()) value = std::string(trimmed);
}

bool OemConvertible(const TField* field) {
  if (field == nullptr) return true;
  const Vdei::TFieldType type = field->DataType();
  return type == Vdei::ftString || type == Vdei::ftMemo || type == Vdei::ftFmtMemo;
}

}  // namespace

bool UnwrapName(Variant& value) {
  if (!value.IsString()) return false;
  const std::string& text = value.StringRef();
  if (text.size() < 2) return false;
  const bool wrapped =
      (text.front() == '[' && text.back() == ']') || (text.front() == '"' && text.back() == '"');
  if (wrapped) value = text.substr(1, text.size() - 2);
  return wrapped;
}

std::string ExtractToken(char separator, std::string& text) {
  const size_t at = text.find(separator);
  std::string token = text.substr(0, at);
  text.erase(0, at == std::string::npos ? text.size() : at + 1);
  token.resize(Vdei::TrimRight(token).size());
  return token;
}

// --- the row -----------------------------------------------------------------

bool TVdImportBaseComponent::ProcessRecord() {
  TVdIRunState& run = *run_;
  bool rowHasText = false;
  for (size_t i = 0; i < importEntries_.size(); ++i) {
    TVdIEntry& entry = importEntries_[i];
    TVdICellUse cellUse;
    try {
      run.Sources[i]->Evaluate(entry.Value, cellUse);
    } catch (const Vdei::Exception& error) {
      throw EVdIRowError(error.Message(), SourceRowNumber(), entry.FieldName, "");
    }
    rowHasText = rowHasText || cellUse.HadText || (!cellUse.ReadCell && !IsEmptyText(entry.Value));
  }
  ApplyCellParams();
  bool accept = RowPassesConditions(rowHasText);
  if (OnBeforeRecordEvent) OnBeforeRecordEvent(this, std::string(), importEntries_, accept);
  if (accept) CopyValuesToEntries();
  return accept;
}

void TVdImportBaseComponent::ApplyCellParams() {
  const bool oem = characterSet_ == csiASCII_MSDOS;
  if (!oem && !OnGetCellParams) return;
  for (TVdIEntry& entry : importEntries_) {
    TField* field = entry.Link >= 0 ? run_->Fields[entry.Link] : nullptr;
    if (oem && OemConvertible(field) && entry.Value.IsString()) {
      entry.Value = Vdei::OemToAnsi(entry.Value.StringRef());
    }
    if (OnGetCellParams) OnGetCellParams(this, field, entry.Value);
  }
}

bool TVdImportBaseComponent::RowPassesConditions(bool rowHasText) {
  TVdIRunState& run = *run_;
  TVdICellUse unused;
  Variant condition;
  if (run.LoadWhen) {
    run.LoadWhen->Evaluate(condition, unused);
    if (!condition.AsBoolean()) return false;
  }
  if (run.SkipIf) {
    run.SkipIf->Evaluate(condition, unused);
    if (condition.AsBoolean()) return false;
  }
  return !HasOption(soSkipEmptyRow) || rowHasText;
}

void TVdImportBaseComponent::CopyValuesToEntries() {
  const auto copy = [this](TVdIEntries& entries) {
    for (TVdIEntry& entry : entries) {
      if (entry.Link >= 0) entry.Value = importEntries_[entry.Link].Value;
    }
  };
  copy(mappingEntries_);
  if (mode_ != imAppend && mode_ != imCopy) copy(keyEntries_);
}

int TVdImportBaseComponent::SourceRowNumber() const {
  return std::max(rowFirst_, 1) - 1 + statistic_->TotalImported();
}

// --- names -------------------------------------------------------------------

void TVdImportBaseComponent::EvaluateSource(const std::string& source, int fieldIndex,
                                            Variant& value) {
  TVdICompiledSource compiled(*this, source, fieldIndex);
  TVdICellUse unused;
  compiled.Evaluate(value, unused);
}

void TVdImportBaseComponent::EvaluateIdentifier(const TExpArguments& args, int argCount,
                                                Variant& value, int fieldIndex,
                                                TVdICellUse* cellUse) {
  const bool wrapped = UnwrapName(value);
  const std::string name = value.AsString();
  if (!wrapped && argCount >= 4 && Vdei::SameText(name, "LOOKUP")) {
    value = Lookup(args);
  } else if (!wrapped && argCount >= 3 && Vdei::SameText(name, "SUBSTITUTE")) {
    value = Substitute(args);
  } else {
    return ReadCell(name, value, fieldIndex, cellUse);
  }
  FinishValue(value, fieldIndex);
}

void TVdImportBaseComponent::ReadCell(const std::string& name, Variant& value, int fieldIndex,
                                      TVdICellUse* cellUse) {
  const TVdICellLookup found = GetCellValue(name, value);
  if (found == clMissing) value = Variant::Null();
  if (cellUse != nullptr && found != clNoCell) {
    cellUse->ReadCell = true;
    cellUse->HadText = cellUse->HadText || (found == clValue && HasText(value));
  }
  FinishValue(value, fieldIndex);
}

void TVdImportBaseComponent::FinishValue(Variant& value, int fieldIndex) {
  Trim(value, trimSpaces_);
  if (IsEmptyText(value)) {
    value = Variant::Null();
    return;
  }
  if (fieldIndex < 0 || dataSet_ == nullptr) return;
  try {
    if (run_) {
      ConvertFieldValue(value, *run_->Fields[fieldIndex], run_->Conversion);
    } else {
      ConvertFieldValue(value, *dataSet_->Fields(fieldIndex), *dataFormats_, importKind_,
                        AllowsCData());
    }
  } catch (const Vdei::Exception&) {
    // The value stays as far as it got; storing it reports the problem.
  }
}

TVdICellLookup TVdImportBaseComponent::GetCellValue(const std::string& name, Variant& value) {
  value = name;
  return clNoCell;
}

void TVdImportBaseComponent::GetCellValueByIndex(int, Variant& value) {
  value = Variant::Null();
}

// --- LOOKUP and SUBSTITUTE ---------------------------------------------------

TComponent* TVdImportBaseComponent::FindLookupComponent(const std::string& name) const {
  const size_t dot = name.find('.');
  if (dot != std::string::npos) {
    const TComponent* form = Vdei::Application().FindComponent(name.substr(0, dot));
    return (form != nullptr ? form : this)->FindComponent(name.substr(dot + 1));
  }
  const TComponent* owner = Owner();
  if (const auto* control = dynamic_cast<const Vdei::TControl*>(owner)) owner = control->Form();
  return (owner != nullptr ? owner : this)->FindComponent(name);
}

Variant TVdImportBaseComponent::Lookup(const TExpArguments& args) const {
  TComponent* found = FindLookupComponent(args[0].AsString());
  if (found == nullptr) return Variant::Null();
  auto* dataSet = Vdei::As<Vdei::TDataSet>(found);
  if (!dataSet->Locate(args[1].AsString(), args[2])) return Variant::Null();
  return dataSet->FieldByName(args[3].AsString())->Value();
}

Variant TVdImportBaseComponent::Substitute(const TExpArguments& args) {
  const std::string text = args[0].AsString();
  std::string keys = args[1].AsString();
  std::string results = args[2].AsString();
  while (!keys.empty()) {
    const std::string key = ExtractToken(';', keys);
    std::string result = ExtractToken(';', results);
    if (key == text) return result;
  }
  return Variant::Null();
}

}  // namespace VdImport
