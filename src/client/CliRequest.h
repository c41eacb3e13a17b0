// The client's request sequence as plain code, shared by the window
// (CliMain.h) and `VDEI_CLI --fetch`, and tested without a window.
//
//   ConfigureClientSocket(socket, {"localhost", 1024, 30});
//   TCliRequestResult result = RunCliRequest(socket, ptXML, xmlReader);
//
// RunCliRequest connects, sends the request text of the package type,
// reads until the server closes (FetchPackage), closes the socket, and
// hands a whole, non-empty package to the reader's ImportFromStream. The
// package lives in a memory stream that is freed when the call returns,
// however it returns. A transfer with any socket error or timeout imports
// nothing (a partial package must never replace the table), nor does an
// empty answer (the server could not serve the request). An error that
// the reader raises before its run (the base catches everything after)
// ends up in ReaderError, never in the caller. Socket errors reach the
// socket's OnError first; RunCliRequest relies on a handler that takes
// them as handled (ErrorCode := 0), as both callers install.
//
// What the import did is in the reader's Statistic and ErrorText.
#pragma once

#include <string>

#include "platform/ClientSocket.h"

namespace VdImport {
class TVdImportBaseComponent;
}

namespace Vdei {

// The package types, in the order of the window's radio group items.
enum TCliPackageType { ptXML, ptHTML };

// "%GET DATA%XML%" or "%GET DATA%HTML%".
const char* CliRequestText(TCliPackageType type);

// Where the server is and how long one wait for the network may take.
struct TCliConnection {
  std::string Host = "localhost";
  int Port = 1024;
  int Timeout = 30;  // seconds; 0: no limit
};

// A blocking client socket to connection's host and port, inactive.
void ConfigureClientSocket(TClientSocket& socket, const TCliConnection& connection);

enum TCliRequestEnd {
  reImported,     // the reader ran over the package (see its Statistic)
  reSocketError,  // connect, send or receive failed or timed out
  reEmpty,        // the server closed without sending anything
  reReaderError   // the reader raised before its run
};

struct TCliRequestResult {
  TCliRequestEnd End = reEmpty;
  int SocketError = 0;      // the first socket error code (reSocketError)
  std::string ReaderError;  // the reader's message (reReaderError)
};

TCliRequestResult RunCliRequest(TClientSocket& socket, TCliPackageType type,
                                VdImport::TVdImportBaseComponent& reader);

// The text of a socket error code: "Connection refused" for errno values,
// getaddrinfo's text for the negative codes of a failed lookup.
std::string SocketErrorText(int code);

// One line on what went wrong for a person, empty when the request
// imported the whole package without errors: the socket error with its
// code and text, the empty answer, the reader's error, or the import's
// own end (failed with its reason, canceled, completed with errors).
std::string DescribeRequestFailure(const TCliRequestResult& result,
                                   const VdImport::TVdImportBaseComponent& reader);

}  // namespace Vdei
