// A dataset exported by one of the real writers into a text, for the tests
// that read packages and pages back.
#pragma once

#include <string>

#include "export/ExportDS.h"
#include "export/VdE2Cell.h"

namespace VdeiTest {

// The document writer makes of table's fields, with a title (column list
// or header row), no progress window and the given options.
std::string ExportPackage(VdExport::TVdExportToCellFile& writer, Vdei::TDataSet* table,
                          VdExport::TVdOptions options = 0);

}  // namespace VdeiTest
