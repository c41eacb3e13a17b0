#include "import/VdIMappings.h"

#include <unordered_map>

#include "core/StrUtils.h"
#include "core/Strings.h"
#include "dataset/DataSet.h"
#include "import/VdIColumns.h"
#include "import/VdIParsBuiltins.h"
#include "import/VdIParsFunctions.h"

namespace VdImport {

using Vdei::TStrings;

namespace {

constexpr size_t kShortNameLength = 10;

std::string SourceText(std::string_view source, bool shortNames) {
  if (!shortNames) return std::string(source);
  return std::string(Vdei::Trim(source.substr(0, kShortNameLength)));
}

// The expression of the first line of each upper-case name.
class FirstSources {
 public:
  explicit FirstSources(const TStrings& mappings) {
    for (int i = 0; i < mappings.Count(); ++i) {
      const TVdIMappingLine line = SplitMappingLine(mappings[i]);
      sources_.try_emplace(Vdei::UpperCase(line.Name), line.Source);
    }
  }
  // Empty when no line has that name.
  std::string_view Of(const std::string& upperName) const {
    const auto found = sources_.find(upperName);
    return found == sources_.end() ? std::string_view() : found->second;
  }

 private:
  std::unordered_map<std::string, std::string_view> sources_;
};

bool IsPlainIdentifier(std::string_view name) {
  if (name.empty()) return false;
  const auto letter = [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
  };
  if (!letter(name[0])) return false;
  for (char c : name) {
    if (!letter(c) && !(c >= '0' && c <= '9')) return false;
  }
  return true;
}

bool NamesSomethingElse(std::string_view name) {
  static constexpr std::string_view kWords[] = {"AND", "OR", "NOT", "LOOKUP", "SUBSTITUTE"};
  for (std::string_view word : kWords) {
    if (Vdei::SameText(word, name)) return true;
  }
  return FindBuiltin(name) != bfNone || GlobalFunctions().FindFunction(name) != nullptr;
}

}  // namespace

TVdIMappingLine SplitMappingLine(std::string_view line) {
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return {Vdei::Trim(line), {}};
  return {Vdei::Trim(line.substr(0, equals)), Vdei::Trim(line.substr(equals + 1))};
}

TVdIEntries MakeMappingEntries(const TStrings& mappings, bool shortNames) {
  const FirstSources sources(mappings);
  TVdIEntries entries;
  for (int i = 0; i < mappings.Count(); ++i) {
    std::string name = Vdei::UpperCase(SplitMappingLine(mappings[i]).Name);
    const std::string_view source = sources.Of(name);
    if (source.empty()) continue;
    entries.push_back({std::move(name), SourceText(source, shortNames)});
  }
  return entries;
}

TVdIEntries MakeKeyEntries(const TStrings& mappings, std::string_view datasetKeys, bool shortNames,
                           std::vector<std::string>* missing) {
  const FirstSources sources(mappings);
  TVdIEntries entries;
  for (std::string& name : Vdei::Split(Vdei::UpperCase(datasetKeys), ';')) {
    if (name.empty()) continue;
    const std::string_view source = sources.Of(name);
    if (source.empty()) {
      if (missing != nullptr) missing->push_back(name);
      continue;
    }
    std::string text = SourceText(source, shortNames);
    entries.push_back({std::move(name), std::move(text)});
  }
  return entries;
}

TVdIEntries MakeImportEntries(const TVdIEntries& mappingEntries, const TVdIEntries& keyEntries,
                              const Vdei::TDataSet* dataSet) {
  TVdIEntries entries = mappingEntries;
  for (const TVdIEntry& key : keyEntries) {
    bool mapped = false;
    for (const TVdIEntry& entry : mappingEntries)
      mapped = mapped || entry.FieldName == key.FieldName;
    if (!mapped) entries.push_back(key);
  }
  for (TVdIEntry& entry : entries) {
    const Vdei::TField* field = dataSet != nullptr ? dataSet->FindField(entry.FieldName) : nullptr;
    entry.Link = field != nullptr ? field->Index() : -1;
  }
  return entries;
}

void LinkToImportEntries(TVdIEntries& entries, const TVdIEntries& importEntries) {
  for (TVdIEntry& entry : entries) {
    entry.Link = -1;
    for (size_t i = 0; i < importEntries.size(); ++i) {
      if (importEntries[i].FieldName == entry.FieldName) {
        entry.Link = static_cast<int>(i);
        break;
      }
    }
  }
}

std::string SourceOfName(std::string_view name) {
  if (IsPlainIdentifier(name) && !NamesSomethingElse(name)) return std::string(name);
  if (name.find(']') == std::string_view::npos) return "[" + std::string(name) + "]";
  return "\"" + std::string(name) + "\"";
}

void MakeDefaultMappings(const TVdIColumns& columns, const Vdei::TDataSet& dataSet,
                         bool useDisplayNames, TStrings& mappings) {
  mappings.Clear();
  for (int c = 0; c < columns.Count(); ++c) {
    const std::string& name = columns[c]->FieldName();
    for (int f = 0; f < dataSet.FieldCount(); ++f) {
      const Vdei::TField& field = *dataSet.Fields(f);
      if (Vdei::SameText(field.FieldName(), name) ||
          (useDisplayNames && Vdei::SameText(field.DisplayLabel(), name))) {
        mappings.Add(field.FieldName() + "=" + SourceOfName(name));
        break;
      }
    }
  }
  if (mappings.Count() > 0) return;
  for (int i = 0; i < columns.Count() && i < dataSet.FieldCount(); ++i) {
    mappings.Add(dataSet.Fields(i)->FieldName() + "=" + SourceOfName(columns[i]->FieldName()));
  }
}

}  // namespace VdImport
