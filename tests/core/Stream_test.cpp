#include "core/Stream.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/Exception.h"

namespace Vdei {
namespace {

std::string TempPath(const char* name) {
  return std::string(::testing::TempDir()) + "vdei_core_" + std::to_string(getpid()) + "_" + name;
}

std::string FileContent(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(MemoryStream, ReadWriteSeekAndSize) {
  TMemoryStream s;
  s.WriteString("hello");
  EXPECT_EQ(s.Position(), 5);
  EXPECT_EQ(s.Size(), 5);
  s.SetPosition(1);
  char buffer[8] = {};
  EXPECT_EQ(s.Read(buffer, 3), 3);
  EXPECT_EQ(std::string(buffer, 3), "ell");
  EXPECT_EQ(s.ReadRemaining(), "o");
  EXPECT_EQ(s.Read(buffer, 3), 0);
  EXPECT_THROW(s.ReadBuffer(buffer, 1), EStreamError);
  // Seeking past the end and writing leaves zeros in the gap.
  EXPECT_EQ(s.Seek(3, soEnd), 8);
  EXPECT_EQ(s.ReadRemaining(), "");
  s.WriteString("!");
  EXPECT_EQ(s.View(), std::string_view("hello\0\0\0!", 9));
  EXPECT_EQ(s.Seek(-2, soCurrent), 7);
  EXPECT_EQ(s.ReadRemaining(), std::string("\0!", 2));
  EXPECT_THROW(s.Seek(-1, soBeginning), EStreamError);
  s.SetSize(2);
  EXPECT_EQ(s.Position(), 2);
  EXPECT_EQ(s.View(), "he");
  std::string released = s.Release();
  EXPECT_EQ(released, "he");
  EXPECT_EQ(s.Size(), 0);
  EXPECT_EQ(s.Position(), 0);
}

TEST(MemoryStream, CopyFromAndFiles) {
  TMemoryStream source;
  source.WriteString("0123456789");
  TMemoryStream dest;
  source.SetPosition(6);
  EXPECT_EQ(dest.CopyFrom(source, 3), 3);
  EXPECT_EQ(dest.View(), "678");
  EXPECT_EQ(dest.CopyFrom(source, 0), 10);  // 0: the whole source
  EXPECT_EQ(dest.View(), "6780123456789");
  source.SetPosition(8);
  EXPECT_THROW(dest.CopyFrom(source, 5), EStreamError);
  EXPECT_THROW(dest.CopyFrom(source, -1), EStreamError);
  std::string path = TempPath("memory.bin");
  dest.SaveToFile(path);
  EXPECT_EQ(FileContent(path), "6780123456789");
  TMemoryStream loaded;
  loaded.WriteString("old content");
  loaded.LoadFromFile(path);
  EXPECT_EQ(loaded.View(), "6780123456789");
  EXPECT_EQ(loaded.Position(), 0);
  std::remove(path.c_str());
  EXPECT_THROW(loaded.LoadFromFile(path), EFOpenError);
}

TEST(FileStream, BufferedWritesReadBack) {
  std::string path = TempPath("buffered.txt");
  std::string expected;
  {
    TFileStream file(path, fmCreate);
    for (int i = 0; i < 20000; ++i) {
      std::string piece = "<row id=\"" + std::to_string(i) + "\"/>";
      file.WriteString(piece);
      expected += piece;
    }
    std::string big(200000, 'x');  // larger than the buffer: written through
    file.WriteString(big);
    expected += big;
    EXPECT_EQ(file.Size(), static_cast<int64_t>(expected.size()));
    EXPECT_EQ(file.Position(), static_cast<int64_t>(expected.size()));
    // Reading sees what is still buffered.
    file.SetPosition(0);
    char head[9] = {};
    EXPECT_EQ(file.Read(head, 8), 8);
    EXPECT_EQ(std::string(head), "<row id=");
    // Overwrite in the middle, then extend past the end.
    file.SetPosition(1);
    file.WriteString("R");
    expected[1] = 'R';
    file.Seek(2, soEnd);
    file.WriteString("end");
    expected += std::string(2, '\0') + "end";
  }
  EXPECT_EQ(FileContent(path), expected);
  TFileStream reader(path, fmOpenRead);
  EXPECT_EQ(reader.Size(), static_cast<int64_t>(expected.size()));
  EXPECT_EQ(reader.ReadRemaining(), expected);
  EXPECT_EQ(reader.Write("x", 1), 0);
  EXPECT_THROW(reader.WriteBuffer("x", 1), EStreamError);
  std::remove(path.c_str());
}

TEST(FileStream, FlushHandsBytesToTheSystem) {
  std::string path = TempPath("flush.txt");
  TFileStream file(path, fmCreate);
  file.WriteString("abc");
  EXPECT_EQ(FileContent(path), "");  // still in the buffer
  file.Flush();
  EXPECT_EQ(FileContent(path), "abc");
  file.WriteString("def");
  file.FlushToDisk();
  EXPECT_EQ(FileContent(path), "abcdef");
  file.SetSize(2);
  EXPECT_EQ(FileContent(path), "ab");
  EXPECT_EQ(file.Position(), 2);
  std::remove(path.c_str());
}

TEST(FileStream, OpenErrorsNameTheFileAndTheReason) {
  std::string missing = TempPath("no/such/dir/file.txt");
  try {
    TFileStream file(missing, fmCreate);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Cannot create file \"" + missing + "\". No such file or directory");
  }
  try {
    TFileStream file(missing, fmOpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file \"" + missing + "\". No such file or directory");
  }
  EXPECT_THROW(TFileStream(::testing::TempDir(), fmOpenRead), EFOpenError);
}

}  // namespace
}  // namespace Vdei
