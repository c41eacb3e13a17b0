// Byte streams: TStream (read and write at a position), TMemoryStream
// (growable, in memory) and TFileStream (a file, buffered).
//
// Read returns the bytes it could read (0 at the end); ReadBuffer and
// WriteBuffer raise EStreamError "Stream read error" / "Stream write error"
// when not every byte moved. Writing past the end extends the stream.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Object.h"

namespace Vdei {

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
 public:
  VDEI_CLASS(TStream)
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // Returns the new position.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual int64_t Size();
  virtual void SetSize(int64_t size) = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t position) { Seek(position, soBeginning); }

  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  void WriteString(std::string_view text) {
    WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  }
  // The bytes from the current position to the end.
  std::string ReadRemaining();
  // Copies count bytes from source's position (count 0: from its start to
  // its end, as the framework does); returns the bytes copied. A source
  // that ends early (or a negative count) raises EStreamError.
  int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
 public:
  VDEI_CLASS(TMemoryStream)
  TMemoryStream() = default;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }
  void SetSize(int64_t size) override;

  void Clear();
  // The whole content, valid until the next write.
  std::string_view View() const { return data_; }
  const char* Memory() const { return data_.data(); }
  // Moves the content out; the stream is then empty.
  std::string Release();
  void LoadFromFile(const std::string& fileName);  // EFOpenError
  void SaveToFile(const std::string& fileName);    // EFOpenError
  void LoadFromStream(TStream& source);
  void SaveToStream(TStream& dest);

 private:
  std::string data_;
  int64_t position_ = 0;
};

enum TFileMode {
  fmCreate,         // create or truncate, read and write
  fmOpenRead,       // existing file, read only
  fmOpenWrite,      // existing file, write only
  fmOpenReadWrite,  // existing file, read and write
};

class TFileStream : public TStream {
 public:
  VDEI_CLASS(TFileStream)
  // EFOpenError "Cannot create file \"%s\". <reason>" for fmCreate,
  // "Cannot open file \"%s\". <reason>" otherwise.
  TFileStream(const std::string& fileName, TFileMode mode);
  // Writes what is buffered and closes the file; a failure to write can
  // not be reported here, so callers that must know call Flush() first.
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override;
  void SetSize(int64_t size) override;

  const std::string& FileName() const { return fileName_; }
  // Hands the buffered bytes to the operating system.
  void Flush();
  // Flush, then asks the operating system to write its buffers to disk.
  void FlushToDisk();

 private:
  void FlushWriteBuffer();
  std::string fileName_;
  TFileMode mode_;
  int fd_ = -1;
  std::vector<char> writeBuffer_;
  int64_t position_ = 0;  // logical position, buffer included
};

}  // namespace Vdei
