// TVdImportBaseComponent: settings, published properties, Assign, the
// structure hooks and the entry lists.
#include "import/VdIBase.h"

#include <algorithm>

#include "core/Properties.h"
#include "core/StrUtils.h"
#include "dataset/DataSet.h"
#include "import/ImpCnst.h"
#include "import/VdIBaseRunState.h"
#include "import/VdIStat.h"

namespace VdImport {

using Vdei::ClassInfoBuilder;
using Vdei::TClassInfo;
using Vdei::Variant;

bool IsKeyMode(TImportMode mode) {
  return mode == imUpdate || mode == imAppendUpdate || mode == imDelete || mode == imAppendNewOnly;
}

const TClassInfo& TVdImportBaseComponent::StaticClassInfo() {
  using C = TVdImportBaseComponent;
  static const TClassInfo info =
      ClassInfoBuilder<C, Vdei::TComponent>("TVdImportBaseComponent")
          .Boolean("AbortOnProblem", &C::AbortOnProblem, &C::SetAbortOnProblem, Variant(true))
          .Boolean("AnimatedStatus", &C::AnimatedStatus, &C::SetAnimatedStatus, Variant(true))
          .Enum("CharacterSet", {"csiANSI_WINDOWS", "csiASCII_MSDOS"}, &C::CharacterSet,
                &C::SetCharacterSet, Variant(int(csiANSI_WINDOWS)))
          .Object<TVdIDataFormats>("DataFormats", &C::DataFormats, &C::SetDataFormats)
          .Object<Vdei::TDataSet>("DataSet", &C::DataSet, &C::SetDataSet)
          .String(
              "DatasetKeys", &C::DatasetKeys,
              [](C& c, std::string v) { c.SetDatasetKeys(std::move(v)); }, Variant(""))
          .Object<TVdILoadCondition>("LoadCondition", &C::LoadCondition, &C::SetLoadCondition)
          .Object<Vdei::TStrings>(
              "Mappings", [](const C& c) -> Vdei::TStrings* { return c.Mappings(); },
              &C::SetMappings)
          .Enum("Mode",
                {"imAppend", "imUpdate", "imAppendUpdate", "imDelete", "imCopy", "imAppendNewOnly"},
                &C::Mode, &C::SetMode, Variant(int(imAppend)))
          .Set("Options",
               {"soShowMessage", "soExtendedStatistic", "soSkipEmptyRow", "soUseAnimatedControl",
                "soWaitCursor"},
               &C::Options, &C::SetOptions, Variant(int(kAllImportOptions)))
          .String(
              "TitleStatus", &C::TitleStatus,
              [](C& c, std::string v) { c.SetTitleStatus(std::move(v)); },
              Variant(std::string(ImportMessage(SImporting))))
          .Object<TVdIStatistic>("Statistic", &C::Statistic, &C::SetStatistic)
          .String(
              "SpecificationDir", &C::SpecificationDir,
              [](C& c, std::string v) { c.SetSpecificationDir(std::move(v)); }, Variant(""))
          .Boolean("UseDisplayNames", &C::UseDisplayNames, &C::SetUseDisplayNames, Variant(false))
          .Enum("TrimSpaces", {"tsNoTrim", "tsTrimRight", "tsTrimLeft", "tsTrimLeftRight"},
                &C::TrimSpaces, &C::SetTrimSpaces, Variant(int(tsNoTrim)))
          .Build();
  return info;
}

TVdImportBaseComponent::TVdImportBaseComponent(Vdei::TComponent* owner)
    : TComponent(owner),
      mappings_(std::make_unique<Vdei::TStringList>()),
      loadCondition_(std::make_unique<TVdILoadCondition>()),
      dataFormats_(std::make_unique<TVdIDataFormats>()),
      statistic_(std::make_unique<TVdIStatistic>()),
      columns_(std::make_unique<TVdIColumns>(this)),
      titleStatus_(ImportMessage(SImporting)) {
  SetDefaultSourceFileName();
}

TVdImportBaseComponent::~TVdImportBaseComponent() = default;

void TVdImportBaseComponent::SetDefaultSourceFileName() {
  sourceFileName_ = "VdImport" + GetDefaultExt();
}

void TVdImportBaseComponent::SetDataFormats(const TVdIDataFormats* value) {
  if (value != nullptr) dataFormats_->Assign(*value);
}

void TVdImportBaseComponent::SetLoadCondition(const TVdILoadCondition* value) {
  if (value != nullptr) loadCondition_->Assign(*value);
}

void TVdImportBaseComponent::SetMappings(const Vdei::TStrings* value) {
  if (value != nullptr) mappings_->Assign(*value);
}

void TVdImportBaseComponent::SetStatistic(const TVdIStatistic* value) {
  if (value != nullptr) statistic_->Assign(*value);
}

void TVdImportBaseComponent::SetDataSet(Vdei::TDataSet* value) {
  if (value == dataSet_) return;
  if (dataSet_ != nullptr) dataSet_->RemoveFreeNotification(this);
  dataSet_ = value;
  if (dataSet_ != nullptr) dataSet_->FreeNotification(this);
}

void TVdImportBaseComponent::Notification(Vdei::TComponent* component, Vdei::TOperation operation) {
  if (operation == Vdei::opRemove && component == dataSet_) dataSet_ = nullptr;
  TComponent::Notification(component, operation);
}

int64_t TVdImportBaseComponent::RowLimit() const {
  const int64_t limit = int64_t{rowLast_} - std::max(rowFirst_, 1) + 1;
  return std::max<int64_t>(limit, 0);
}

void TVdImportBaseComponent::Assign(const Vdei::TPersistent& source) {
  const auto* other = dynamic_cast<const TVdImportBaseComponent*>(&source);
  if (other == nullptr) return TComponent::Assign(source);
  if (other == this) return;
  importKind_ = other->importKind_;
  animatedStatus_ = other->animatedStatus_;
  SetDataSet(other->dataSet_);
  datasetKeys_ = other->datasetKeys_;
  useDisplayNames_ = other->useDisplayNames_;
  fieldDelimiter_ = other->fieldDelimiter_;
  textQualifier_ = other->textQualifier_;
  recordSeparator_ = other->recordSeparator_;
  rowFirst_ = other->rowFirst_;
  rowLast_ = other->rowLast_;
  rowFieldNames_ = other->rowFieldNames_;
  for (int i = 0; i < other->mappings_->Count(); ++i) mappings_->Add((*other->mappings_)[i]);
  mode_ = other->mode_;
  options_ = other->options_;
  sourceFileName_ = other->sourceFileName_;
  characterSet_ = other->characterSet_;
  trimSpaces_ = other->trimSpaces_;
  titleStatus_ = other->titleStatus_;
  OnCreateStructure = other->OnCreateStructure;
  OnErrorEvent = other->OnErrorEvent;
  OnGetCellParams = other->OnGetCellParams;
  OnBeforeRecordEvent = other->OnBeforeRecordEvent;
  OnAfterRecordEvent = other->OnAfterRecordEvent;
  OnLocateRecord = other->OnLocateRecord;
  OnBeforeUpdate = other->OnBeforeUpdate;
  OnBeforeFieldUpdate = other->OnBeforeFieldUpdate;
  statistic_->Assign(*other->statistic_);
  dataFormats_->Assign(*other->dataFormats_);
  loadCondition_->Assign(*other->loadCondition_);
}

namespace {

std::string PublishedText(const Vdei::TDataSet& dataSet, std::string_view name,
                          Vdei::TTypeKind kind) {
  if (!Vdei::PropIsType(dataSet, name, kind)) return {};
  if (kind == Vdei::tkString) return Vdei::GetPropValue(dataSet, name).AsString();
  const auto* lines = dynamic_cast<const Vdei::TStrings*>(Vdei::GetObjectProp(dataSet, name));
  return lines != nullptr ? lines->Text() : std::string();
}

}  // namespace

std::string TVdImportBaseComponent::GetDataSetTableName(const Vdei::TDataSet* dataSet) {
  if (dataSet == nullptr) return {};
  std::string name = Vdei::IsPublishedProp(*dataSet, "TableName")
                         ? PublishedText(*dataSet, "TableName", Vdei::tkString)
                         : PublishedText(*dataSet, "SQL", Vdei::tkClass);
  return name.substr(0, name.find('.'));
}

std::string TVdImportBaseComponent::GetIndexFieldName(const Vdei::TDataSet* dataSet) {
  if (dataSet == nullptr) return {};
  return PublishedText(*dataSet, "IndexFieldName", Vdei::tkString);
}

// --- hooks -------------------------------------------------------------------

void TVdImportBaseComponent::OpenSource() {
  if (dataFormats_->UseRegionalSettings()) dataFormats_->LoadFromRegionalSettings();
}

bool TVdImportBaseComponent::GetMissingProperty(std::string& name) {
  if (dataSet_ != nullptr) return false;
  name = "DataSet";
  return true;
}

std::string TVdImportBaseComponent::GetFileFilter() {
  return std::string(ImportMessage(SDefaultFileFilter));
}

void TVdImportBaseComponent::CreateColumns() {
  if (dataSet_ != nullptr) AddDataSetColumns(*dataSet_, *columns_);
}

void TVdImportBaseComponent::CreateDefaultMappings() {
  if (dataSet_ != nullptr) MakeDefaultMappings(*columns_, *dataSet_, useDisplayNames_, *mappings_);
}

void TVdImportBaseComponent::PrepareMappings() {
  keyEntries_.clear();
  if (!datasetKeys_.empty() && IsKeyMode(mode_)) {
    keyEntries_ = MakeKeyEntries(*mappings_, datasetKeys_, UsesShortNames());
  }
  mappingEntries_ = MakeMappingEntries(*mappings_, UsesShortNames());
}

void TVdImportBaseComponent::PrepareFieldList() {
  importEntries_ = MakeImportEntries(mappingEntries_, keyEntries_, dataSet_);
  LinkToImportEntries(mappingEntries_, importEntries_);
  LinkToImportEntries(keyEntries_, importEntries_);
}

std::vector<std::string> TVdImportBaseComponent::MissingKeyNames() {
  std::vector<std::string> missing;
  if (IsKeyMode(mode_)) MakeKeyEntries(*mappings_, datasetKeys_, UsesShortNames(), &missing);
  return missing;
}

}  // namespace VdImport
