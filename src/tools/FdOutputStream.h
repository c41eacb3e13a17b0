// TFdOutputStream: a write-only, buffered stream over a file descriptor
// that the caller keeps open (vdei-export's standard output), so that a
// package goes out as it is written instead of being built in memory.
//
// Writes collect in a buffer of bufferSize bytes that is handed to the
// descriptor when full, by Flush, and by the destructor (which cannot
// report a failure: callers that must know call Flush first). A write the
// descriptor refuses raises EStreamError "Cannot write to <name>. <reason>".
// Nothing can be read (Read returns 0); Seek only tells the position (the
// bytes written so far) and raises EStreamError for any move.
#pragma once

#include <string>
#include <vector>

#include "core/Stream.h"

namespace Vdei {

class TFdOutputStream : public TStream {
 public:
  TFdOutputStream(int fd, std::string name, size_t bufferSize = 1 << 16);
  ~TFdOutputStream() override;
  TFdOutputStream(const TFdOutputStream&) = delete;
  TFdOutputStream& operator=(const TFdOutputStream&) = delete;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;

  void Flush();

 private:
  void WriteThrough(const char* data, size_t size);

  int fd_;
  std::string name_;
  std::vector<char> buffer_;
  size_t used_ = 0;
  int64_t written_ = 0;  // bytes taken, the buffered ones included
};

}  // namespace Vdei
