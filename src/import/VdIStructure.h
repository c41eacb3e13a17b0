// The in-memory table's structure from an import's columns, and the cell
// filter: the client's OnCreateStructure and OnGetCellParams handlers,
// shared by VDEI_CLI and vdei-import.
//
//   TVdIStructureBuilder builder(*table);
//   builder.Attach(*xmlReader);     // both events of each component that
//   builder.Attach(*htmlReader);    // writes into the table
//   xmlReader->ImportFromStream(&package);
//
// CreateStructure (OnCreateStructure) closes the table, clears its field
// definitions, adds one definition per column (BuildFieldDefs) and creates
// the table; then it clears the Mappings of every attached component (the
// table has a new shape, so a component that last wrote the old shape must
// build its own again) and fills the sender's: "Name=FieldN" by position
// for an HTML reader (ImportKind 3), the sender's CreateDefaultMappings
// otherwise. Mappings so made stay after the run, so the next import
// through the same component keeps the table's structure.
//
// The attached components must outlive the builder's use of them, or be
// detached first (the client owns all of them on one form).
#pragma once

#include <vector>

#include "core/Variant.h"
#include "dataset/FieldType.h"
#include "import/VdIColumns.h"

namespace Vdei {
class TClientDataSet;
class TField;
class TFieldDefs;
class TObject;
}  // namespace Vdei

namespace VdImport {

class TVdImportBaseComponent;

// The client's reader settings, which vdei-import starts from too:
// AbortOnProblem and AnimatedStatus true; data formats "/", ":", four-digit
// years with leading zeros, "," and ".", "$", "True" / "False", no regional
// settings; Mode imCopy; TitleStatus "Importing..."; UseDisplayNames false;
// SourceFileName "VdImport" + the reader's extension. An XML reader also
// gets the CustomDateTimeFormat "yyyymmddThhnnsszzz" (the form the export
// writes date-times in) and the tags "ROWDATA", "RECORD", "ROW"; an HTML
// reader RowFirst 2 (the first table row is the header).
void SetClientReaderSettings(TVdImportBaseComponent& reader);

// The string size of a column's field: its Size, or 30 when that is 0.
constexpr int kDefaultStringSize = 30;

// The field type of a column type: itString ftString, itInteger
// ftInteger, itFloat ftFloat, itDateTime ftDateTime, itDate ftDate, itTime
// ftTime, itBoolean ftBoolean, itMemo ftMemo, itBlob ftBlob.
Vdei::TFieldType ColumnFieldType(TVdIDataType type);

// One definition per column, in order, not required: named by FieldName,
// typed by ColumnFieldType; a string field sized by the column's Size (a
// column of Size 0 is set to 30 first), every other field 0.
void BuildFieldDefs(TVdIColumns& columns, Vdei::TFieldDefs& defs);

// The cell filter: a text value that equals the field's name, or the
// field's HTML key ("Field" + its position from 1), becomes Null, so a
// reader's no-value answer never lands in a field. Values of no field, and
// values already converted to a number, date or Boolean (never a reader's
// answer), pass unchanged.
void FilterCellValue(const Vdei::TField* field, Vdei::Variant& value);

class TVdIStructureBuilder {
 public:
  explicit TVdIStructureBuilder(Vdei::TClientDataSet& table) : table_(table) {}

  // Sets component's DataSet, OnCreateStructure and OnGetCellParams to
  // this builder and the table.
  void Attach(TVdImportBaseComponent& component);
  void Detach(TVdImportBaseComponent& component);

  // The OnCreateStructure handler (sender: one of the attached components).
  void CreateStructure(Vdei::TObject* sender, TVdIColumns* columns);

 private:
  Vdei::TClientDataSet& table_;
  std::vector<TVdImportBaseComponent*> components_;
};

}  // namespace VdImport
