#include "import/VdITextReader.h"

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
  } else {
    if (stream != nullptr) {
      owned_ = stream->ReadRemaining();
    } else {
      Vdei::TFileStream file(SourceFileName(), Vdei::fmOpenRead);
      owned_ = file.ReadRemaining();
    }
    text_ = owned_;
  }
  rowIndex_ = 0;
  enteredRow_ = SIZE_MAX;
  replaced_ = 0;
  return text_;
}

void TVdITextReader::FreeSource() {
  text_ = {};
  std::string().swap(owned_);
  enteredRow_ = SIZE_MAX;
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
