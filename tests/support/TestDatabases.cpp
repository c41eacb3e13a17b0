#include "TestDatabases.h"

#include <arpa/inet.h>
#include <glob.h>
#include <libpq-fe.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace VdeiTest {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "vdei-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temp folder");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void CreateSqliteDatabase(const std::string& path, const std::string& statements) {
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open(path.c_str(), &raw);
  std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(raw, &sqlite3_close);
  if (rc != SQLITE_OK) throw std::runtime_error("cannot open " + path);
  char* error = nullptr;
  if (sqlite3_exec(db.get(), statements.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error ? error : "unknown error";
    sqlite3_free(error);
    throw std::runtime_error("SQLite: " + message);
  }
}

namespace {

std::string FindPostgresBinDir() {
  glob_t found{};
  std::string result;
  if (glob("/usr/lib/postgresql/*/bin/initdb", 0, nullptr, &found) == 0 && found.gl_pathc > 0)
    result = fs::path(found.gl_pathv[found.gl_pathc - 1]).parent_path().string();
  globfree(&found);
  return result;
}

int FreePort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  if (fd >= 0) close(fd);
  return port != 0 ? port : 54329;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs a server command as the postgres user when we are root.
int RunAsServerUser(const std::string& command) {
  const std::string line = geteuid() == 0 ? "runuser -u postgres -- " + command : command;
  return std::system(line.c_str());
}

}  // namespace

bool PostgresCluster::Start(std::string& whyNot) {
  binDir_ = FindPostgresBinDir();
  if (binDir_.empty()) {
    whyNot = "PostgreSQL server is not installed (no /usr/lib/postgresql/*/bin/initdb)";
    return false;
  }
  std::string pattern = (fs::temp_directory_path() / "vdei-pg-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temp folder");
  dir_ = pattern;
  if (geteuid() == 0) {
    const passwd* user = getpwnam("postgres");
    if (user == nullptr) throw std::runtime_error("running as root, but there is no postgres user");
    if (chown(dir_.c_str(), user->pw_uid, user->pw_gid) != 0)
      throw std::runtime_error("cannot hand " + dir_ + " to postgres");
  }
  port_ = FreePort();
  // The shell that redirects runs as us; the server writes its own log.
  const std::string initLog = dir_ + "/initdb.log";
  const std::string log = dir_ + "/server.log";
  if (RunAsServerUser(binDir_ + "/initdb -D " + dir_ + "/data -A trust -U postgres -E UTF8"
                      " --locale=C > " + initLog + " 2>&1") != 0)
    throw std::runtime_error("initdb failed:\n" + ReadFile(initLog));
  const std::string options = "-c listen_addresses='' -k " + dir_ + " -p " + std::to_string(port_);
  if (RunAsServerUser(binDir_ + "/pg_ctl -D " + dir_ + "/data -o \"" + options + "\" -w -t 60 -l " +
                      log + " start > /dev/null 2>&1") != 0)
    throw std::runtime_error("pg_ctl start failed:\n" + ReadFile(log));
  running_ = true;
  return true;
}

PostgresCluster::~PostgresCluster() {
  if (running_)
    RunAsServerUser(binDir_ + "/pg_ctl -D " + dir_ + "/data -m immediate -w stop > /dev/null 2>&1");
  if (!dir_.empty()) {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
}

std::string PostgresCluster::Url(const std::string& database) const {
  return "postgresql:///" + database + "?host=" + dir_ + "&port=" + std::to_string(port_) +
         "&user=postgres";
}

void PostgresCluster::Execute(const std::string& statements, const std::string& database) const {
  std::unique_ptr<PGconn, decltype(&PQfinish)> connection(PQconnectdb(Url(database).c_str()),
                                                          &PQfinish);
  if (PQstatus(connection.get()) != CONNECTION_OK)
    throw std::runtime_error(std::string("PostgreSQL: ") + PQerrorMessage(connection.get()));
  std::unique_ptr<PGresult, decltype(&PQclear)> result(
      PQexec(connection.get(), statements.c_str()), &PQclear);
  const ExecStatusType status = PQresultStatus(result.get());
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
    throw std::runtime_error(std::string("PostgreSQL: ") + PQerrorMessage(connection.get()));
}

PostgresCluster* PostgresCluster::Shared(std::string& whyNot) {
  static std::unique_ptr<PostgresCluster> cluster;
  static std::string notInstalled;
  static std::string startFailure;
  if (!startFailure.empty()) throw std::runtime_error(startFailure);
  if (!cluster && notInstalled.empty()) {
    std::unique_ptr<PostgresCluster> starting(new PostgresCluster());
    try {
      if (starting->Start(notInstalled)) cluster = std::move(starting);
    } catch (const std::exception& failure) {
      startFailure = failure.what();
      throw;
    }
  }
  whyNot = notInstalled;
  return cluster.get();
}

}  // namespace VdeiTest
