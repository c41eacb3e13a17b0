#include "tools/ImportRun.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <set>

#include "core/CodePage.h"
#include "core/Stream.h"
#include "dataset/ClientDataSet.h"
#include "import/VdI2HTML.h"
#include "import/VdI2XML.h"
#include "import/VdIStructure.h"
#include "tools/ImportTable.h"
#include "tools/ImportTableCreate.h"

namespace Vdei {

namespace {

using namespace VdImport;

// Standard input, whole.
std::unique_ptr<TMemoryStream> ReadStandardInput() {
  auto stream = std::make_unique<TMemoryStream>();
  std::string chunk(1 << 20, '\0');
  while (true) {
    const ssize_t got = read(STDIN_FILENO, chunk.data(), chunk.size());
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      throw EStreamError(std::string("Cannot read standard input. ") + std::strerror(errno));
    }
    stream->WriteBuffer(chunk.data(), got);
  }
  stream->SetPosition(0);
  return stream;
}

// The first bytes of a file, enough to find its first element; empty when
// it cannot be read (the import then reports why).
std::string FileStart(const std::string& fileName) {
  std::ifstream file(fileName, std::ios::binary);
  std::string start(64 * 1024, '\0');
  file.read(start.data(), static_cast<std::streamsize>(start.size()));
  start.resize(static_cast<size_t>(std::max<std::streamsize>(file.gcount(), 0)));
  return start;
}

// The name of the first element; "html" for an HTML doctype.
std::string_view FirstElementName(std::string_view text) {
  constexpr size_t npos = std::string_view::npos;
  for (size_t pos = text.find('<'); pos != npos; pos = text.find('<', pos + 1)) {
    const size_t close = text.find('>', pos);
    const std::string_view tag = text.substr(pos + 1, close == npos ? npos : close - pos - 1);
    if (tag.starts_with('?') || tag.starts_with("!--")) continue;
    if (tag.starts_with('!')) {
      if (PosText("html", tag) != 0) return "html";
      continue;
    }
    size_t end = 0;
    while (end < tag.size() && tag[end] != '/' &&
           !std::isspace(static_cast<unsigned char>(tag[end]))) {
      ++end;
    }
    return tag.substr(0, end);
  }
  return {};
}

void ApplyDataFormats(const ImportOptions& o, TVdIDataFormats& f) {
  if (o.DateOrder) f.SetDateOrder(*o.DateOrder);
  if (o.DateSeparator) f.SetDateSeparator(*o.DateSeparator);
  if (o.TimeSeparator) f.SetTimeSeparator(*o.TimeSeparator);
  if (o.DecimalSeparator) f.SetDecimalSeparator(*o.DecimalSeparator);
  if (o.ThousandSeparator) f.SetThousandSeparator(*o.ThousandSeparator);
  if (o.Currency) f.SetCurrencyString(Utf8ToAnsi(*o.Currency));
  if (o.BooleanTrue) f.SetBooleanTrue(Utf8ToAnsi(*o.BooleanTrue));
  if (o.BooleanFalse) f.SetBooleanFalse(Utf8ToAnsi(*o.BooleanFalse));
  if (o.DateTimeFormat) f.SetCustomDateTimeFormat(*o.DateTimeFormat);
}

void ApplyOptions(const ImportOptions& o, TVdITextReader& reader) {
  SetClientReaderSettings(reader);
  reader.SetAnimatedStatus(false);
  TVdIOptions bits = kAllImportOptions & ~(1 << soShowMessage) & ~(1 << soWaitCursor);
  if (o.KeepEmptyRows) bits &= ~(1 << soSkipEmptyRow);
  reader.SetOptions(bits);
  reader.SetTrimSpaces(o.Trim);
  if (o.RowFirst) reader.SetRowFirst(*o.RowFirst);
  if (o.RowLast) reader.SetRowLast(*o.RowLast);
  if (o.Oem) reader.SetCharacterSet(csiASCII_MSDOS);
  reader.LoadCondition()->SetLoadWhen(Utf8ToAnsi(o.LoadWhen));
  reader.LoadCondition()->SetSkipIf(Utf8ToAnsi(o.SkipIf));
  ApplyDataFormats(o, *reader.DataFormats());
  if (auto* xml = dynamic_cast<TVdImportFromXML*>(&reader); xml != nullptr && !o.Tags.empty()) {
    xml->XMLTags()->SetRecordsTag(o.Tags[0]);
    xml->XMLTags()->SetRecordTag(o.Tags[1]);
    xml->XMLTags()->SetRowTag(o.Tags[2]);
  }
}

// The --map lines in the ANSI code page, split at their first "=".
struct MapLine {
  std::string Field;
  std::string Expression;
};

std::vector<MapLine> MapLines(const std::vector<std::string>& maps) {
  std::vector<MapLine> lines;
  for (const std::string& map : maps) {
    const std::string ansi = Utf8ToAnsi(map);
    const size_t equals = ansi.find('=');
    lines.push_back({std::string(Trim(ansi.substr(0, equals))), ansi.substr(equals + 1)});
  }
  return lines;
}

// Mapped string columns hold texts of any length; a field that is no
// column becomes a text column at the end.
void AddMappedColumns(const std::vector<MapLine>& maps, TVdIColumns& columns) {
  for (const MapLine& map : maps) {
    TVdIColumn* column = nullptr;
    for (int i = 0; i < columns.Count() && column == nullptr; ++i) {
      if (SameText(columns[i]->FieldName(), map.Field)) column = columns[i];
    }
    if (column == nullptr) {
      column = columns.Add();
      column->SetFieldName(map.Field);
    }
    if (column->DataType() == itString) column->SetSize(INT_MAX);
  }
}

void ApplyMappings(const std::vector<MapLine>& maps, TStrings& mappings) {
  for (const MapLine& map : maps) {
    const std::string line = map.Field + "=" + map.Expression;
    int found = -1;
    for (int i = 0; i < mappings.Count() && found < 0; ++i) {
      if (SameText(Trim(mappings.Names(i)), map.Field)) found = i;
    }
    if (found >= 0) {
      mappings.Put(found, line);
    } else {
      mappings.Add(line);
    }
  }
}

// A text as one field of a tab-separated line (UTF-8, COPY escapes).
std::string TsvField(std::string_view ansi) {
  std::string text;
  for (char c : AnsiToUtf8(ansi)) {
    switch (c) {
      case '\\':
        text += "\\\\";
        break;
      case '\t':
        text += "\\t";
        break;
      case '\n':
        text += "\\n";
        break;
      case '\r':
        text += "\\r";
        break;
      default:
        text += c;
    }
  }
  return text;
}

// The --rejects file: one line per rejected row.
class RejectsFile {
 public:
  explicit RejectsFile(const std::string& fileName) {
    if (fileName.empty()) return;
    file_.open(fileName, std::ios::binary | std::ios::trunc);
    if (!file_)
      throw EFOpenError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
  }

