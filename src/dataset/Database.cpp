#include "dataset/Database.h"

#include <sys/stat.h>

#include <map>

#include "core/Exception.h"
#include "core/StrUtils.h"

namespace Vdei {

namespace {

// Aliases by upper-case name.
std::map<std::string, std::string>& Aliases() {
  static std::map<std::string, std::string> aliases = {
      {"DBDEMOS", std::string("sqlite:") + VDEI_DBDEMOS_PATH}};
  return aliases;
}

bool StartsWithText(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

bool IsFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

void SetAlias(std::string_view alias, std::string_view url) {
  if (url.empty()) {
    Aliases().erase(UpperCase(alias));
  } else {
    Aliases()[UpperCase(alias)] = std::string(url);
  }
}

std::string AliasUrl(std::string_view alias) {
  auto found = Aliases().find(UpperCase(alias));
  return found == Aliases().end() ? std::string() : found->second;
}

TDatabaseLocation ResolveDatabaseName(std::string_view databaseName) {
  std::string url = AliasUrl(databaseName);
  if (url.empty()) url = std::string(databaseName);
  if (StartsWithText(url, "sqlite:")) return {dkSQLite, url.substr(7)};
  if (StartsWithText(url, "postgresql://") || StartsWithText(url, "postgres://"))
    return {dkPostgreSQL, url};
  if (!url.empty() && IsFile(url)) return {dkSQLite, url};
  throw EDatabaseError(Format("Unknown database '%s'", std::string(databaseName).c_str()));
}

}  // namespace Vdei
