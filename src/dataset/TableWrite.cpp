// TTable: writing appended, edited and deleted records to the database.
#include "core/Exception.h"
#include "core/NumberFormat.h"
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

// Raises unless a decimal's canonical text fits its column: the database
// would refuse it without naming the field, or round it silently.
void CheckDecimalFits(std::string_view text, const DecimalLimit& limit,
                      const std::string& fieldName) {
  int64_t whole;
  if (limit.Whole && !TryStrToInt64(text, whole)) {
    throw EConvertError(
        Format("'%s' is not a valid value for field '%s': a whole number of "
               "64 bits is needed",
               std::string(text).c_str(), fieldName.c_str()));
  }
  if (limit.Digits <= 0) return;
  const std::string_view digits = text.substr(text[0] == '-' ? 1 : 0);
  const size_t point = digits.find('.');
  const std::string_view integer = digits.substr(0, point);
  const int integerDigits = integer == "0" ? 0 : static_cast<int>(integer.size());
  const int fractionDigits =
      point == std::string_view::npos ? 0 : static_cast<int>(digits.size() - point - 1);
  if (integerDigits > limit.Digits - limit.Scale || fractionDigits > limit.Scale) {
    throw EConvertError(
        Format("'%s' is not a valid value for field '%s': at most %d digits, "
               "%d of them after the decimal point",
               std::string(text).c_str(), fieldName.c_str(), limit.Digits, limit.Scale));
  }
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
    CheckDecimalFits(param.Chars, description_->Decimals[column],
                     description_->Columns[column].Name);
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
  const int count = static_cast<int>(description_->Columns.size());
  std::vector<bool> written(count);
  std::vector<SqlParam> params;
  std::vector<int> returning;
  for (int i = 0; i < count; ++i) {
    written[i] = !(RecordLayout::IsNull(row, i) && description_->HasDefault[i]);
    if (written[i]) {
      params.push_back(ParamOf(row, i));
    } else {
      returning.push_back(i);
    }
  }
  returning.push_back(count);
  Write(InsertStatement(written), params, row, returning);
}

const std::string& TTable::InsertStatement(const std::vector<bool>& written) {
  auto found = insertStatements_.find(written);
  if (found != insertStatements_.end()) return found->second;
  std::string names, values, returned;
  int params = 0;
  for (size_t i = 0; i < written.size(); ++i) {
    const std::string name = QuoteIdentifier(description_->Columns[i].Name);
    if (!written[i]) {
      returned += name + ", ";
      continue;
    }
    const char* separator = params == 0 ? "" : ", ";
    names += separator + name;
    values += separator + connection_->Placeholder(++params);
  }
  std::string sql = "INSERT INTO " + QuoteIdentifier(tableName_);
  sql += params == 0 ? " DEFAULT VALUES" : " (" + names + ") VALUES (" + values + ")";
  sql += " RETURNING " + returned + connection_->LocatorColumn();
  return insertStatements_.emplace(written, std::move(sql)).first->second;
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
  const int count = static_cast<int>(description_->Columns.size());
  std::vector<bool> changed(count);
  std::vector<SqlParam> params;
  for (int i = 0; i < count; ++i) {
    changed[i] = ValueChanged(original, row, i);
    if (changed[i]) params.push_back(ParamOf(row, i));
  }
  if (params.empty()) return;
  params.push_back(connection_->LocatorParam(LocatorOf(original)));
  if (Write(UpdateStatement(changed), params, row, {count}) != 1)
    throw EDatabaseError(Format("The record is no longer in table '%s'", tableName_.c_str()));
}

const std::string& TTable::UpdateStatement(const std::vector<bool>& changed) {
  auto found = updateStatements_.find(changed);
  if (found != updateStatements_.end()) return found->second;
  std::string assignments;
  int params = 0;
  for (size_t i = 0; i < changed.size(); ++i) {
    if (!changed[i]) continue;
    assignments += (params == 0 ? "" : ", ") + QuoteIdentifier(description_->Columns[i].Name) +
                   " = " + connection_->Placeholder(params + 1);
    ++params;
  }
  std::string sql = "UPDATE " + QuoteIdentifier(tableName_) + " SET " + assignments + " WHERE " +
                    connection_->LocatorCondition(params + 1) + " RETURNING " +
                    connection_->LocatorColumn();
  return updateStatements_.emplace(changed, std::move(sql)).first->second;
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
