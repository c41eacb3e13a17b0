#include "import/VdITextReader.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

#include "core/Stream.h"
#include "dataset/DataSet.h"
#include "import/VdIEntities.h"

namespace VdImport {

std::string_view TVdITextReader::LoadSource() {
  FreeSource();
  Vdei::TStream* stream = SourceStream();
  if (auto* memory = dynamic_cast<Vdei::TMemoryStream*>(stream)) {
    const int64_t position = std::clamp<int64_t>(memory->Position(), 0, memory->Size());
    text_ = memory->View().substr(static_cast<size_t>(position));
    memory->SetPosition(memory->Size());
  } else if (stream != nullptr) {
    text_ = ReadOwnText(*stream);
  } else {
    Vdei::TFileStream file(SourceFileName(), Vdei::fmOpenRead);
    text_ = ReadOwnText(file);
  }
  rowIndex_ = 0;
  enteredRow_ = SIZE_MAX;
  replaced_ = 0;
  return text_;
}

std::string_view TVdITextReader::ReadOwnText(Vdei::TStream& stream) {
  if (paged_.Read(stream)) return paged_.View();
  owned_ = stream.ReadRemaining();
  return owned_;
}

void TVdITextReader::FreeSource() {
  text_ = {};
  paged_.Clear();
  std::string().swap(owned_);
  enteredRow_ = SIZE_MAX;
}

void TVdITextReader::NextRecord() {
  ++rowIndex_;
  if (rowIndex_ >= StoredRows()) return;
  if (const char* next = RowText(rowIndex_)) paged_.Release(next);
}

// --- TPagedText --------------------------------------------------------------

namespace {

// Pages are given back in pieces of at least this size.
constexpr size_t kReleaseStep = size_t{16} << 20;

size_t PageSize() {
  static const size_t size = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  return size;
}

}  // namespace

bool TVdITextReader::TPagedText::Read(Vdei::TStream& stream) {
  Clear();
  const int64_t remaining = std::max<int64_t>(stream.Size() - stream.Position(), 0);
  const size_t length = std::max<size_t>(static_cast<size_t>(remaining), 1);
  void* pages = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (pages == MAP_FAILED) return false;
  data_ = static_cast<char*>(pages);
  mapped_ = length;
  while (size_ < mapped_) {
    const int64_t got = stream.Read(data_ + size_, static_cast<int64_t>(mapped_ - size_));
    if (got <= 0) break;
    size_ += static_cast<size_t>(got);
  }
  return true;
}

void TVdITextReader::TPagedText::Release(const char* position) {
  if (data_ == nullptr || position < data_ || position > data_ + size_) return;
  const size_t end = static_cast<size_t>(position - data_) / PageSize() * PageSize();
  if (end < released_ + kReleaseStep) return;
  madvise(data_ + released_, end - released_, MADV_DONTNEED);
  released_ = end;
}

void TVdITextReader::TPagedText::Clear() {
  if (data_ != nullptr) munmap(data_, mapped_);
  data_ = nullptr;
  size_ = mapped_ = released_ = 0;
}

bool TVdITextReader::EnterRow() {
  if (enteredRow_ == rowIndex_) return false;
  enteredRow_ = rowIndex_;
  return true;
}

std::string_view TVdITextReader::DecodeCell(std::string_view raw, bool fromUtf8) {
  return DecodeCellText(raw, fromUtf8, buffer_, replaced_);
}

bool TVdITextReader::GetMissingProperty(std::string& name) {
  if (TVdImportBaseComponent::GetMissingProperty(name)) return true;
  if (!SourceFileName().empty()) return false;
  name = "SourceFileName";
  return true;
}

void TVdITextReader::CreateColumns() {
  if (RowFieldNames() <= 0 && DataSet() != nullptr && DataSet()->FieldDefs()->Count() > 0) {
    return TVdImportBaseComponent::CreateColumns();
  }
  AddSourceColumns();
}

void TVdICellWidths::Note(size_t column, std::string_view raw) {
  if (column >= widths_.size() || raw.size() <= widths_[column]) return;
  int replaced = 0;
  widths_[column] =
      std::max(widths_[column], DecodeCellText(raw, fromUtf8_, buffer_, replaced).size());
}

std::vector<int> TVdICellWidths::Widths() const {
  std::vector<int> result(widths_.size());
  for (size_t i = 0; i < widths_.size(); ++i) {
    result[i] = static_cast<int>(std::min<size_t>(widths_[i], INT_MAX));
  }
  return result;
}

}  // namespace VdImport
