#include "tools/FdOutputStream.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/Exception.h"

namespace Vdei {

TFdOutputStream::TFdOutputStream(int fd, std::string name, size_t bufferSize)
    : fd_(fd), name_(std::move(name)), buffer_(bufferSize > 0 ? bufferSize : 1) {}

TFdOutputStream::~TFdOutputStream() {
  try {
    Flush();
  } catch (const Exception&) {
    // A destructor cannot report; callers that must know call Flush().
  }
}

int64_t TFdOutputStream::Read(void*, int64_t) {
  return 0;
}

int64_t TFdOutputStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const char* data = static_cast<const char*>(buffer);
  const size_t size = static_cast<size_t>(count);
  if (used_ + size > buffer_.size()) Flush();
  if (size >= buffer_.size()) {
    WriteThrough(data, size);
  } else {
    std::memcpy(buffer_.data() + used_, data, size);
    used_ += size;
  }
  written_ += count;
  return count;
}

int64_t TFdOutputStream::Seek(int64_t offset, TSeekOrigin origin) {
  if (offset == 0 && origin != soBeginning) return written_;
  if (origin == soBeginning && offset == written_) return written_;
  throw EStreamError("Cannot move the position of " + name_);
}

void TFdOutputStream::SetSize(int64_t) {
  throw EStreamError("Cannot change the size of " + name_);
}

void TFdOutputStream::Flush() {
  const size_t used = used_;
  used_ = 0;
  WriteThrough(buffer_.data(), used);
}

void TFdOutputStream::WriteThrough(const char* data, size_t size) {
  for (size_t done = 0; done < size;) {
    const ssize_t n = ::write(fd_, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      throw EStreamError("Cannot write to " + name_ + ". " + std::strerror(n < 0 ? errno : ENOSPC));
    }
    done += static_cast<size_t>(n);
  }
}

}  // namespace Vdei
