// The client's form without a window (its model on the recording platform),
// against the real VDEI_SRV over loopback and against servers that
// misbehave: what reaches the table, the status texts, the error boxes.
#include "client/CliMain.h"

#include <gtest/gtest.h>

#include "ClientFormSupport.h"
#include "LoopbackServer.h"
#include "RecordingPlatform.h"
#include "SrvProcess.h"
#include "core/Variant.h"
#include "dataset/ClientDataSet.h"
#include "dataset/Field.h"
#include "import/VdI2HTML.h"
#include "import/VdI2XML.h"
#include "platform/Application.h"

namespace Vdei {
namespace {

using VdeiTest::Loopback;
using VdeiTest::LoopbackServer;

std::unique_ptr<TfrmCliMain> MakeForm(int port, int timeout = 10) {
  return std::make_unique<TfrmCliMain>(&Application(), Loopback(port, timeout));
}

void Request(TfrmCliMain& form, TCliPackageType type) {
  form.rgPackageFormat->SetItemIndex(type);
  form.btnGetData->Click();
  EXPECT_TRUE(form.btnGetData->Enabled());
  EXPECT_TRUE(form.rgPackageFormat->Enabled());
}

std::vector<std::string> Column(TDataSet& table, const std::string& name) {
  std::vector<std::string> values;
  for (table.First(); !table.Eof(); table.Next()) {
    const Variant value = table.FieldByName(name)->Value();
    values.push_back(value.IsNull() ? "<null>" : value.AsString());
  }
  return values;
}

TEST(TfrmCliMain, LoadsTheServersTableInBothTypesAndSwitchesBetweenThem) {
  PlatformScope platform;
  VdeiTest::ServerProcess server;
  auto form = MakeForm(server.Port());
  EXPECT_EQ(Application().FindComponent("frmCliMain"), form.get());
  VdeiTest::StatusTrail trail(*form);
  TClientDataSet& table = *form->ClientDataSet1;
  const std::string database = VdeiTest::CustomerTsv();

  // XML: every value of the database arrives, typed. The connection is
  // closed before the import starts.
  bool socketOpenDuringImport = true;
  form->VdImportFromXML1->OnBeforeExecute = [&](TObject*) {
    socketOpenDuringImport = form->ClientSocket1->Active();
  };
  Request(*form, ptXML);
  EXPECT_EQ(trail.Texts(), VdeiTest::kWholeRequest);
  EXPECT_FALSE(socketOpenDuringImport);
  EXPECT_EQ(VdeiTest::TsvOf(table), database);
  EXPECT_EQ(table.FieldByName("CustNo")->DataType(), ftFloat);
  EXPECT_EQ(table.FieldByName("LastInvoiceDate")->DataType(), ftDateTime);
  const uint32_t xmlShape = table.FieldsGeneration();

  // XML again: the structure stays, the records are replaced.
  trail.Clear();
  Request(*form, ptXML);
  EXPECT_EQ(trail.Texts(), VdeiTest::kWholeRequest);
  EXPECT_EQ(table.FieldsGeneration(), xmlShape);
  EXPECT_EQ(VdeiTest::TsvOf(table), database);
  EXPECT_EQ(form->VdImportFromXML1->Statistic()->TotalDeleted(), 55);

  // HTML: a table of texts by position; a blank cell is Null, never its
  // key ("Field4"), and the XML reader must build its structure again.
  // The page takes more than one 16534-byte receive.
  trail.Clear();
  Request(*form, ptHTML);
  EXPECT_EQ(trail.Texts(), VdeiTest::kWholeRequest);
  EXPECT_GT(trail.Reads(), 1);
  EXPECT_NE(table.FieldsGeneration(), xmlShape);
  ASSERT_EQ(table.RecordCount(), 55);
  ASSERT_EQ(table.FieldCount(), 13);
  for (int i = 0; i < table.FieldCount(); ++i) EXPECT_EQ(table.Fields(i)->DataType(), ftString);
  EXPECT_EQ(form->VdImportFromXML1->Mappings()->Count(), 0);
  EXPECT_EQ(form->VdImportFromHTML1->Mappings()->Strings(0), "CustNo=Field1");
  TQuery query(nullptr);
  query.SetDatabaseName("sqlite:" + VdeiTest::SampleDatabase());
  query.SQL()->SetText("SELECT * FROM CUSTOMER ORDER BY COMPANY");
  query.Open();
  EXPECT_EQ(Column(table, "Company"), Column(query, "Company"));
  const std::vector<std::string> addr2 = Column(table, "Addr2");
  EXPECT_EQ(addr2, Column(query, "Addr2"));
  EXPECT_NE(std::find(addr2.begin(), addr2.end(), "<null>"), addr2.end());

  // XML after HTML, then HTML after XML: each rebuilds its own shape.
  Request(*form, ptXML);
  EXPECT_EQ(VdeiTest::TsvOf(table), database);
  EXPECT_EQ(form->VdImportFromHTML1->Mappings()->Count(), 0);
  Request(*form, ptHTML);
  EXPECT_EQ(Column(table, "Company"), Column(query, "Company"));
  EXPECT_TRUE(platform->boxes.empty());
}

// A server that answers every request with bytes, then closes.
LoopbackServer Answering(std::string bytes) {
  return LoopbackServer([bytes](int connection, std::stop_token stop) {
    VdeiTest::ReceiveUntil(connection, "%GET DATA%", stop);
    VdeiTest::SendAll(connection, bytes);
  });
}

TEST(TfrmCliMain, AFailedRequestImportsNothingAndKeepsTheRows) {
  PlatformScope platform;
  VdeiTest::ServerProcess server;
  const std::string package = VdeiTest::Request(server.Port(), "%GET DATA%XML%").Bytes;
  auto form = MakeForm(server.Port(), 1);
  VdeiTest::StatusTrail trail(*form);
  Request(*form, ptXML);
  const std::string loaded = VdeiTest::TsvOf(*form->ClientDataSet1);
  ASSERT_EQ(loaded, VdeiTest::CustomerTsv());

  auto expectFailure = [&](int port, const std::string& box) {
    platform->boxes.clear();
    form->ClientSocket1->SetPort(port);
    Request(*form, ptXML);
    EXPECT_EQ(platform->boxes, std::vector<std::string>{box}) << "port " << port;
    EXPECT_FALSE(form->ClientSocket1->Active());
    EXPECT_EQ(VdeiTest::TsvOf(*form->ClientDataSet1), loaded);
  };
  // Nobody listens: one box with the connect error, nothing sent.
  trail.Clear();
  expectFailure(VdeiTest::UnusedPort(), "Socket error:111");
  EXPECT_EQ(trail.Texts(), (std::vector<std::string>{"Lookup the server", "Connecting..."}));

  // A server that accepts and never answers: the timeout (1 s here).
  LoopbackServer silent([](int connection, std::stop_token stop) {
    VdeiTest::ReceiveUntil(connection, "%GET DATA%", stop);
    VdeiTest::WaitForStop(stop);
  });
  expectFailure(silent.Port(), "Socket error:110");

  // A connection that breaks after half the package.
  LoopbackServer breaking([&package](int connection, std::stop_token stop) {
    VdeiTest::ReceiveUntil(connection, "%GET DATA%", stop);
    VdeiTest::SendAll(connection, std::string_view(package).substr(0, package.size() / 2));
    VdeiTest::ResetConnection(connection);
  });
  expectFailure(breaking.Port(), "Socket error:104");

  // An empty answer (the server could not serve the request): no box.
  LoopbackServer empty = Answering("");
  platform->boxes.clear();
  form->ClientSocket1->SetPort(empty.Port());
  Request(*form, ptXML);
  EXPECT_TRUE(platform->boxes.empty());
  EXPECT_EQ(form->StatusBar1->SimpleText(),
            "The server closed the connection without sending a package.");
  EXPECT_EQ(VdeiTest::TsvOf(*form->ClientDataSet1), loaded);
}

TEST(TfrmCliMain, BuildsStringFieldsOfEmptyColumnsAndTakesMissingValuesAsNull) {
  PlatformScope platform;
  // Name never holds a value (its size would be 0); the second row has
  // only its Id and a Note that is the field's name (the no-value answer
  // of other readers).
  LoopbackServer server = Answering(
      "<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
      "<FIELD attrname=\"Name\" fieldtype=\"string\" WIDTH=\"0\"/>"
      "<FIELD attrname=\"Note\" fieldtype=\"string\" WIDTH=\"12\"/>"
      "<FIELD attrname=\"Count\" fieldtype=\"i4\"/>"
      "<FIELD attrname=\"Id\" fieldtype=\"i4\"/>"
      "</FIELDS></METADATA><ROWDATA>"
      "<ROW Note=\"first\" Count=\"7\" Id=\"1\"/><ROW Id=\"2\" Note=\"Note\"/>"
      "</ROWDATA></DATAPACKET>");
  auto form = MakeForm(server.Port());
  Request(*form, ptXML);
  TClientDataSet& table = *form->ClientDataSet1;
  ASSERT_EQ(table.RecordCount(), 2);
  EXPECT_EQ(table.FieldByName("Name")->DataType(), ftString);
  EXPECT_EQ(table.FieldByName("Name")->Size(), 30);
  EXPECT_EQ(table.FieldByName("Count")->DataType(), ftInteger);
  EXPECT_EQ(VdeiTest::TsvOf(table), "Name\tNote\tCount\tId\n\\N\tfirst\t7\t1\n\\N\t\\N\t\\N\t2\n");
  EXPECT_TRUE(platform->boxes.empty());
}

}  // namespace
}  // namespace Vdei
