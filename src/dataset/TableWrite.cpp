// TTable: writing appended, edited and deleted records to the database.
#include "core/Exception.h"
#include "core/StrUtils.h"
#include "dataset/Table.h"
#include "dataset/TableBackend.h"
#include "dataset/ValueText.h"

namespace Vdei {

namespace {

bool IsIntegerType(TFieldType type) {
  return type == ftSmallint || type == ftInteger || type == ftWord || type == ftAutoInc;
}

bool IsAnsiTextType(TFieldType type) {
  return type == ftString || type == ftMemo || type == ftFmtMemo;
}

}  // namespace

int64_t TTable::LocatorOf(const RecordWord* row) const {
  return static_cast<int64_t>(Layout().Slot(row, static_cast<int>(description_->Columns.size())));
}

SqlParam TTable::ParamOf(const RecordWord* row, int column) const {
  SqlParam param;
  if (RecordLayout::IsNull(row, column)) return param;
  const RecordWord slot = Layout().Slot(row, column);
  const TFieldType type = description_->Columns[column].Type;
  if (IsIntegerType(type)) {
    param.Type = SqlParam::Integer;
    param.Int = static_cast<int64_t>(slot);
  } else if (type == ftBoolean) {
    param.Type = SqlParam::Boolean;
    param.Int = slot != 0;
  } else if (type == ftFloat || type == ftCurrency) {
    param.Type = SqlParam::Float;
    param.Real = BitsDouble(slot);
  } else if (type == ftDate || type == ftTime || type == ftDateTime) {
    param.Type = type == ftDate   ? SqlParam::Date
                 : type == ftTime ? SqlParam::Time
                                  : SqlParam::DateTime;
    param.Chars = IsoDateTimeText(BitsDouble(slot), type != ftTime, type != ftDate);
  } else if (type == ftBCD) {
    param.Type = SqlParam::Decimal;
    param.Chars = TextArena::Read(slot);
  } else if (IsAnsiTextType(type)) {
    param.Type = SqlParam::Text;
    param.Chars = AnsiToDatabaseText(TextArena::Read(slot));
  } else {
    param.Type = SqlParam::Bytes;
    param.Chars = TextArena::Read(slot);
  }
  return param;
}

int64_t TTable::Write(const std::string& sql, const std::vector<SqlParam>& params, RecordWord* row,
                      const std::vector<int>& returning) {
  writer_->BeginRow(row);
  const int64_t changed = connection_->Write(sql, params, writer_.get(), returning);
  rowWrote_ = true;
  return changed;
}

void TTable::InternalPost(const RecordWord* original, RecordWord* row) {
  CheckConnected();
  original == nullptr ? Insert(row) : Update(original, row);
}

// Columns left null that have a default are left out, and what the
// database put there is read back with the new row's locator.
void TTable::Insert(RecordWord* row) {
  const auto& columns = description_->Columns;
  std::string names, values, returned;
  std::vector<SqlParam> params;
  std::vector<int> returning;
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    if (RecordLayout::IsNull(row, i) && description_->HasDefault[i]) {
      returned += QuoteIdentifier(columns[i].Name) + ", ";
      returning.push_back(i);
      continue;
    }
    names += (params.empty() ? "" : ", ") + QuoteIdentifier(columns[i].Name);
    params.push_back(ParamOf(row, i));
    values += (params.size() == 1 ? "" : ", ") +
              connection_->Placeholder(static_cast<int>(params.size()));
  }
  returning.push_back(static_cast<int>(columns.size()));
  std::string sql = "INSERT INTO " + QuoteIdentifier(tableName_);
  sql += params.empty() ? " DEFAULT VALUES" : " (" + names + ") VALUES (" + values + ")";
  sql += " RETURNING " + returned + connection_->LocatorColumn();
  Write(sql, params, row, returning);
}

bool TTable::ValueChanged(const RecordWord* original, const RecordWord* row, int column) const {
  const bool wasNull = RecordLayout::IsNull(original, column);
  if (wasNull != RecordLayout::IsNull(row, column)) return true;
  if (wasNull) return false;
  const RecordWord before = Layout().Slot(original, column);
  const RecordWord after = Layout().Slot(row, column);
  if (!StoresText(description_->Columns[column].Type)) return before != after;
  return before != after && TextArena::Read(before) != TextArena::Read(after);
}

void TTable::Update(const RecordWord* original, RecordWord* row) {
  const auto& columns = description_->Columns;
  std::string assignments;
  std::vector<SqlParam> params;
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    if (!ValueChanged(original, row, i)) continue;
    params.push_back(ParamOf(row, i));
    assignments += (params.size() == 1 ? "" : ", ") + QuoteIdentifier(columns[i].Name) + " = " +
                   connection_->Placeholder(static_cast<int>(params.size()));
  }
  if (params.empty()) return;
  params.push_back(connection_->LocatorParam(LocatorOf(original)));
  const std::string sql = "UPDATE " + QuoteIdentifier(tableName_) + " SET " + assignments +
                          " WHERE " +
                          connection_->LocatorCondition(static_cast<int>(params.size())) +
                          " RETURNING " + connection_->LocatorColumn();
  if (Write(sql, params, row, {static_cast<int>(columns.size())}) != 1)
    throw EDatabaseError(Format("The record is no longer in table '%s'", tableName_.c_str()));
}

void TTable::InternalDelete(const RecordWord* row) {
  CheckConnected();
  const std::string sql =
      "DELETE FROM " + QuoteIdentifier(tableName_) + " WHERE " + connection_->LocatorCondition(1);
  const int64_t changed =
      connection_->Write(sql, {connection_->LocatorParam(LocatorOf(row))}, nullptr, {});
  rowWrote_ = true;
  if (changed != 1)
    throw EDatabaseError(Format("The record is no longer in table '%s'", tableName_.c_str()));
}

}  // namespace Vdei