  void Write(const Exception& error, int rowFallback) {
    if (!file_.is_open()) return;
    const auto* rowError = dynamic_cast<const EVdIRowError*>(&error);
    file_ << (rowError != nullptr ? rowError->Row() : rowFallback) << '\t'
          << TsvField(rowError != nullptr ? rowError->FieldName() : "") << '\t'
          << TsvField(rowError != nullptr ? rowError->ValueText() : "") << '\t'
          << TsvField(error.Message()) << '\n';
  }

  void Close(const std::string& fileName) {
    if (!file_.is_open()) return;
    file_.close();
    if (file_.fail()) throw EStreamError("Cannot write to " + fileName + ".");
  }

 private:
  std::ofstream file_;
};

// The statistic on standard error. A table import adds what a person
// checks after it: updates, deletes and the time.
void PrintStatistic(const TVdITextReader& reader, const ImportOptions& options, double seconds) {
  const TVdIStatistic& s = *reader.Statistic();
  std::fprintf(stderr, "vdei-import: %s%d rows processed, %d added",
               options.DryRun ? "dry run: " : "", s.TotalImported(), s.TotalAdded());
  if (!options.Database.empty()) {
    std::fprintf(stderr, ", %d updated, %d deleted", s.TotalUpdated(), s.TotalDeleted());
  }
  std::fprintf(stderr, ", %d rejected", s.TotalErrors());
  if (!options.Database.empty()) std::fprintf(stderr, " in %.2f s", seconds);
  if (reader.ReplacedCharacters() > 0) {
    std::fprintf(stderr, ", %d characters not in code page %d read as '?'",
                 reader.ReplacedCharacters(), ActiveAnsiCodePage());
  }
  std::fputc('\n', stderr);
  if (options.DryRun && s.Result() == irExecuted) {
    std::fprintf(stderr, "vdei-import: dry run: rolled back, the table is unchanged\n");
  }
}

// The row error that stopped a run, for its failure message.
std::string RowErrorText(const Exception& error) {
  const auto* rowError = dynamic_cast<const EVdIRowError*>(&error);
  if (rowError == nullptr) return error.Message();
  std::string text = "row " + std::to_string(rowError->Row());
  if (!rowError->FieldName().empty()) {
    text += ", field " + AnsiToUtf8(rowError->FieldName()) + ", value \"" +
            AnsiToUtf8(rowError->ValueText()) + "\"";
  }
  return text + ": " + error.Message();
}

// Why a run failed; a table import adds that nothing of it was kept.
std::string FailureText(const TVdITextReader& reader, const ImportOptions& options,
                        const std::string& stopReason) {
  std::string text = !stopReason.empty()          ? stopReason
                     : reader.ErrorText().empty() ? reader.FinalText()
                                                  : reader.ErrorText();
  if (!stopReason.empty() && options.MaxErrors > 0) {
    text = "more than " + std::to_string(options.MaxErrors) + " rows rejected; the last: " + text;
  }
  if (!options.Database.empty()) text += "; nothing was imported";
  return text;
}

TVdITextReader* MakeReader(TImportFormatKind format, TComponent& owner) {
  if (format == ifXML) return new TVdImportFromXML(&owner);
  return new TVdImportFromHTML(&owner);
}

// The run's OnCreateStructure: the in-memory table built as the client
// builds it, or the database table made ready and mapped by name; then
// the --map lines.
void CreateStructure(TVdITextReader& reader, TVdIColumns& columns, ImportTableTarget* target,
                     TVdIStructureBuilder& builder, const std::vector<MapLine>& maps) {
  if (target != nullptr) {
    target->PrepareTable(columns);
    reader.Mappings()->Clear();
    reader.CreateDefaultMappings();
  } else {
    AddMappedColumns(maps, columns);
    builder.CreateStructure(&reader, &columns);
  }
  ApplyMappings(maps, *reader.Mappings());
}

}  // namespace

