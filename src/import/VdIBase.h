// TVdImportBaseComponent: the import component that every source format
// derives from. It loads the rows of a source into a target dataset.
//
// A reader (TVdImportFromXML, TVdImportFromHTML) overrides the source hooks:
// OpenSource reads the whole source, FirstRecord / NextRecord / HasRecord
// walk its rows, RecordCount counts them, GetCellValue answers a cell of
// the current row by name, CreateColumns describes its columns. The base
// holds everything else: the settings, the mapping of fields to source
// expressions, the run loop with its six modes, row evaluation, the
// statistic and the progress window.
//
// A run (Execute, or ImportFromStream with a stream):
//   - raises "Property %s wasn't specified." before reading when DataSet,
//     the reader's source name, or (in a key mode) DatasetKeys is missing,
//     or when DatasetKeys names a field that has no mapping line;
//   - reads the source (a reader's error leaves Execute with Result
//     irUnknown);
//   - without Mappings derives the columns, raises OnCreateStructure and,
//     when the handler made no mapping lines, maps columns to fields by
//     name (those lines go again when the run ends, however it ends);
//   - stores the rows; a row whose reading, evaluation or storing fails is
//     counted in TotalErrors once and reported once to OnErrorEvent, which
//     may stop the run (Abort, preset from AbortOnProblem); without a
//     handler the row is dropped and the run goes on;
//   - ends irExecuted ("... completed successfully." or "... completed
//     with %d error(s)."), irCanceled (Cancel, window closed, or Abort set
//     in OnAfterRecordEvent) or irFailed (any other error; ErrorText says
//     which), leaving the dataset on its first record with its controls
//     enabled.
// A count is raised only after its action succeeded. A Null key value
// matches no record. A component runs one import at a time: Execute while
// a run is in progress raises.
//
// Mapping sources are expressions of the expression language (VdIPars.h)
// whose names are cells of the current row (EvaluateIdentifier). Each
// source is compiled once per run.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Component.h"
#include "core/Exception.h"
#include "core/Strings.h"
#include "core/Variant.h"
#include "import/VdIColumns.h"
#include "import/VdIDataFormats.h"
#include "import/VdIMappings.h"
#include "import/VdIParsTree.h"
#include "import/VdIStatistic.h"

namespace Vdei {
class TDataSet;
class TField;
class TStream;
}  // namespace Vdei

namespace VdImport {

class TfrmVdIProcess;
struct TVdICellUse;
struct TVdIRunState;

// A source's answer for a cell name (GetCellValue).
enum TVdICellLookup { clValue, clMissing, clNoCell };

enum TImportMode { imAppend, imUpdate, imAppendUpdate, imDelete, imCopy, imAppendNewOnly };
enum TVdIOption {
  soShowMessage,
  soExtendedStatistic,
  soSkipEmptyRow,
  soUseAnimatedControl,
  soWaitCursor
};
// A set of TVdIOption, bit n = ordinal n.
using TVdIOptions = uint8_t;
constexpr TVdIOptions kAllImportOptions = 31;
enum TVdICharacterSet { csiANSI_WINDOWS, csiASCII_MSDOS };
enum TVdITrimSpaces { tsNoTrim, tsTrimRight, tsTrimLeft, tsTrimLeftRight };

// The format kinds of the components (ImportKind).
constexpr int kImportKindBase = 2;
constexpr int kImportKindHTML = 3;

// Whether mode locates rows by their key fields.
bool IsKeyMode(TImportMode mode);

// The text up to the first separator (the whole text when there is none),
// without its trailing blanks and control characters; the token and the
// separator are removed from text.
std::string ExtractToken(char separator, std::string& text);

// A text in square brackets or in double quotes loses them; true when it
// had them.
bool UnwrapName(Vdei::Variant& value);

// An error of one source row: the row's number in the source, the field
// being evaluated or stored (empty when none) and the value's text. The
// message is that of the error underneath.
class EVdIRowError : public Vdei::Exception {
 public:
  EVdIRowError(const std::string& message, int row, std::string fieldName, std::string valueText)
      : Exception(message),
        row_(row),
        fieldName_(std::move(fieldName)),
        valueText_(std::move(valueText)) {}
  int Row() const { return row_; }
  const std::string& FieldName() const { return fieldName_; }
  const std::string& ValueText() const { return valueText_; }

