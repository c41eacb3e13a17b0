#include "client/CliRequest.h"

#include <netdb.h>

#include <cstring>
#include <exception>

#include "core/Stream.h"
#include "import/VdIBase.h"
#include "platform/ClientRequest.h"

namespace Vdei {

const char* CliRequestText(TCliPackageType type) {
  return type == ptHTML ? "%GET DATA%HTML%" : "%GET DATA%XML%";
}

void ConfigureClientSocket(TClientSocket& socket, const TCliConnection& connection) {
  socket.SetClientType(ctBlocking);
  socket.SetHost(connection.Host);
  socket.SetPort(connection.Port);
  socket.SetTimeout(connection.Timeout);
}

TCliRequestResult RunCliRequest(TClientSocket& socket, TCliPackageType type,
                                VdImport::TVdImportBaseComponent& reader) {
  TMemoryStream package;
  const FetchResult fetched = FetchPackage(socket, CliRequestText(type), package);
  TCliRequestResult result;
  if (fetched.Failed()) {
    result.End = reSocketError;
    result.SocketError = fetched.ErrorCode;
    return result;
  }
  if (package.Size() == 0) return result;  // reEmpty
  package.Seek(0, soBeginning);
  try {
    reader.ImportFromStream(&package);
    result.End = reImported;
  } catch (const std::exception& error) {
    result.End = reReaderError;
    result.ReaderError = error.what();
  }
  return result;
}

std::string SocketErrorText(int code) {
  return code < 0 ? ::gai_strerror(code) : std::strerror(code);
}

std::string DescribeRequestFailure(const TCliRequestResult& result,
                                   const VdImport::TVdImportBaseComponent& reader) {
  switch (result.End) {
    case reSocketError:
      return "Socket error:" + std::to_string(result.SocketError) + " (" +
             SocketErrorText(result.SocketError) + ")";
    case reEmpty:
      return "The server closed the connection without sending a package.";
    case reReaderError:
      return result.ReaderError;
    case reImported:
      break;
  }
  const VdImport::TVdIStatistic& statistic = *reader.Statistic();
  if (statistic.Result() == VdImport::irFailed)
    return reader.FinalText() + " " + reader.ErrorText();
  if (statistic.Result() != VdImport::irExecuted || statistic.TotalErrors() > 0) {
    return reader.FinalText();
  }
  return {};
}

}  // namespace Vdei