TImportFormatKind DetectImportFormat(std::string_view fileName, std::string_view text) {
  const std::string extension = ExtractFileExt(fileName);
  if (SameText(extension, ".xml")) return ifXML;
  if (SameText(extension, ".htm") || SameText(extension, ".html")) return ifHTML;
  const std::string_view first = FirstElementName(text);
  for (std::string_view html : {"html", "head", "body", "table"}) {
    if (SameText(first, html)) return ifHTML;
  }
  return ifXML;
}

int RunImport(const ImportOptions& options) {
  // A file is read by the reader itself, which keeps no copy it does not
  // need; standard input is read here.
  const std::unique_ptr<TMemoryStream> input =
      options.Input.empty() ? ReadStandardInput() : nullptr;
  const std::string fileStart = input != nullptr ? std::string() : FileStart(options.Input);
  const std::string_view start =
      input != nullptr ? input->View().substr(0, 64 * 1024) : std::string_view(fileStart);
  const TImportFormatKind format =
      options.Format.value_or(DetectImportFormat(options.Input, start));
  if (format == ifHTML && !options.Tags.empty()) {
    throw EUsageError("--tags does not apply to an HTML page");
  }
  TComponent form(nullptr);
  TVdITextReader* reader = MakeReader(format, form);
  ApplyOptions(options, *reader);
  const std::vector<MapLine> maps = MapLines(options.Maps);
  std::unique_ptr<ImportTableTarget> target;
  auto* memory = new TClientDataSet(&form);
  TVdIStructureBuilder builder(*memory);
  if (options.Database.empty()) {
    builder.Attach(*reader);
  } else {
    target = std::make_unique<ImportTableTarget>(
        options, format == ifXML ? RequiredColumnNames(start) : std::set<std::string>(), form);
    target->Attach(*reader);
  }
  reader->OnCreateStructure = [&](TObject*, TVdIColumns* columns) {
    CreateStructure(*reader, *columns, target.get(), builder, maps);
  };
  // The in-memory table skips every rejected row; a table import fails on
  // the one after --max-errors, and keeps nothing then.
  RejectsFile rejects(options.Rejects);
  const int maxErrors = target != nullptr ? options.MaxErrors : INT_MAX;
  int rejected = 0;
  std::string stopReason;
  reader->OnErrorEvent = [&](TObject*, const Exception& error, bool& abort) {
    rejects.Write(error, reader->Statistic()->TotalImported());
    abort = ++rejected > maxErrors;
    if (abort) stopReason = RowErrorText(error);
  };
  ProgressLine progress("vdei-import", "rows");
  if (options.Progress) {
    reader->OnAfterRecordEvent = [&](TObject*, bool&) {
      progress.Report(reader->Statistic()->TotalImported(), reader->Statistic()->TotalCount());
    };
  }
  const auto started = std::chrono::steady_clock::now();
  if (input != nullptr) {
    reader->ImportFromStream(input.get());
  } else {
    reader->SetSourceFileName(options.Input);
    reader->Execute();
  }
  const bool executed = reader->Statistic()->Result() == irExecuted;
  if (target != nullptr) target->Finish(executed);
  rejects.Close(options.Rejects);
  PrintStatistic(*reader, options,
                 std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
  if (!executed) throw Exception(FailureText(*reader, options, stopReason));
  if (target == nullptr) {
    PrintTable(*memory, std::cout, {options.Print, !options.NoHeader});
    std::cout.flush();
    if (!std::cout) throw EStreamError("Cannot write to standard output.");
  }
  return reader->Statistic()->TotalErrors() > 0 ? 3 : 0;
}

}  // namespace Vdei
