#include "tools/ImportTableCreate.h"

#include "core/StrUtils.h"
#include "import/VdI2XMLScan.h"
#include "import/VdIEntities.h"
#include "import/VdIStructure.h"

namespace Vdei {

namespace {

std::string SqlType(const VdImport::TVdIColumn& column, TDatabaseKind kind) {
  switch (VdImport::ColumnFieldType(column.DataType())) {
    case ftInteger:
      return "INTEGER";
    case ftFloat:
      return "DOUBLE PRECISION";
    case ftDateTime:
      return "TIMESTAMP";
    case ftDate:
      return "DATE";
    case ftTime:
      return "TIME";
    case ftBoolean:
      return "BOOLEAN";
    case ftMemo:
      return "TEXT";
    case ftBlob:
      return kind == dkPostgreSQL ? "BYTEA" : "BLOB";
    default:
      break;
  }
  const int size = column.Size() > 0 ? column.Size() : VdImport::kDefaultStringSize;
  return "VARCHAR(" + std::to_string(size) + ")";
}

bool IsTagNamed(std::string_view head, std::string_view name) {
  return head.size() == name.size() + 1 && head[0] == '<' && SameText(head.substr(1), name);
}

}  // namespace

std::set<std::string> RequiredColumnNames(std::string_view text) {
  std::set<std::string> names;
  size_t pos = 0;
  while (true) {
    const std::string_view head = VdImport::ReadNextTag(text, pos);
    if (head.empty() || IsTagNamed(head, "/FIELDS")) break;
    const std::string_view rest = VdImport::ReadTagRest(text, pos);
    if (!IsTagNamed(head, "FIELD")) continue;
    const auto required = VdImport::GetXMLValue("required", rest);
    const auto name = VdImport::GetXMLValue("attrname", rest);
    if (required && name && SameText(*required, "true")) {
      names.insert(VdImport::DecodeEntities(*name));
    }
  }
  return names;
}

std::string QuotedName(const std::string& name) {
  std::string quoted = "\"";
  for (char c : name) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string CreateTableStatement(const std::string& table, const VdImport::TVdIColumns& columns,
                                 const std::set<std::string>& required, TDatabaseKind kind) {
  std::string sql = "CREATE TABLE " + QuotedName(table) + " (";
  for (int i = 0; i < columns.Count(); ++i) {
    const VdImport::TVdIColumn& column = *columns[i];
    sql += (i > 0 ? ", " : "") + QuotedName(column.FieldName()) + " " + SqlType(column, kind);
    if (required.contains(column.FieldName())) sql += " NOT NULL";
  }
  return sql + ")";
}

}  // namespace Vdei
