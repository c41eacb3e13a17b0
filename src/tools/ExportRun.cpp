#include "tools/ExportRun.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <regex>
#include <set>

#include "core/CodePage.h"
#include "core/StrUtils.h"
#include "dataset/Query.h"
#include "export/VdE2HTML.h"
#include "export/VdE2XML.h"
#include "platform/UniqueFd.h"
#include "server/SrvSettings.h"
#include "tools/FdOutputStream.h"
#include "tools/ToolOptions.h"

namespace Vdei {

namespace {

namespace fs = std::filesystem;
using namespace VdExport;

// A format whose own document files are written under temporary names in
// their folder; Commit gives them their names, Discard removes them.
template <class Format>
class TAtomicFileExport : public Format {
 public:
  explicit TAtomicFileExport(TComponent* owner) : Format(owner) {}

  void Commit() {
    for (const File& file : files_) {
      std::error_code error;
      fs::rename(file.Temporary, file.Final, error);
      if (error) {
        throw EFOpenError("Cannot rename \"" + file.Temporary + "\" to \"" + file.Final + "\". " +
                          error.message());
      }
    }
    files_.clear();
  }

  void Discard() noexcept {
    for (const File& file : files_) {
      std::error_code ignored;
      fs::remove(file.Temporary, ignored);
    }
    files_.clear();
  }

 protected:
  void CreateOutputFile(const std::string& fileName) override {
    if (!this->OwnsStream()) return Format::CreateOutputFile(fileName);
    const std::string temporary = ExtractFilePath(fileName) + "." + ExtractFileName(fileName) +
                                  "." + std::to_string(getpid()) + "." +
                                  std::to_string(files_.size()) + ".tmp";
    files_.push_back({temporary, fileName});
    Format::CreateOutputFile(temporary);
  }

  // The file's last buffered bytes are written here, where a failure still
  // fails the run, rather than when the file is closed.
  void EndDocument() override {
    Format::EndDocument();
    if (auto* file = dynamic_cast<TFileStream*>(this->OutputStream())) file->Flush();
  }

 private:
  struct File {
    std::string Temporary;
    std::string Final;
  };
  std::vector<File> files_;
};

// The stylesheet and image files a run may write beside its document, and
// which of them were there before it.
class SideFiles {
 public:
  explicit SideFiles(const std::string& documentName)
      : folder_(FolderOf(documentName)),
        stylesheet_(ExtractFileName(ChangeFileExt(documentName, ".xsl"))) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder_, error)) {
      if (IsSideFile(entry.path().filename().string())) before_.insert(entry.path().filename());
    }
  }

  // Removes the side files that appeared since the constructor ran.
  void RemoveNew() const noexcept {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder_, error)) {
      const std::string name = entry.path().filename().string();
      if (IsSideFile(name) && before_.count(name) == 0) {
        std::error_code ignored;
        fs::remove(entry.path(), ignored);
      }
    }
  }

 private:
  static fs::path FolderOf(const std::string& documentName) {
    const std::string folder = ExtractFilePath(documentName);
    return folder.empty() ? fs::path(".") : fs::path(folder);
  }
  bool IsSideFile(const std::string& name) const {
    static const std::regex image(R"(img[0-9]+\.(bmp|emf|wmf|ico))");
    return name == stylesheet_ || std::regex_match(name, image);
  }

  fs::path folder_;
  std::string stylesheet_;
  std::set<fs::path> before_;
};

void ApplyCommonOptions(const ExportOptions& o, TVdExportToCellFile& c) {
  TVdOptions bits = c.Options();
  auto set = [&bits](bool on, TVdOption option) {
    if (on) bits |= OptionBit(option);
  };
  set(o.FieldMask, soFieldMask);
  set(o.FieldNamesAsCaptions, soUseFieldNameAsCaption);
  set(o.BlankRow, soBlankRowAfterCaptions);
  c.SetOptions(bits);
  if (o.NoTitle) c.SetAddTitle(false);
  if (o.BlankIfZero) c.SetBlankIfZero(true);
  if (o.Oem) c.SetCharacterSet(csASCII_MSDOS);
  for (const std::string& line : o.Header) c.Header()->Add(Utf8ToAnsi(line));
  for (const std::string& line : o.Footer) c.Footer()->Add(Utf8ToAnsi(line));
  if (o.KeyGenerator) c.SetKeyGenerator(Utf8ToAnsi(*o.KeyGenerator));
  TVdEDataFormats& formats = *c.DataFormats();
  if (o.DecimalSeparator) formats.SetDecimalSeparator(*o.DecimalSeparator);
  if (o.ThousandSeparator) formats.SetThousandSeparator(*o.ThousandSeparator);
  if (o.DateSeparator) formats.SetDateSeparator(*o.DateSeparator);
  if (o.TimeSeparator) formats.SetTimeSeparator(*o.TimeSeparator);
  if (o.Currency) formats.SetCurrencyString(Utf8ToAnsi(*o.Currency));
  if (o.BooleanTrue) formats.SetBooleanTrue(Utf8ToAnsi(*o.BooleanTrue));
  if (o.BooleanFalse) formats.SetBooleanFalse(Utf8ToAnsi(*o.BooleanFalse));
}

