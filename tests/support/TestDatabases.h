// Databases for tests: small SQLite files and a throwaway PostgreSQL
// cluster.
//
// SQLite:
//   VdeiTest::TempDir dir;                       // removed with everything in it
//   std::string path = dir.File("t.db");
//   VdeiTest::CreateSqliteDatabase(path, "CREATE TABLE T (A INT); INSERT INTO T VALUES (1);");
//   query.SetDatabaseName("sqlite:" + path);
//
// PostgreSQL: one cluster per test program, started on first use with
// initdb + pg_ctl (binaries found under /usr/lib/postgresql/*/bin) in a
// temporary folder, listening only on a Unix socket in that folder on a
// free port, and stopped and removed when the program ends. As root it runs
// as the `postgres` user (initdb refuses root). Authentication is trust,
// user `postgres`, encoding UTF8, locale C.
//   TEST(Pg, Something) {
//     VDEI_REQUIRE_POSTGRES(cluster);   // skips when PostgreSQL is not installed
//     cluster->Execute("CREATE TABLE t (a int4)");
//     query.SetDatabaseName(cluster->Url());
//   }
// A cluster that is installed but fails to start fails the test with the
// server's log.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace VdeiTest {

// A fresh folder under the system's temporary folder, removed with its
// contents by the destructor.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Creates (or extends) the SQLite file at path by running the statements;
// throws std::runtime_error with SQLite's message on failure.
void CreateSqliteDatabase(const std::string& path, const std::string& statements);

class PostgresCluster {
 public:
  ~PostgresCluster();  // stops the server and removes its folder
  PostgresCluster(const PostgresCluster&) = delete;
  PostgresCluster& operator=(const PostgresCluster&) = delete;

  // A connection URL for TQuery ("postgresql:///postgres?host=...&port=...").
  std::string Url(const std::string& database = "postgres") const;
  // Runs statements (several allowed); throws std::runtime_error on failure.
  void Execute(const std::string& statements, const std::string& database = "postgres") const;

  // The program's cluster, started on first use. nullptr with whyNot set
  // when PostgreSQL is not installed; throws std::runtime_error (with the
  // server's log) when it is installed but does not start.
  static PostgresCluster* Shared(std::string& whyNot);

 private:
  PostgresCluster() = default;
  bool Start(std::string& whyNot);

  std::string binDir_;
  std::string dir_;
  int port_ = 0;
  bool running_ = false;
};

}  // namespace VdeiTest

// Declares `PostgresCluster* name` for the program's cluster, or skips the
// test when PostgreSQL is not installed.
#define VDEI_REQUIRE_POSTGRES(name)                                                      \
  std::string name##WhyNot;                                                              \
  ::VdeiTest::PostgresCluster* name = ::VdeiTest::PostgresCluster::Shared(name##WhyNot); \
  if (name == nullptr) GTEST_SKIP() << name##WhyNot
