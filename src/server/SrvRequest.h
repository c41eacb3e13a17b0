// How VDEI_SRV answers its clients: the request text each connection has
// sent, and the handler that turns a complete request into a package.
//
// A connection keeps the request text it has not had an answer to yet
// (TRequestText), so a request may arrive in any number of pieces. It is
// answered once the text holds "%GET DATA%" (case-sensitive) followed by
// a "%" that ends the type word, or holds the marker and then no more
// bytes come: the client paused (the socket's OnClientPause) or shut down
// its sending side. The HTML page answers a text that contains "%HTML%",
// the XML package any other. Before the marker only the newest 64 KiB are
// kept; from the first marker on, the marker and at most 64 KiB after it,
// so a request is never dropped because more bytes came with it. A text
// without the marker gets no answer; the socket's request deadline closes
// the connection.
//
// TSrvRequestHandler runs on the socket's thread, inside its events. Each
// complete request runs the query afresh (the package shows the table as
// it is at that request), exports the whole result into a memory stream
// (TPackageStream) and hands it to the connection, which sends it and then
// shuts down. The server's query is forward-only (Query.h): its rows are
// read on a second thread while the package is written, and only the last
// batch of them is held beside the package. While the packages held by the connections reach
// MaxPendingBytes, requests wait, in the order they came, until transfers
// end. An export that fails closes the connection without a package (the
// client sees a reset) and reports "Export failed: <reason>" as an error
// status; nothing is shown modally. A connection gets one package; a
// further request on it gets nothing. Status texts go to OnStatus:
// "Sent the dataset to client" once the last byte is out, and how many
// characters the code page could not hold, per request. The handler never
// outlives the components it was given.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "server/SrvPackageStream.h"

namespace VdExport {
class TVdExportToCellFile;
}

namespace Vdei {

class TDataSet;
class TServerClientWinSocket;

class TRequestText {
 public:
  static constexpr size_t kLimit = 64 * 1024;

  // Adds bytes at the end, within the bounds above.
  void Append(std::string_view bytes);
  // The text holds "%GET DATA%".
  bool HasMarker() const { return marker_ != std::string::npos; }
  // ... and a "%" after it.
  bool Complete() const { return terminated_; }
  // The text holds "%HTML%".
  bool AsksForHTML() const;
  void Clear() { *this = TRequestText(); }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
  size_t marker_ = std::string::npos;
  size_t scanned_ = 0;  // where the search for the "%" after the marker goes on
  bool terminated_ = false;
};

enum TPackageKind { pkXML, pkHTML };

class TSrvRequestHandler {
 public:
  // query is the components' data set; the handler opens it on demand.
  TSrvRequestHandler(TDataSet& query, VdExport::TVdExportToCellFile& xml,
                     VdExport::TVdExportToCellFile& html, int64_t maxPendingBytes);
  TSrvRequestHandler(const TSrvRequestHandler&) = delete;
  TSrvRequestHandler& operator=(const TSrvRequestHandler&) = delete;

  // The socket events.
  void ClientConnect(TServerClientWinSocket* socket);
  void ClientDisconnect(TServerClientWinSocket* socket);
  void ClientRead(TServerClientWinSocket* socket);
  void ClientPause(TServerClientWinSocket* socket);
  void ClientSent(TServerClientWinSocket* socket);

  // The package of kind for the query's whole result, positioned at its
  // start. Runs the query afresh; errors reach the caller.
  std::unique_ptr<TPackageStream> BuildPackage(TPackageKind kind);

  // A status text; IsError for failures, which callers log in any case.
  std::function<void(const std::string& Text, bool IsError)> OnStatus;

 private:
  // The request of socket is complete: answer it or let it wait.
  void Take(TServerClientWinSocket* socket, const TRequestText& request);
  bool MayBuild(const TServerClientWinSocket* socket) const;
  void ServeWaiting(const TServerClientWinSocket* socket);
  void Answer(TServerClientWinSocket* socket, TPackageKind kind);
  void Status(const std::string& text, bool isError = false);

  struct Waiting {
    TServerClientWinSocket* Socket;
    TPackageKind Kind;
  };

  TDataSet& query_;
  VdExport::TVdExportToCellFile& xml_;
  VdExport::TVdExportToCellFile& html_;
  int64_t maxPendingBytes_;
  std::unordered_map<TServerClientWinSocket*, TRequestText> pending_;
  std::deque<Waiting> waiting_;
  bool serving_ = false;  // ServeWaiting is running
};

}  // namespace Vdei
