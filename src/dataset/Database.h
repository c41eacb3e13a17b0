// Database names: the alias registry and how a dataset's DatabaseName is
// turned into a database URL.
//
// A DatabaseName is, in this order:
//   an alias registered with SetAlias (case-insensitive): its URL;
//   a URL: "sqlite:PATH" (PATH a file; "sqlite::memory:" an in-memory
//     database) or "postgresql://..." / "postgres://..." (a libpq
//     connection URI);
//   a path to an existing file: that SQLite file.
// Anything else raises EDatabaseError "Unknown database '%s'".
//
// The alias "DBDEMOS" is registered from the start and names the sample
// database data/dbdemos.db of the build folder (its absolute path is built
// in). Programs point an alias elsewhere with SetAlias("DBDEMOS",
// "sqlite:/x.db"); no environment variable is read.
#pragma once

#include <string>
#include <string_view>

namespace Vdei {

// Registers or replaces an alias; an empty URL removes it.
void SetAlias(std::string_view alias, std::string_view url);
// The URL of an alias, empty when there is none.
std::string AliasUrl(std::string_view alias);

enum TDatabaseKind { dkSQLite, dkPostgreSQL };

struct TDatabaseLocation {
  TDatabaseKind Kind = dkSQLite;
  // The file path (SQLite) or the connection URI (PostgreSQL).
  std::string Target;
};

TDatabaseLocation ResolveDatabaseName(std::string_view databaseName);

}  // namespace Vdei
