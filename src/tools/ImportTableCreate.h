// The table vdei-import --create makes for a package: one column per
// column of the package, typed as the client's in-memory structure types
// them (VdIStructure.h ColumnFieldType), NOT NULL where the package's
// field list marks the field required.
//
// Types: a string column VARCHAR(its size, 30 when the package gives none),
// integers INTEGER, floats DOUBLE PRECISION, date-times TIMESTAMP, dates
// DATE, times TIME, Booleans BOOLEAN, memos TEXT, blobs BLOB in SQLite and
// BYTEA in PostgreSQL; TTable reads each of them back as the field type it
// was made from. Table and column names are quoted as identifiers, so any
// name (blanks, quotes, key words) is taken as it stands.
#pragma once

#include <set>
#include <string>
#include <string_view>

#include "dataset/Database.h"
#include "import/VdIColumns.h"

namespace Vdei {

// The names of the fields an XML package's field list marks
// required="true" (by their attrname, as the reader names its columns).
// text is the package's start; a field list cut off by its end gives the
// names found before the cut.
std::set<std::string> RequiredColumnNames(std::string_view text);

std::string CreateTableStatement(const std::string& table, const VdImport::TVdIColumns& columns,
                                 const std::set<std::string>& required, TDatabaseKind kind);

// name in double quotes, inner double quotes doubled.
std::string QuotedName(const std::string& name);

}  // namespace Vdei
