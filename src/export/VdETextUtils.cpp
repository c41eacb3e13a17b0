#include "export/VdETextUtils.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "core/CodePage.h"
#include "core/Exception.h"
#include "core/StrUtils.h"

namespace VdExport {

namespace {

// The entity of each byte that EscapeText replaces; nullptr for the rest.
constexpr std::array<const char*, 256> MakeEntityTable() {
  std::array<const char*, 256> table{};
  table[10] = "&car;";
  table[13] = "&ret;";
  table['"'] = "&quot;";
  table['&'] = "&amp;";
  table['\''] = "&apos;";
  table['<'] = "&lt;";
  table['>'] = "&gt;";
  table['|'] = "&brvbar;";
  table[153] = "&trade;";
  table[169] = "&copy;";
  table[176] = "&deg;";
  table[177] = "&plusmn;";
  table[182] = "&para;";
  return table;
}

constexpr std::array<const char*, 256> kEntities = MakeEntityTable();

const char* EntityOf(char c) {
  return kEntities[static_cast<unsigned char>(c)];
}

uint32_t ReadUint32LE(std::string_view bytes, size_t offset) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) {
    value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
  }
  return value;
}

// A name not yet taken in the temporary folder, prefix "VDE", no extension.
std::string UniqueTemporaryName() {
  const char* folder = std::getenv("TMPDIR");
  std::string name = (folder != nullptr && *folder != '\0') ? folder : "/tmp";
  if (name.back() != '/') name += '/';
  name += "VDEXXXXXX";
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    throw Vdei::EFOpenError(Vdei::Format("Cannot create a temporary file in \"%s\". %s",
                                         Vdei::ExtractFilePath(name).c_str(),
                                         std::strerror(errno)));
  }
  close(fd);
  unlink(name.c_str());
  return name;
}

const char* ImageExtension(TVdEPictureKind kind) {
  switch (kind) {
    case pkEnhancedMetafile:
      return ".emf";
    case pkMetafile:
      return ".wmf";
    case pkIcon:
      return ".ico";
    default:
      return ".bmp";
  }
}

}  // namespace

void EscapeTextTo(std::string_view text, std::string& out) {
  out.clear();
  size_t copied = 0;  // text before this position is in out
  for (size_t i = 0; i < text.size(); ++i) {
    const char* entity = EntityOf(text[i]);
    if (entity == nullptr) continue;
    out.append(text.data() + copied, i - copied);
    out.append(entity);
    copied = i + 1;
  }
  out.append(text.data() + copied, text.size() - copied);
}

std::string EscapeText(std::string_view text) {
  std::string out;
  EscapeTextTo(text, out);
  return out;
}

std::string ToOemText(bool flag, std::string_view text) {
  return flag ? Vdei::AnsiToOem(text) : std::string();
}

TVdEPictureKind PictureKind(std::string_view picture) {
  if (picture.size() >= 2 && picture.substr(0, 2) == "BM") return pkBitmap;
  if (picture.size() >= 44 && ReadUint32LE(picture, 0) == 1 && picture.substr(40, 4) == " EMF") {
    return pkEnhancedMetafile;
  }
  if (picture.size() >= 4 && ReadUint32LE(picture, 0) == 0x9AC6CDD7u) return pkMetafile;
  if (picture.size() >= 4) {
    const uint32_t head = ReadUint32LE(picture, 0);
    // A plain metafile header: type 1 (memory) or 2 (disk), 9 words long.
    if (head == 0x00090001u || head == 0x00090002u) return pkMetafile;
    if (head == 0x00010000u) return pkIcon;
  }
  return pkOther;
}

std::string MakeImageFileName(std::string_view documentFileName, int number,
                              std::string_view picture) {
  std::string name = documentFileName.empty()
                         ? UniqueTemporaryName()
                         : Vdei::ExtractFilePath(documentFileName) + "img" + std::to_string(number);
  name += ImageExtension(PictureKind(picture));
  return name;
}

}  // namespace VdExport