 private:
  int row_;
  std::string fieldName_;
  std::string valueText_;
};

using TVdINotifyEvent = std::function<void(Vdei::TObject* Sender)>;
using TVdIOnCreateStructure = std::function<void(Vdei::TObject* Sender, TVdIColumns* Columns)>;
using TGetCellParamsEvent =
    std::function<void(Vdei::TObject* Sender, Vdei::TField* Field, Vdei::Variant& Value)>;
using TBeforeRecordEvent = std::function<void(Vdei::TObject* Sender, const std::string& Fields,
                                              TVdIEntries& Values, bool& Accept)>;
using TLocateRecordEvent =
    std::function<void(Vdei::TObject* Sender, const std::string& KeyFields,
                       const Vdei::Variant& Values, bool& Exist, bool& ExecuteLocate)>;
using TBeforeFieldEvent = std::function<void(Vdei::TObject* Sender, Vdei::TField* Field,
                                             Vdei::Variant& Value, bool& Accept)>;
using TAfterRecordEvent = std::function<void(Vdei::TObject* Sender, bool& Abort)>;
using TErrorEvent =
    std::function<void(Vdei::TObject* Sender, const Vdei::Exception& Error, bool& Abort)>;
using TVdISpecificationEvent = std::function<void(Vdei::TObject* Sender, std::string& AFileName)>;

class TVdImportBaseComponent : public Vdei::TComponent {
 public:
  VDEI_CLASS(TVdImportBaseComponent)
  explicit TVdImportBaseComponent(Vdei::TComponent* owner);
  ~TVdImportBaseComponent() override;

  // Runs one import from the current source (see the header comment).
  void Execute();
  // From another import component: its settings, mappings (appended),
  // events and owned settings objects; AbortOnProblem, SpecificationDir,
  // OnBeforeExecute, OnAfterExecute, the load and save events and Columns
  // are not copied. Any other source as TComponent does.
  void Assign(const Vdei::TPersistent& source) override;

  // --- published ---
  bool AbortOnProblem() const { return abortOnProblem_; }
  void SetAbortOnProblem(bool value) { abortOnProblem_ = value; }
  bool AnimatedStatus() const { return animatedStatus_; }
  void SetAnimatedStatus(bool value) { animatedStatus_ = value; }
  TVdICharacterSet CharacterSet() const { return characterSet_; }
  void SetCharacterSet(TVdICharacterSet value) { characterSet_ = value; }
  TVdIDataFormats* DataFormats() const { return dataFormats_.get(); }
  void SetDataFormats(const TVdIDataFormats* value);  // copies
  Vdei::TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(Vdei::TDataSet* value);
  const std::string& DatasetKeys() const { return datasetKeys_; }
  void SetDatasetKeys(std::string value) { datasetKeys_ = std::move(value); }
  TVdILoadCondition* LoadCondition() const { return loadCondition_.get(); }
  void SetLoadCondition(const TVdILoadCondition* value);  // copies
  Vdei::TStrings* Mappings() const { return mappings_.get(); }
  void SetMappings(const Vdei::TStrings* value);  // copies the lines
  TImportMode Mode() const { return mode_; }
  void SetMode(TImportMode value) { mode_ = value; }
  TVdIOptions Options() const { return options_; }
  void SetOptions(TVdIOptions value) { options_ = value; }
  bool HasOption(TVdIOption option) const { return (options_ >> option & 1) != 0; }
  const std::string& TitleStatus() const { return titleStatus_; }
  void SetTitleStatus(std::string value) { titleStatus_ = std::move(value); }
  TVdIStatistic* Statistic() const { return statistic_.get(); }
  void SetStatistic(const TVdIStatistic* value);  // copies
  const std::string& SpecificationDir() const { return specificationDir_; }
  void SetSpecificationDir(std::string value) { specificationDir_ = std::move(value); }
  bool UseDisplayNames() const { return useDisplayNames_; }
  void SetUseDisplayNames(bool value) { useDisplayNames_ = value; }
  TVdITrimSpaces TrimSpaces() const { return trimSpaces_; }
  void SetTrimSpaces(TVdITrimSpaces value) { trimSpaces_ = value; }

  // --- held here, published by the readers ---
  const std::string& SourceFileName() const { return sourceFileName_; }
  void SetSourceFileName(std::string value) { sourceFileName_ = std::move(value); }
  int RowFirst() const { return rowFirst_; }
  void SetRowFirst(int value) { rowFirst_ = value; }
  int RowLast() const { return rowLast_; }
  void SetRowLast(int value) { rowLast_ = value; }
  int RowFieldNames() const { return rowFieldNames_; }
  void SetRowFieldNames(int value) { rowFieldNames_ = value; }
  // The most rows the bounds let through: RowLast - RowFirst + 1 with a
  // RowFirst below 1 taken as 1, never below 0, without overflow.
  int64_t RowLimit() const;

