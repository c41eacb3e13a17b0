// Declared column types to field types.
#include <cstdlib>

#include "core/StrUtils.h"
#include "dataset/SqlBackend.h"

namespace Vdei {

namespace {

struct NamedType {
  const char* Name;
  TFieldType Type;
};

constexpr NamedType kNamedTypes[] = {
    {"SMALLINT", ftSmallint}, {"INT2", ftSmallint},     {"INT", ftInteger},
    {"INTEGER", ftInteger},   {"INT4", ftInteger},      {"MEDIUMINT", ftInteger},
    {"BIGINT", ftBCD},        {"INT8", ftBCD},          {"BOOL", ftBoolean},
    {"BOOLEAN", ftBoolean},   {"MONEY", ftCurrency},    {"CURRENCY", ftCurrency},
    {"NUMERIC", ftBCD},       {"DECIMAL", ftBCD},       {"REAL", ftFloat},
    {"FLOAT", ftFloat},       {"FLOAT4", ftFloat},      {"FLOAT8", ftFloat},
    {"DOUBLE", ftFloat},      {"DOUBLE PRECISION", ftFloat}, {"DATE", ftDate},
    {"TIME", ftTime},         {"DATETIME", ftDateTime}, {"TIMESTAMP", ftDateTime},
    {"MEMO", ftMemo},         {"BLOB", ftBlob},         {"BYTEA", ftBlob},
    {"IMAGE", ftGraphic},     {"GRAPHIC", ftGraphic},
};

constexpr const char* kStringTypes[] = {"CHAR",     "VARCHAR",           "CHARACTER",
                                        "NCHAR",    "NVARCHAR",          "CHARACTER VARYING",
                                        "VARYING CHARACTER", "NATIVE CHARACTER", "TEXT",
                                        "CLOB"};

// Upper case, blanks collapsed to one.
std::string NormalizedName(std::string_view text) {
  std::string result;
  for (char c : UpperCase(Trim(text))) {
    if (c == ' ' && !result.empty() && result.back() == ' ') continue;
    result += c;
  }
  return result;
}

ResultColumn ByAffinity(const std::string& name) {
  ResultColumn c;
  auto has = [&](const char* part) { return name.find(part) != std::string::npos; };
  if (has("INT")) {
    c.Type = ftInteger;
  } else if (has("CHAR") || has("CLOB") || has("TEXT")) {
    c.Type = ftString;
    c.SizeFromData = true;
  } else if (has("BLOB")) {
    c.Type = ftBlob;
  } else if (has("REAL") || has("FLOA") || has("DOUB")) {
    c.Type = ftFloat;
  }
  return c;
}

}  // namespace

ResultColumn MapDeclaredType(std::string_view declaredType) {
  const size_t open = declaredType.find('(');
  const std::string name = NormalizedName(declaredType.substr(0, open));
  int size = 0;
  if (open != std::string_view::npos)
    size = std::atoi(std::string(declaredType.substr(open + 1)).c_str());
  ResultColumn c;
  for (const char* stringType : kStringTypes) {
    if (name != stringType) continue;
    c.Type = ftString;
    c.Size = size;
    c.SizeFromData = size <= 0 || name == "TEXT" || name == "CLOB";
    return c;
  }
  for (const NamedType& named : kNamedTypes) {
    if (name != named.Name) continue;
    c.Type = named.Type;
    return c;
  }
  return name.empty() ? c : ByAffinity(name);
}

}  // namespace Vdei
