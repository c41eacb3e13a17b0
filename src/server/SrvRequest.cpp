#include "server/SrvRequest.h"

#include <exception>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "dataset/DataSet.h"
#include "export/VdE2Cell.h"
#include "server/ServerSocket.h"

namespace Vdei {

namespace {

constexpr std::string_view kRequestMarker = "%GET DATA%";
constexpr std::string_view kHTMLMarker = "%HTML%";

#if defined(__x86_64__)
__attribute__((target("avx"))) void ZeroUpperAvx() {
  _mm256_zeroupper();
}
#endif

// Qt's event handling can leave the upper halves of the AVX registers in
// use when it calls the read handler; every SSE instruction of the query
// and the export (all compiled for plain x86-64) then waits on them. On the
// machines measured that made the export of a large table 1.6 times as
// slow. VZEROUPPER clears them; where there is no AVX there is nothing to
// clear.
void ClearUpperVectorState() {
#if defined(__x86_64__)
  static const bool hasAvx = __builtin_cpu_supports("avx");
  if (hasAvx) ZeroUpperAvx();
#endif
}

}  // namespace

// ---- the kept request text ----

void TRequestText::Append(std::string_view bytes) {
  if (bytes.size() >= kLimit) {
    text_.assign(bytes.substr(bytes.size() - kLimit));
    return;
  }
  text_.append(bytes);
  if (text_.size() > kLimit) text_.erase(0, text_.size() - kLimit);
}

bool TRequestText::Complete() const {
  return text_.find(kRequestMarker) != std::string::npos;
}

bool TRequestText::AsksForHTML() const {
  return text_.find(kHTMLMarker) != std::string::npos;
}

// ---- the handler ----

TSrvRequestHandler::TSrvRequestHandler(TDataSet& query, VdExport::TVdExportToCellFile& xml,
                                       VdExport::TVdExportToCellFile& html)
    : query_(query), xml_(xml), html_(html) {}

void TSrvRequestHandler::ClientConnect(TServerClientWinSocket* socket) {
  pending_[socket];
  Status("Client connected");
}

void TSrvRequestHandler::ClientDisconnect(TServerClientWinSocket* socket) {
  pending_.erase(socket);
  Status("Client disconnected");
}

void TSrvRequestHandler::ClientRead(TServerClientWinSocket* socket) {
  Status("Client requested some info");
  TRequestText& request = pending_[socket];
  request.Append(socket->ReceiveText());
  if (!request.Complete()) return;
  const TPackageKind kind = request.AsksForHTML() ? pkHTML : pkXML;
  request.Clear();
  // One package per connection: while one is on its way (or the
  // connection is closing after it), a further request gets nothing, so
  // no package is built for it.
  if (socket->Sending() || !socket->Connected()) return;
  Answer(socket, kind);
}

std::unique_ptr<TPackageStream> TSrvRequestHandler::BuildPackage(TPackageKind kind) {
  ClearUpperVectorState();
  if (!query_.Active()) query_.Open();
  auto package = std::make_unique<TPackageStream>();
  (kind == pkHTML ? html_ : xml_).ExportToStream(package.get());
  package->SetPosition(0);
  return package;
}

void TSrvRequestHandler::Answer(TServerClientWinSocket* socket, TPackageKind kind) {
  std::unique_ptr<TPackageStream> package;
  std::string failure;
  try {
    package = BuildPackage(kind);
  } catch (const std::exception& e) {
    failure = e.what();
  }
  // The connection may have ended while the export ran (a run that lets
  // the event loop turn); then nobody is left to answer.
  const bool connected = pending_.count(socket) != 0;
  if (!package) {
    if (connected) socket->Close();
    Status("Export failed: " + failure, true);
    return;
  }
  if (!connected) return;
  socket->SendStream(std::move(package));
  Status("Sent the dataset to client");
}

void TSrvRequestHandler::Status(const std::string& text, bool isError) {
  if (OnStatus) OnStatus(text, isError);
}

}  // namespace Vdei
