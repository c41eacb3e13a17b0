// FetchPackage: the client's transfer over a TClientSocket: connect, send
// the request text, read until the peer closes, close.
//
// The bytes are appended to the caller's stream as they arrive, read in
// pieces of at most ReceiveSize bytes, with no other copy of the package.
// A transfer in which any socket error or timeout happened is a failure:
// the stream is then cut back to the size it had before the call, so a
// partial package can never be taken for a whole one. The socket's events
// are raised as TClientSocket describes (its OnError handler decides
// whether an error also raises; a raised error also cuts the stream back
// and closes the socket). The socket is closed at the end in every case.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/Stream.h"
#include "platform/ClientSocket.h"

namespace Vdei {

struct FetchResult {
  // The first socket error code of the transfer (0: none).
  int ErrorCode = 0;
  // Bytes appended to the stream (0 after a failure).
  int64_t Received = 0;
  bool Failed() const { return ErrorCode != 0; }
};

// The size of one receive, as the VDEI client has it.
inline constexpr int64_t ReceiveSize = 16534;

FetchResult FetchPackage(TClientSocket& socket, std::string_view request, TStream& package);

}  // namespace Vdei
