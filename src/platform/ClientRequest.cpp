#include "platform/ClientRequest.h"

#include <memory>

namespace Vdei {

namespace {

// Closes the socket when the transfer ends, however it ends, and cuts the
// stream back unless the transfer was whole.
class TransferGuard {
 public:
  TransferGuard(TClientSocket& socket, TStream& package)
      : socket_(socket), package_(package), startSize_(package.Size()) {}
  ~TransferGuard() {
    if (!whole_) package_.SetSize(startSize_);
    socket_.Close();
  }
  TransferGuard(const TransferGuard&) = delete;
  TransferGuard& operator=(const TransferGuard&) = delete;

  int64_t Received() { return package_.Size() - startSize_; }
  void SetWhole() { whole_ = true; }

 private:
  TClientSocket& socket_;
  TStream& package_;
  int64_t startSize_;
  bool whole_ = false;
};

}  // namespace

FetchResult FetchPackage(TClientSocket& socket, std::string_view request, TStream& package) {
  package.Seek(0, soEnd);
  TransferGuard guard(socket, package);
  socket.Open();
  if (!socket.Active()) return {socket.LastError(), 0};
  TClientWinSocket& connection = *socket.Socket();
  connection.SendText(request);
  if (socket.LastError() == 0) {
    auto buffer = std::make_unique<char[]>(ReceiveSize);
    for (;;) {
      int64_t count = connection.ReceiveBuf(buffer.get(), ReceiveSize);
      if (count <= 0) break;
      package.WriteBuffer(buffer.get(), count);
    }
  }
  if (socket.LastError() != 0) return {socket.LastError(), 0};
  guard.SetWhole();
  return {0, guard.Received()};
}

}  // namespace Vdei
