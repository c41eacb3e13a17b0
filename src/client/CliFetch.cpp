#include "client/CliFetch.h"

#include <memory>

#include "dataset/ClientDataSet.h"
#include "import/VdI2HTML.h"
#include "import/VdI2XML.h"
#include "import/VdIStructure.h"

namespace Vdei {

namespace {

std::unique_ptr<VdImport::TVdImportBaseComponent> MakeReader(TCliPackageType type) {
  if (type == ptHTML) return std::make_unique<VdImport::TVdImportFromHTML>(nullptr);
  return std::make_unique<VdImport::TVdImportFromXML>(nullptr);
}

}  // namespace

int FetchAndPrint(const TCliConnection& connection, TCliPackageType type, TPrintFormat format,
                  std::ostream& out, std::ostream& err) {
  TClientSocket socket(nullptr);
  ConfigureClientSocket(socket, connection);
  socket.OnError = [](TObject*, TClientWinSocket*, TErrorEvent, int& code) { code = 0; };
  TClientDataSet table(nullptr);
  std::unique_ptr<VdImport::TVdImportBaseComponent> reader = MakeReader(type);
  VdImport::SetClientReaderSettings(*reader);
  VdImport::TVdIStructureBuilder builder(table);
  builder.Attach(*reader);

  const TCliRequestResult result = RunCliRequest(socket, type, *reader);
  const std::string failure = DescribeRequestFailure(result, *reader);
  const bool printable = result.End == reImported &&
                         reader->Statistic()->Result() == VdImport::irExecuted && table.Active();
  if (printable) PrintTable(table, out, {format, true});
  out.flush();
  if (failure.empty()) return 0;
  err << "VDEI_CLI: " << connection.Host << ":" << connection.Port << ": " << failure << "\n";
  return 1;
}

}  // namespace Vdei
