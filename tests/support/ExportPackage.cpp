#include "ExportPackage.h"

#include "core/Stream.h"

namespace VdeiTest {

std::string ExportPackage(VdExport::TVdExportToCellFile& writer, Vdei::TDataSet* table,
                          VdExport::TVdOptions options) {
  writer.SetDataSet(table);
  writer.SetColumnSource(VdExport::csDataSet);
  writer.SetAnimatedStatus(false);
  writer.SetOptions(options | VdExport::OptionBit(VdExport::soDisableControls));
  writer.SetAddTitle(true);
  Vdei::TMemoryStream stream;
  writer.ExportToStream(&stream);
  return std::string(stream.View());
}

}  // namespace VdeiTest
