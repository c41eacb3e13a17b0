#include "server/SrvPackageStream.h"

#include "core/Exception.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace Vdei {
namespace {

// Random writes, reads, seeks and resizes, many across block boundaries,
// on a TPackageStream and a TMemoryStream: both must hold and give the same.
TEST(PackageStream, BehavesAsAMemoryStreamAcrossItsBlocks) {
  std::mt19937 random(7);
  TPackageStream blocks;
  TMemoryStream reference;
  std::string piece, a, b;
  const int64_t span = 5 << 20;  // past the small blocks into several large ones
  for (int step = 0; step < 1500; ++step) {
    const int what = static_cast<int>(random() % 10);
    if (what < 5) {
      // Mostly small pieces at the end, as an export writes; sometimes a
      // large one that spans blocks.
      const size_t length = random() % 8 == 0 ? random() % (3 << 20) : random() % 300;
      piece.assign(length, static_cast<char>('a' + step % 26));
      if (length > 0) piece[random() % length] = '#';
      ASSERT_EQ(blocks.Write(piece.data(), static_cast<int64_t>(length)),
                reference.Write(piece.data(), static_cast<int64_t>(length)));
    } else if (what < 7) {
      const int64_t length = static_cast<int64_t>(random() % (1 << 21));
      a.assign(static_cast<size_t>(length), '\0');
      b.assign(static_cast<size_t>(length), '\0');
      const int64_t gotA = blocks.Read(a.data(), length);
      ASSERT_EQ(gotA, reference.Read(b.data(), length));
      ASSERT_TRUE(a.compare(0, static_cast<size_t>(gotA), b, 0, static_cast<size_t>(gotA)) == 0)
          << "step " << step;
    } else if (what < 9) {
      // Seeks, also past the end (a later write leaves zeros between).
      const int64_t target = static_cast<int64_t>(random() % static_cast<uint64_t>(span));
      ASSERT_EQ(blocks.Seek(target, soBeginning), reference.Seek(target, soBeginning));
    } else {
      const int64_t size = static_cast<int64_t>(random() % static_cast<uint64_t>(span));
      blocks.SetSize(size);
      reference.SetSize(size);
      ASSERT_EQ(blocks.Position(), reference.Position());
    }
    ASSERT_EQ(blocks.Size(), reference.Size()) << "step " << step;
  }
  EXPECT_TRUE(blocks.Content() == reference.View());
  EXPECT_GE(blocks.Capacity(), static_cast<size_t>(blocks.Size()));
  EXPECT_THROW(blocks.Seek(-1, soBeginning), EStreamError);
  EXPECT_THROW(blocks.SetSize(-1), EStreamError);
}

TEST(PackageStream, ASmallPackageStaysSmall) {
  TPackageStream stream;
  stream.WriteString(std::string(14000, 'x'));
  EXPECT_EQ(stream.Capacity(), 64u * 1024);
  stream.SetPosition(0);
  EXPECT_EQ(stream.ReadRemaining(), std::string(14000, 'x'));
}

}  // namespace
}  // namespace Vdei
