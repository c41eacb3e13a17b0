#include "core/Stream.h"

#include <algorithm>

#include "core/Exception.h"
#include "core/Properties.h"

namespace Vdei {

namespace {

constexpr int64_t kCopyChunk = 64 * 1024;

}  // namespace

const TClassInfo& TStream::StaticClassInfo() {
  static const TClassInfo info = ClassInfoBuilder<TStream, TObject>("TStream").Build();
  return info;
}

int64_t TStream::Size() {
  int64_t position = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(position, soBeginning);
  return size;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count > 0 && Read(buffer, count) != count) throw EStreamError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count > 0 && Write(buffer, count) != count) throw EStreamError("Stream write error");
}

std::string TStream::ReadRemaining() {
  int64_t remaining = std::max<int64_t>(Size() - Position(), 0);
  std::string text(static_cast<size_t>(remaining), '\0');
  int64_t read = remaining > 0 ? Read(text.data(), remaining) : 0;
  text.resize(static_cast<size_t>(std::max<int64_t>(read, 0)));
  return text;
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count < 0) throw EStreamError("Stream read error");
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  std::string buffer(static_cast<size_t>(std::min(count, kCopyChunk)), '\0');
  int64_t left = count;
  while (left > 0) {
    int64_t chunk = std::min(left, kCopyChunk);
    source.ReadBuffer(buffer.data(), chunk);
    WriteBuffer(buffer.data(), chunk);
    left -= chunk;
  }
  return count;
}

const TClassInfo& TMemoryStream::StaticClassInfo() {
  static const TClassInfo info = ClassInfoBuilder<TMemoryStream, TStream>("TMemoryStream").Build();
  return info;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  int64_t available = Size() - position_;
  if (count <= 0 || available <= 0) return 0;
  int64_t n = std::min(count, available);
  std::copy_n(data_.data() + position_, n, static_cast<char*>(buffer));
  position_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const char* bytes = static_cast<const char*>(buffer);
  int64_t end = position_ + count;
  if (position_ == Size()) {
    data_.append(bytes, static_cast<size_t>(count));  // the usual case: no zero fill first
  } else {
    if (end > Size()) data_.resize(static_cast<size_t>(end));  // a gap after the end reads as zeros
    std::copy_n(bytes, count, data_.data() + position_);
  }
  position_ = end;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == soBeginning ? 0 : (origin == soCurrent ? position_ : Size());
  int64_t target = base + offset;
  if (target < 0) throw EStreamError("Stream seek error");
  position_ = target;
  return position_;
}

void TMemoryStream::SetSize(int64_t size) {
  if (size < 0) throw EStreamError("Stream write error");
  data_.resize(static_cast<size_t>(size));
  position_ = std::min(position_, size);
}

void TMemoryStream::Clear() {
  data_.clear();
  position_ = 0;
}

std::string TMemoryStream::Release() {
  std::string content = std::move(data_);
  Clear();
  return content;
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  TFileStream file(fileName, fmOpenRead);
  LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::string& fileName) {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
  file.Flush();
}

void TMemoryStream::LoadFromStream(TStream& source) {
  source.SetPosition(0);
  std::string content = source.ReadRemaining();
  data_ = std::move(content);
  position_ = 0;
}

void TMemoryStream::SaveToStream(TStream& dest) {
  dest.WriteBuffer(data_.data(), Size());
}

}  // namespace Vdei
