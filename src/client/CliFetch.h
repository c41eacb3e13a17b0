// VDEI_CLI --fetch: one request without a window, the table printed.
//
// The same components as the window's, with the same settings: a blocking
// socket, an in-memory table, the reader of the package type with the
// client's reader settings and the shared structure builder. Socket errors
// are taken as handled and reported once, on err.
#pragma once

#include <ostream>

#include "client/CliRequest.h"
#include "dataset/TablePrinter.h"

namespace Vdei {

// Fetches and imports one package and prints the table on out. Returns the
// exit status: 0 when the whole package was imported without errors and
// printed; 1 with one line on err otherwise (a package that imported with
// row errors is still printed; a failed or canceled import is not).
int FetchAndPrint(const TCliConnection& connection, TCliPackageType type, TPrintFormat format,
                  std::ostream& out, std::ostream& err);

}  // namespace Vdei