  // Settings kept for delimited-text readers (copied by Assign).
  char FieldDelimiter() const { return fieldDelimiter_; }
  void SetFieldDelimiter(char value) { fieldDelimiter_ = value; }
  char TextQualifier() const { return textQualifier_; }
  void SetTextQualifier(char value) { textQualifier_ = value; }
  const std::string& RecordSeparator() const { return recordSeparator_; }
  void SetRecordSeparator(std::string value) { recordSeparator_ = std::move(value); }

  // --- run state ---
  TVdIColumns* Columns() const { return columns_.get(); }
  int ImportKind() const { return importKind_; }
  // The stream of ImportFromStream while that call runs, else none.
  Vdei::TStream* SourceStream() const { return sourceStream_; }
  const TVdIEntries& MappingEntries() const { return mappingEntries_; }
  const TVdIEntries& KeyEntries() const { return keyEntries_; }
  const TVdIEntries& ImportEntries() const { return importEntries_; }
  bool AbortFlag() const { return abortFlag_; }
  bool Running() const { return running_; }
  // The message of the error that failed the last run (irFailed); empty
  // after any other end.
  const std::string& ErrorText() const { return errorText_; }
  // The final text of the last run that reached its end.
  const std::string& FinalText() const { return finalText_; }

  // The dataset's published "TableName", else its "SQL" text, else empty;
  // cut before its first ".".
  static std::string GetDataSetTableName(const Vdei::TDataSet* dataSet);
  // The dataset's published "IndexFieldName", else empty.
  static std::string GetIndexFieldName(const Vdei::TDataSet* dataSet);

  // --- the progress window ---
  bool ShowProgressWindow(const std::string& caption, const std::string& statusText,
                          bool showCounters, bool animate, const std::string& deletedText,
                          const std::string& updatedText, const std::string& addedText,
                          const std::string& errorsText, const std::string& processedText,
                          const std::string& cancelText);
  void SetProgressRange(int minimum, int maximum, int position);
  bool UpdateProgress(const std::string& statusText, int processed, int updated, int deleted,
                      int added, int errors);
  bool IsCanceled() const;
  bool CloseProgressWindow();
  TfrmVdIProcess* ProgressWindow() const { return progressWindow_.get(); }

  // --- hooks, in slot order ---
  virtual void ImportRecords();
  virtual void OpenSource();
  virtual void CloseSource() {}
  virtual void PrepareFieldList();
  virtual void PrepareMappings();
  // Evaluates the current row into the entries; true to store it.
  virtual bool ProcessRecord();
  virtual void FirstRecord() {}
  virtual void NextRecord() {}
  virtual bool HasRecord() { return false; }
  virtual int RecordCount() { return 0; }
  virtual void GetCellValueByIndex(int index, Vdei::Variant& value);
  // The text of the named cell of the current row into value, or what the
  // source says instead: clMissing for a cell of a column that this row
  // has no value for (a missing attribute, an empty HTML cell), clNoCell
  // for a name that is no column of the source (value then keeps the name:
  // an unknown name is its own text). The base has no source: clNoCell.
  virtual TVdICellLookup GetCellValue(const std::string& name, Vdei::Variant& value);
  // The value of one source expression for the current row, converted for
  // the dataset field fieldIndex (none below 0).
  virtual void EvaluateSource(const std::string& source, int fieldIndex, Vdei::Variant& value);
  virtual bool UsesShortNames() { return false; }
  // A required property that is not set: true with its name.
  virtual bool GetMissingProperty(std::string& name);
  virtual bool AllowsCData() { return false; }
  // Runs Execute on stream (from its current position); the stream stays
  // the caller's and is forgotten when the call returns.
  virtual void ImportFromStream(Vdei::TStream* stream);
  virtual std::string GetDefaultExt() { return ".VDI"; }
  virtual std::string GetFileFilter();
  virtual void CreateColumns();
  virtual void CreateDefaultMappings();

  // The expression language's name callback: value holds a name (with
  // argCount arguments in args) of a source evaluated for the dataset field
  // fieldIndex (none below 0) and becomes its value: a name in square
  // brackets or double quotes loses them and is always a cell; LOOKUP with
  // 4 and SUBSTITUTE with 3 or more arguments are the two functions; any
  // other name is the cell of that name (GetCellValue; a missing cell is
  // Null). Text is trimmed by TrimSpaces, an empty text is Null, and a
  // value for a field is converted to the field's kind (a conversion that
  // fails leaves what it reached). cellUse (may be null) learns of cells.
  void EvaluateIdentifier(const TExpArguments& args, int argCount, Vdei::Variant& value,
                          int fieldIndex, TVdICellUse* cellUse);
  // What EvaluateIdentifier gives for a name (already without brackets or
  // quotes) that is read as a cell.
  void ReadCell(const std::string& name, Vdei::Variant& value, int fieldIndex,
                TVdICellUse* cellUse);

