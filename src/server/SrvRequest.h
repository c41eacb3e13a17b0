// How VDEI_SRV answers its clients: the request text each connection has
// sent, and the handler that turns a complete request into a package.
//
// A connection keeps the request text it has not had an answer to yet
// (TRequestText, at most 64 KiB: older bytes are dropped), so a request may
// arrive in any number of pieces. As soon as that text contains
// "%GET DATA%" (case-sensitive) it is answered, and the kept text is
// cleared: with the HTML page when it contains "%HTML%", else with the XML
// package. A text without the marker gets no answer; the connection stays
// open until the client goes or the socket's idle timeout closes it.
//
// TSrvRequestHandler runs on the socket's thread, inside its events. For a
// complete request it opens the query (once; it stays open), exports the
// whole result into a memory stream (TPackageStream) and hands it to the
// connection, which sends it and then closes. An export that fails closes
// the connection without a package (the client sees an empty response)
// and reports "Export failed: <reason>" as an error status; nothing is shown
// modally. A connection still sending a package gets nothing for a further
// request. Status texts go to OnStatus; the handler never outlives the
// components it was given.
#pragma once

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

  // Adds bytes at the end, then keeps only the last kLimit bytes.
  void Append(std::string_view bytes);
  // The text holds "%GET DATA%".
  bool Complete() const;
  // The text holds "%HTML%".
  bool AsksForHTML() const;
  void Clear() { text_.clear(); }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

enum TPackageKind { pkXML, pkHTML };

class TSrvRequestHandler {
 public:
  // query is the components' data set; the handler opens it on demand.
  TSrvRequestHandler(TDataSet& query, VdExport::TVdExportToCellFile& xml,
                     VdExport::TVdExportToCellFile& html);
  TSrvRequestHandler(const TSrvRequestHandler&) = delete;
  TSrvRequestHandler& operator=(const TSrvRequestHandler&) = delete;

  // The three socket events.
  void ClientConnect(TServerClientWinSocket* socket);
  void ClientDisconnect(TServerClientWinSocket* socket);
  void ClientRead(TServerClientWinSocket* socket);

  // The package of kind for the query's whole result, positioned at its
  // start. Opens the query when it is closed; errors reach the caller.
  std::unique_ptr<TPackageStream> BuildPackage(TPackageKind kind);

  // A status text; IsError for failures, which callers log in any case.
  std::function<void(const std::string& Text, bool IsError)> OnStatus;

 private:
  void Answer(TServerClientWinSocket* socket, TPackageKind kind);
  void Status(const std::string& text, bool isError = false);

  TDataSet& query_;
  VdExport::TVdExportToCellFile& xml_;
  VdExport::TVdExportToCellFile& html_;
  std::unordered_map<TServerClientWinSocket*, TRequestText> pending_;
};

}  // namespace Vdei
