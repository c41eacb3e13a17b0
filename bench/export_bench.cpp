// Speed of the export's record loop: a 1,000,000-record in-memory table
// exported through a writer that writes every cell text and a separator
// into a memory stream, as the server's exports run (no progress window,
// no message box, no wait cursor).
#include <chrono>
#include <cstdio>
#include <string>

#include "core/Stream.h"
#include "dataset/ClientDataSet.h"
#include "dataset/Fields.h"
#include "export/VdE2Cell.h"

namespace {

using namespace Vdei;
using namespace VdExport;

constexpr int kRecords = 1000000;

class TTextWriter : public TVdExportToCellFile {
 public:
  explicit TTextWriter(TComponent* owner) : TVdExportToCellFile(owner) {}

 protected:
  void WriteCell(TField* field, TCellType type, int row, int col, std::string_view text,
                 TAlignment alignment, TFont* font, TColor background) override {
    TVdExportToCellFile::WriteCell(field, type, row, col, text, alignment, font, background);
    WriteText(text);
    WriteText("\t");
  }
  void EndRow(bool isTitle) override {
    TVdExportToCellFile::EndRow(isTitle);
    WriteText("\n");
  }
};

TClientDataSet* MakeTable(TComponent* owner) {
  auto* table = new TClientDataSet(owner);
  table->FieldDefs()->Add("CustNo", ftInteger);
  table->FieldDefs()->Add("Company", ftString, 30);
  table->FieldDefs()->Add("Amount", ftFloat);
  table->FieldDefs()->Add("Since", ftDate);
  table->FieldDefs()->Add("Paid", ftBoolean);
  table->FieldDefs()->Add("Note", ftString, 40);
  table->CreateDataSet();
  for (int i = 0; i < kRecords; ++i) {
    table->Append();
    table->Fields(0)->SetAsInteger(i);
    table->Fields(1)->SetAsString("Company number " + std::to_string(i % 5000));
    table->Fields(2)->SetAsFloat(i * 0.25);
    table->Fields(3)->SetAsDateTime(36000 + i % 3000);
    table->Fields(4)->SetAsBoolean(i % 2 == 0);
    if (i % 3 != 0) table->Fields(5)->SetAsString("a note");
    table->Post();
  }
  table->First();
  return table;
}

void Run(const char* what, TTextWriter& writer) {
  TMemoryStream stream;
  const auto start = std::chrono::steady_clock::now();
  writer.ExportToStream(&stream);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  std::printf("%-36s %10.0f rows/s %8.1f MB/s  (%lld bytes, %.2f s)\n", what,
              kRecords / elapsed.count(), stream.Size() / elapsed.count() / 1e6,
              static_cast<long long>(stream.Size()), elapsed.count());
}

}  // namespace

int main() {
  TComponent form(nullptr);
  TClientDataSet* table = MakeTable(&form);
  auto* writer = new TTextWriter(&form);
  writer->SetDataSet(table);
  writer->SetColumnSource(csDataSet);
  writer->SetAnimatedStatus(false);
  writer->SetOptions(OptionBit(soDisableControls));
  Run("export, plain texts", *writer);
  writer->SetOptions(OptionBit(soDisableControls) | OptionBit(soFieldMask));
  writer->SetBlankIfZero(true);
  Run("export, display texts, blank if zero", *writer);
  return 0;
}