void ApplyFormatOptions(const ExportOptions& o, TVdExportToXML& xml) {
  xml.SetFormat(o.Layout);
  xml.SetRowsPerFile(o.RowsPerFile);
  if (o.Quote) xml.SetQuoteTerm(*o.Quote);
  if (o.BlankValues) xml.SetOptions(xml.Options() | OptionBit(soExportBlankValues));
  if (o.Xsl) xml.SetGenerateXSL(true);
  if (o.Tags) xml.SetXMLTags(&*o.Tags);
}

void ApplyFormatOptions(const ExportOptions& o, TVdExportToHTML& html) {
  if (o.ColorsFonts) html.SetOptions(html.Options() | OptionBit(soColorsFonts));
  if (o.NoLines) {
    html.SetOptions(html.Options() & ~(OptionBit(soColLines) | OptionBit(soRowLines)));
  }
  if (o.Style) html.ExportStyle()->SetStyle(*o.Style);
}

// Where --output points: standard output, something that is not a file
// (a device, a pipe: written as it is, no extension added), or a file.
enum TOutputKind { okStandardOutput, okDevice, okFile };

TOutputKind KindOfOutput(const ExportOptions& options) {
  const std::string& output = options.Output;
  if (output.empty()) return okStandardOutput;
  std::error_code error;
  const fs::file_status status = fs::status(output, error);
  if (fs::is_directory(status) || output.back() == '/') {
    throw EFOpenError("Cannot write to \"" + output + "\": it is a directory");
  }
  if (!fs::exists(status) || fs::is_regular_file(status)) return okFile;
  if (options.RowsPerFile > 0 || options.Xsl) {
    throw EFOpenError("Cannot write numbered files or a stylesheet beside \"" + output +
                      "\", which is not a file");
  }
  return okDevice;
}

void ExportToDescriptor(TVdExportToCellFile& component, int fd, const std::string& name) {
  TFdOutputStream out(fd, name);
  component.ExportToStream(&out);
  out.Flush();
}

void ExportToDevice(TVdExportToCellFile& component, const std::string& path) {
  const UniqueFd fd = OwnFd(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
  if (!fd) {
    throw EFOpenError("Cannot open \"" + path + "\" for writing. " + std::strerror(errno));
  }
  ExportToDescriptor(component, FdOf(fd), path);
}

template <class Format>
void RunFormat(const ExportOptions& options, TDataSet& data) {
  TComponent form(nullptr);
  auto* component = new TAtomicFileExport<Format>(&form);
  ApplyServerSettings(static_cast<Format&>(*component));
  component->SetDataSet(&data);
  component->SetColumnSource(csDataSet);
  ApplyCommonOptions(options, *component);
  ApplyFormatOptions(options, *component);
  ProgressLine progress(AnsiToUtf8(component->KeyGenerator()), "records");
  if (options.Progress) {
    component->OnProgress = [&progress](TObject*, int done, int total, bool&) {
      progress.Report(done, total);
    };
  }
  switch (KindOfOutput(options)) {
    case okStandardOutput:
      return ExportToDescriptor(*component, STDOUT_FILENO, "standard output");
    case okDevice:
      return ExportToDevice(*component, options.Output);
    case okFile:
      break;
  }
  component->SetFileName(options.Output);
  const SideFiles sideFiles(options.Output);
  try {
    component->Execute();
    component->Commit();
  } catch (...) {
    component->Discard();
    sideFiles.RemoveNew();
    throw;
  }
}

}  // namespace

TExportReport RunExport(const ExportOptions& options) {
  const uint64_t replacedBefore = ReplacedCharacterCount();
  TQuery query(nullptr);
  query.SetDatabaseName(options.Database);
  for (const std::string& line : options.Sql) query.SQL()->Add(line);
  query.SetUniDirectional(true);  // read on a second thread while the export writes
  query.Open();
  if (options.Format == efXML) {
    RunFormat<TVdExportToXML>(options, query);
  } else {
    RunFormat<TVdExportToHTML>(options, query);
  }
  return {ReplacedCharacterCount() - replacedBefore};
}

}  // namespace Vdei
