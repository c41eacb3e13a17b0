// TFileStream: a file read and written at a position through POSIX calls,
// with the writes collected in a 64 KiB buffer.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "core/Exception.h"
#include "core/Properties.h"
#include "core/Stream.h"

namespace Vdei {

namespace {

constexpr size_t kWriteBufferSize = 64 * 1024;

// The English text of an error number (never translated by the locale).
std::string ErrorText(int error) {
  const char* text = strerrordesc_np(error);
  return text != nullptr ? text : "Unknown error " + std::to_string(error);
}

int OpenFlags(TFileMode mode) {
  switch (mode) {
    case fmCreate:
      return O_RDWR | O_CREAT | O_TRUNC;
    case fmOpenRead:
      return O_RDONLY;
    case fmOpenWrite:
      return O_WRONLY;
    case fmOpenReadWrite:
      return O_RDWR;
  }
  return O_RDONLY;
}

[[noreturn]] void ThrowIoError(const char* what, const std::string& fileName, int error) {
  throw EStreamError(std::string(what) + " \"" + fileName + "\". " + ErrorText(error));
}

}  // namespace

const TClassInfo& TFileStream::StaticClassInfo() {
  static const TClassInfo info = ClassInfoBuilder<TFileStream, TStream>("TFileStream").Build();
  return info;
}

TFileStream::TFileStream(const std::string& fileName, TFileMode mode)
    : fileName_(fileName), mode_(mode) {
  fd_ = ::open(fileName.c_str(), OpenFlags(mode) | O_CLOEXEC, 0666);
  if (fd_ < 0) {
    int error = errno;
    const char* what = mode == fmCreate ? "Cannot create file" : "Cannot open file";
    throw EFOpenError(std::string(what) + " \"" + fileName + "\". " + ErrorText(error));
  }
  struct stat info {};
  if (::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd_);
    throw EFOpenError("Cannot open file \"" + fileName + "\". " + ErrorText(EISDIR));
  }
}

TFileStream::~TFileStream() {
  try {
    FlushWriteBuffer();
  } catch (const Exception&) {
    // A destructor cannot report; callers that must know call Flush().
  }
  ::close(fd_);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || mode_ == fmOpenWrite) return 0;
  FlushWriteBuffer();
  char* out = static_cast<char*>(buffer);
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::pread(fd_, out + done, static_cast<size_t>(count - done), position_ + done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ThrowIoError("Cannot read file", fileName_, errno);
    if (n == 0) break;
    done += n;
  }
  position_ += done;
  return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  if (count <= 0 || mode_ == fmOpenRead) return 0;
  const char* data = static_cast<const char*>(buffer);
  size_t size = static_cast<size_t>(count);
  if (writeBuffer_.size() + size > kWriteBufferSize) FlushWriteBuffer();
  if (size >= kWriteBufferSize) {
    int64_t offset = position_;
    for (size_t done = 0; done < size;) {
      ssize_t n = ::pwrite(fd_, data + done, size - done, offset + static_cast<int64_t>(done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) ThrowIoError("Cannot write file", fileName_, n < 0 ? errno : ENOSPC);
      done += static_cast<size_t>(n);
    }
  } else {
    if (writeBuffer_.capacity() < kWriteBufferSize) writeBuffer_.reserve(kWriteBufferSize);
    writeBuffer_.insert(writeBuffer_.end(), data, data + size);
  }
  position_ += count;
  return count;
}

void TFileStream::FlushWriteBuffer() {
  if (writeBuffer_.empty()) return;
  int64_t offset = position_ - static_cast<int64_t>(writeBuffer_.size());
  size_t done = 0;
  while (done < writeBuffer_.size()) {
    ssize_t n = ::pwrite(fd_, writeBuffer_.data() + done, writeBuffer_.size() - done,
                         offset + static_cast<int64_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      int error = n < 0 ? errno : ENOSPC;
      writeBuffer_.clear();  // reported once; the bytes cannot be written
      ThrowIoError("Cannot write file", fileName_, error);
    }
    done += static_cast<size_t>(n);
  }
  writeBuffer_.clear();
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == soBeginning ? 0 : (origin == soCurrent ? position_ : Size());
  int64_t target = base + offset;
  if (target < 0) throw EStreamError("Stream seek error");
  if (target != position_) {
    FlushWriteBuffer();
    position_ = target;
  }
  return position_;
}

int64_t TFileStream::Size() {
  struct stat info {};
  if (::fstat(fd_, &info) != 0) ThrowIoError("Cannot read file", fileName_, errno);
  // Buffered bytes end at the position; they may reach past the file's end.
  return writeBuffer_.empty() ? info.st_size : std::max<int64_t>(info.st_size, position_);
}

void TFileStream::SetSize(int64_t size) {
  if (size < 0) throw EStreamError("Stream write error");
  FlushWriteBuffer();
  if (::ftruncate(fd_, size) != 0) ThrowIoError("Cannot write file", fileName_, errno);
  position_ = std::min(position_, size);
}

void TFileStream::Flush() {
  FlushWriteBuffer();
}

void TFileStream::FlushToDisk() {
  Flush();
  if (::fsync(fd_) != 0) ThrowIoError("Cannot write file", fileName_, errno);
}

}  // namespace Vdei
