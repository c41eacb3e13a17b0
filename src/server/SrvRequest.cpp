#include "server/SrvRequest.h"

#include <algorithm>
#include <exception>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "core/CodePage.h"
#include "core/StrUtils.h"
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
  if (!HasMarker()) {
    // A marker may begin in the bytes kept from before.
    const size_t from =
        text_.size() >= kRequestMarker.size() ? text_.size() - kRequestMarker.size() + 1 : 0;
    text_.append(bytes);
    marker_ = text_.find(kRequestMarker, from);
    if (!HasMarker()) {
      if (text_.size() > kLimit) text_.erase(0, text_.size() - kLimit);
      return;
    }
    if (marker_ > kLimit) {
      text_.erase(0, marker_ - kLimit);
      marker_ = kLimit;
    }
    scanned_ = marker_ + kRequestMarker.size();
  } else {
    const size_t room = marker_ + kLimit - std::min(text_.size(), marker_ + kLimit);
    text_.append(bytes.substr(0, room));
  }
  if (text_.size() > marker_ + kLimit) text_.resize(marker_ + kLimit);
  if (!terminated_) {
    terminated_ = text_.find('%', scanned_) != std::string::npos;
    scanned_ = text_.size();
  }
}

bool TRequestText::AsksForHTML() const {
  return text_.find(kHTMLMarker) != std::string::npos;
}

// ---- the handler ----

TSrvRequestHandler::TSrvRequestHandler(TDataSet& query, VdExport::TVdExportToCellFile& xml,
                                       VdExport::TVdExportToCellFile& html, int64_t maxPendingBytes)
    : query_(query), xml_(xml), html_(html), maxPendingBytes_(maxPendingBytes) {}

void TSrvRequestHandler::ClientConnect(TServerClientWinSocket* socket) {
  pending_[socket];
  Status("Client connected");
}

void TSrvRequestHandler::ClientDisconnect(TServerClientWinSocket* socket) {
  pending_.erase(socket);
  std::erase_if(waiting_, [socket](const Waiting& w) { return w.Socket == socket; });
  Status("Client disconnected");
  ServeWaiting(socket);
}

void TSrvRequestHandler::ClientRead(TServerClientWinSocket* socket) {
  Status("Client requested some info");
  TRequestText& request = pending_[socket];
  request.Append(socket->ReceiveText());
  if (request.Complete() || (request.HasMarker() && socket->InputEnded())) Take(socket, request);
}

void TSrvRequestHandler::ClientPause(TServerClientWinSocket* socket) {
  auto it = pending_.find(socket);
  if (it != pending_.end() && it->second.HasMarker()) Take(socket, it->second);
}

void TSrvRequestHandler::ClientSent(TServerClientWinSocket* socket) {
  Status("Sent the dataset to client");
  ServeWaiting(socket);
}

void TSrvRequestHandler::Take(TServerClientWinSocket* socket, const TRequestText& request) {
  const TPackageKind kind = request.AsksForHTML() ? pkHTML : pkXML;
  pending_[socket].Clear();
  // One package per connection: once a request is taken, later ones get
  // nothing, so no package is built for them.
  if (socket->Requested() || !socket->Connected()) return;
  socket->RequestReceived();
  if (!waiting_.empty() || !MayBuild(socket)) {
    waiting_.push_back({socket, kind});
    Status(Format("Request waits: %lld MiB of packages are being sent",
                  static_cast<long long>(socket->ServerSocket().PendingBytes() >> 20)));
    return;
  }
  Answer(socket, kind);
}

bool TSrvRequestHandler::MayBuild(const TServerClientWinSocket* socket) const {
  return socket->ServerSocket().PendingBytes() < maxPendingBytes_;
}

void TSrvRequestHandler::ServeWaiting(const TServerClientWinSocket* socket) {
  if (serving_) return;
  serving_ = true;
  while (!waiting_.empty() && MayBuild(socket)) {
    const Waiting next = waiting_.front();
    waiting_.pop_front();
    Answer(next.Socket, next.Kind);
  }
  serving_ = false;
}

std::unique_ptr<TPackageStream> TSrvRequestHandler::BuildPackage(TPackageKind kind) {
  ClearUpperVectorState();
  if (query_.Active()) query_.Close();
  query_.Open();
  auto package = std::make_unique<TPackageStream>();
  (kind == pkHTML ? html_ : xml_).ExportToStream(package.get());
  package->SetPosition(0);
  return package;
}

void TSrvRequestHandler::Answer(TServerClientWinSocket* socket, TPackageKind kind) {
  std::unique_ptr<TPackageStream> package;
  std::string failure;
  const uint64_t replacedBefore = ReplacedCharacterCount();
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
  const uint64_t replaced = ReplacedCharacterCount() - replacedBefore;
  if (replaced != 0) {
    Status(Format("%llu characters outside code page %d were replaced by \"?\"",
                  static_cast<unsigned long long>(replaced), ActiveAnsiCodePage()));
  }
  if (connected) socket->SendStream(std::move(package));
}

void TSrvRequestHandler::Status(const std::string& text, bool isError) {
  if (OnStatus) OnStatus(text, isError);
}

}  // namespace Vdei
