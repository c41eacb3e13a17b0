// The generated CUSTOMER database of the benchmarks: one SQLite file per
// row count in the benchmark folder, made by vdei-gendb the first time it
// is asked for. The including target defines VDEI_BENCH_DIR and VDEI_GENDB.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

// The path of the database of rows records; exits the benchmark when it
// cannot be made.
inline std::string CustomerDatabase(long rows) {
  const std::string path =
      std::string(VDEI_BENCH_DIR) + "/customer_" + std::to_string(rows) + ".db";
  if (!std::filesystem::exists(path)) {
    const std::string command =
        std::string(VDEI_GENDB) + " --rows " + std::to_string(rows) + " " + path;
    if (std::system(command.c_str()) != 0) {
      std::fprintf(stderr, "cannot make %s\n", path.c_str());
      std::exit(1);
    }
  }
  return path;
}