  TVdINotifyEvent OnBeforeExecute;
  TVdINotifyEvent OnAfterExecute;
  TVdIOnCreateStructure OnCreateStructure;
  TGetCellParamsEvent OnGetCellParams;
  TBeforeRecordEvent OnBeforeRecordEvent;
  TLocateRecordEvent OnLocateRecord;
  TVdINotifyEvent OnBeforeUpdate;
  TBeforeFieldEvent OnBeforeFieldUpdate;
  TAfterRecordEvent OnAfterRecordEvent;
  TErrorEvent OnErrorEvent;
  // Stored; never raised here.
  TVdISpecificationEvent OnBeforeLoadSpecification;
  TVdISpecificationEvent OnAfterLoadSpecification;
  TVdISpecificationEvent OnBeforeSaveSpecification;
  TVdISpecificationEvent OnAfterSaveSpecification;

 protected:
  void Notification(Vdei::TComponent* component, Vdei::TOperation operation) override;
  void SetImportKind(int value) { importKind_ = value; }
  // Constructors of readers call this once their GetDefaultExt is in
  // place: SourceFileName := "VdImport" + GetDefaultExt().
  void SetDefaultSourceFileName();

 private:
  // Execute's steps.
  void CheckRequiredProperties();
  void RunProtected();
  void MakeStructure(bool& temporaryMappings);
  void ReportEnd();
  // ImportRecords' steps.
  void CompileSources();
  void DeleteAllRecords();
  void RunRecordLoop();
  void ImportCurrentRow();
  bool ReportRowError(std::exception_ptr error);
  // Key lookup and the store of one row.
  bool LocateRow();
  TVdIAction ChooseAction(bool exist) const;
  void StoreRow(TVdIAction action);
  void ApplyAction(TVdIAction action);
  void AssignFields();
  void CountAction(TVdIAction action);
  // Row evaluation.
  void ApplyCellParams();
  // Trimming, Null for an empty text, the conversion for field fieldIndex.
  void FinishValue(Vdei::Variant& value, int fieldIndex);
  bool RowPassesConditions(bool rowHasText);
  void CopyValuesToEntries();
  int SourceRowNumber() const;
  std::vector<std::string> MissingKeyNames();
  Vdei::TComponent* FindLookupComponent(const std::string& name) const;
  Vdei::Variant Lookup(const TExpArguments& args) const;
  static Vdei::Variant Substitute(const TExpArguments& args);

  std::unique_ptr<Vdei::TStringList> mappings_;
  std::unique_ptr<TVdILoadCondition> loadCondition_;
  std::unique_ptr<TVdIDataFormats> dataFormats_;
  std::unique_ptr<TVdIStatistic> statistic_;
  std::unique_ptr<TVdIColumns> columns_;
  bool abortOnProblem_ = true;
  bool animatedStatus_ = true;
  TVdICharacterSet characterSet_ = csiANSI_WINDOWS;
  Vdei::TDataSet* dataSet_ = nullptr;
  std::string datasetKeys_;
  TImportMode mode_ = imAppend;
  TVdIOptions options_ = kAllImportOptions;
  std::string titleStatus_;
  std::string specificationDir_;
  bool useDisplayNames_ = false;
  TVdITrimSpaces trimSpaces_ = tsNoTrim;
  std::string sourceFileName_;
  int rowFirst_ = 1;
  int rowLast_ = 2147483647;
  int rowFieldNames_ = 1;
  char fieldDelimiter_ = '\t';
  char textQualifier_ = '"';
  std::string recordSeparator_ = "\r\n";

  int importKind_ = kImportKindBase;
  Vdei::TStream* sourceStream_ = nullptr;
  TVdIEntries mappingEntries_;
  TVdIEntries keyEntries_;
  TVdIEntries importEntries_;
  bool abortFlag_ = false;
  bool running_ = false;
  std::string errorText_;
  std::string finalText_;
  std::unique_ptr<TVdIRunState> run_;
  std::unique_ptr<TfrmVdIProcess> progressWindow_;
};

}  // namespace VdImport
