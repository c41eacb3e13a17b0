#include "export/ExportDS.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "RunTestSupport.h"
#include "core/FormatSettings.h"
#include "core/Properties.h"
#include "dataset/DBGrid.h"
#include "export/ExCnst.h"
#include "export/VdETextUtils.h"

namespace VdExport {
namespace {

using namespace Vdei;

TEST(VdEDataFormats, DefaultsComeFromTheRegionalSettingsOfTheMoment) {
  TVdEDataFormats formats;
  formats.SetBooleanTrue("Yes");
  formats.SetDateOrder(doYMD);
  formats.SetCustomDateTimeFormat("yyyy");
  FormatSettings().DecimalSeparator = ',';
  FormatSettings().CurrencyString = "EUR";
  FormatSettings().ShortDateFormat = "dd.MM.yy";
  formats.SetDefaults();
  FormatSettings() = DefaultFormatSettings();
  EXPECT_EQ(formats.DecimalSeparator(), ',');
  EXPECT_EQ(formats.CurrencyString(), "EUR");
  EXPECT_FALSE(formats.FourDigitYear());
  EXPECT_TRUE(formats.LeadingZerosInDate());
  EXPECT_EQ(formats.DateOrder(), doMDY);
  EXPECT_EQ(formats.CustomDateTimeFormat(), "");
  EXPECT_EQ(formats.BooleanTrue(), "Yes") << "the Boolean words are the user's";

  TVdEDataFormats copy;
  copy.Assign(formats);
  EXPECT_EQ(GetPropValue(copy, "DecimalSeparator").AsString(), ",");
  EXPECT_EQ(GetPropValue(copy, "BooleanTrue").AsString(), "Yes");
  EXPECT_TRUE(TVdEDataFormats().FourDigitYear()) << "M/d/yyyy";
}

TEST(TVdExportStyle, AStyleSetsBothColoursOnlyWhenItChanges) {
  TVdExportStyle style;
  EXPECT_EQ(style.OddColor(), clBlack);
  style.SetStyle(esBrick);
  EXPECT_EQ(style.OddColor(), 0x00CFDFDF);
  EXPECT_EQ(style.EvenColor(), 0x00A0BFBF);
  style.SetOddColor(clRed);
  style.SetStyle(esBrick);
  EXPECT_EQ(style.OddColor(), clRed);
  SetPropValue(style, "Style", int(esPriceList));
  EXPECT_EQ(style.OddColor(), cl3DLight);
  EXPECT_EQ(style.EvenColor(), clWindow);
  TVdExportStyle copy;
  style.SetEvenColor(clBlue);
  copy.Assign(style);
  EXPECT_EQ(copy.Style(), esPriceList);
  EXPECT_EQ(copy.EvenColor(), clBlue);
}

TEST(VdETextUtils, EscapeTextReplacesExactlyItsThirteenBytes) {
  EXPECT_EQ(EscapeText("a\r\nb"), "a&ret;&car;b");
  EXPECT_EQ(EscapeText("a<b"), "a&lt;b");
  EXPECT_EQ(EscapeText("\"&'<>|\x99\xA9\xB0\xB1\xB6"),
            "&quot;&amp;&apos;&lt;&gt;&brvbar;&trade;&copy;&deg;&plusmn;&para;");
  EXPECT_EQ(EscapeText("plain \xE9 \t;"), "plain \xE9 \t;");
  EXPECT_EQ(EscapeText(std::string_view("\0x", 2)), std::string_view("\0x", 2));
  EXPECT_EQ(ToOemText(true, "Caf\xE9"), "Caf\x82");
  EXPECT_EQ(ToOemText(false, "Caf\xE9"), "");
}

TEST(VdETextUtils, ImageNamesFollowTheDocumentAndThePictureKind) {
  EXPECT_EQ(MakeImageFileName("/out/data.htm", 3, std::string("\0\0\1\0", 4)), "/out/img3.ico");
  EXPECT_EQ(MakeImageFileName("/out/data.htm", 1, "BM...."), "/out/img1.bmp");
  EXPECT_EQ(MakeImageFileName("data.htm", 12, "??"), "img12.bmp");
  std::string emf(44, '\0');
  emf[0] = 1;
  emf.replace(40, 4, " EMF");
  EXPECT_EQ(MakeImageFileName("/o/d", 2, emf), "/o/img2.emf");
  EXPECT_EQ(MakeImageFileName("/o/d", 2, "\xD7\xCD\xC6\x9A"), "/o/img2.wmf");
  const std::string temporary = MakeImageFileName("", 1, "BM");
  EXPECT_EQ(ExtractFileName(temporary).substr(0, 3), "VDE");
  EXPECT_EQ(ExtractFileExt(temporary), ".bmp");
  EXPECT_FALSE(std::filesystem::exists(temporary));
  EXPECT_FALSE(std::filesystem::exists(ChangeFileExt(temporary, "")));
}

TEST(ExCnst, TheTableHoldsItsEntriesAndTextsCanBeReplaced) {
  EXPECT_EQ(ExportMessageCount(), 138);
  EXPECT_EQ(ExportMessage(0), "Property %s is not specified.");
  EXPECT_EQ(ExportMessage(47), "LDAP DataInterchangeFormat (*.ldif)");
  EXPECT_EQ(ExportMessage(48), "");
  EXPECT_EQ(ExportMessage(49), "");
  EXPECT_EQ(ExportMessage(50), "File Origin:");
  EXPECT_EQ(ExportMessage(139), "Customize settings for page");
  EXPECT_EQ(ExportMessage(140), "");
  EXPECT_EQ(ExportMessage(-1), "");
  EXPECT_EQ(ExportMessage(TableTypeDescriptionId(ttXML)), "XML file (*.xml)");

  EXPECT_EQ(FormatMessageText("Property %s is not specified.", "Dataset"),
            "Property Dataset is not specified.");
  EXPECT_EQ(FormatMessageText("%d%% of %s, %s", "x"), "%d% of x, %s") << "no argument is read";

  TComponent form(nullptr);
  auto* component = new TVdExportBaseComponent(&form);
  std::vector<int> asked;
  component->OnGetLanguageString = [&](TObject* sender, int id, std::string& text) {
    EXPECT_EQ(sender, component);
    asked.push_back(id);
    if (id == SPropertyNotSpecified) text = "Missing: %s";
  };
  EXPECT_EQ(component->GetLanguageString(8), "Exporting...");
  component->SetColumnSource(csDataSet);
  try {
    component->BeginExport();
    ADD_FAILURE() << "a missing dataset is an error";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Missing: Dataset");
  }
  EXPECT_EQ(asked, (std::vector<int>{8, 0}));
}

struct FieldTextFixture : ::testing::Test {
  TComponent form{nullptr};
  TVdExportBaseComponent* component = new TVdExportBaseComponent(&form);
  TClientDataSet* table = new TClientDataSet(&form);

  FieldTextFixture() {
    table->FieldDefs()->Add("Flag", ftBoolean);
    table->FieldDefs()->Add("Count", ftInteger);
    table->FieldDefs()->Add("Day", ftDate);
    table->FieldDefs()->Add("Name", ftString, 10);
    table->FieldDefs()->Add("Money", ftCurrency);
    table->CreateDataSet();
    table->Append();
    table->FieldByName("Flag")->SetAsBoolean(true);
    table->FieldByName("Count")->SetAsInteger(0);
    table->FieldByName("Day")->SetAsDateTime(0);
    table->FieldByName("Money")->SetAsFloat(1234.5);
    table->Post();
  }
  std::string Text(const char* field) {
    std::string text = "stale";
    component->GetFieldText(table->FieldByName(field), text);
    return text;
  }
};

TEST_F(FieldTextFixture, PlainOrDisplayTextsAndTheBlankIfZeroRule) {
  component->DataFormats()->SetBooleanTrue("Yes");
  EXPECT_EQ(Text("Flag"), "True");
  EXPECT_EQ(Text("Money"), "1234.5");
  std::string none = "stale";
  component->GetFieldText(nullptr, none);
  EXPECT_EQ(none, "");

  component->SetOptions(OptionBit(soFieldMask));
  table->FieldByName("Count")->OnGetText = [](TField*, std::string& text, bool display) {
    text = display ? "zero" : "0";
  };
  EXPECT_EQ(Text("Flag"), "Yes");
  EXPECT_EQ(Text("Money"), "$1,234.50");
  EXPECT_EQ(Text("Count"), "zero");

  component->SetBlankIfZero(true);
  EXPECT_EQ(Text("Count"), "");
  EXPECT_EQ(Text("Day"), "");
  EXPECT_EQ(Text("Name"), "") << "a null string";
  table->Edit();
  table->FieldByName("Name")->SetAsString("0");
  table->Post();
  EXPECT_EQ(Text("Name"), "0");

  EXPECT_EQ(component->GetCellType(table->FieldByName("Count"), true), ctBlank);
  EXPECT_EQ(component->GetCellType(table->FieldByName("Count"), false), ctInteger);
  EXPECT_EQ(component->GetCellType(nullptr, true), ctString);
}

TEST_F(FieldTextFixture, RowColoursAndTheTitleRowOffset) {
  TColor color = clRed;
  component->GetRowColor(3, color);
  EXPECT_EQ(color, clRed) << "esNormal leaves the colour";
  component->ExportStyle()->SetStyle(esMaple);
  component->GetRowColor(3, color);
  EXPECT_EQ(color, 0x00A8D8EB);
  component->GetRowColor(4, color);
  EXPECT_EQ(color, 0x0048A8C8);

  component->Header()->SetText("a\nb");
  EXPECT_EQ(component->GetTitleRowOffset(), 3);
  component->SetAddTitle(true);
  EXPECT_EQ(component->GetTitleRowOffset(), 4);
  component->SetOptions(OptionBit(soBlankRowAfterCaptions));
  EXPECT_EQ(component->GetTitleRowOffset(), 5);
}

TEST(TVdExportBaseComponent, DefaultsArePublishedAndAssignCopiesTheSettings) {
  TComponent form(nullptr);
  auto* component = new TVdExportToCellFile(&form);
  EXPECT_EQ(GetPropValue(*component, "Options").AsInteger(), 434);
  EXPECT_EQ(GetPropInfo(*component, "Options")->Default.AsInteger(), 434);
  EXPECT_EQ(GetPropValue(*component, "KeyGenerator").AsString(), "VdExport 4.64");
  EXPECT_TRUE(GetPropValue(*component, "ExportIfEmpty").AsBoolean());
  EXPECT_EQ(GetEnumProp(*component, "ColumnSource"), "csDBGrid");
  EXPECT_EQ(GetEnumProp(*component, "ActionAfterExport"), "aeNone");
  auto* statistic = dynamic_cast<TVdEStatistic*>(GetObjectProp(*component, "Statistic"));
  ASSERT_NE(statistic, nullptr);
  EXPECT_EQ(GetPropValue(*statistic, "UpdateStep").AsInteger(), 1);
  EXPECT_TRUE(component->SendTo()->EMailOpenBeforeSend());
  EXPECT_EQ(GetPropInfo(*component, "RowsPerFile"), nullptr) << "left to the formats";

  const std::string folder = ExtractFilePath(component->FileName());
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(ExtractFileName(component->FileName()), "VdExport.EXP");
  component->SetTableType(ttXML);
  EXPECT_EQ(component->FileName(), folder + "VdExport.XML");

  auto* table = MakeSampleTable(&form, 1);
  component->SetDataSet(table);
  component->SetColumnSource(csDataSet);
  component->Columns()->Add()->SetFieldName("CustNo");
  component->Header()->Add("head");
  component->ExportStyle()->SetStyle(esRose);
  component->OnProgress = [](TObject*, int, int, bool&) {};
  auto* copy = new TVdExportToCellFile(&form);
  copy->Assign(*component);
  EXPECT_EQ(copy->TableType(), ttXML);
  EXPECT_EQ(copy->FileName(), component->FileName());
  EXPECT_EQ(copy->DataSet(), table);
  EXPECT_EQ(copy->ColumnSource(), csDataSet);
  EXPECT_EQ(copy->Columns()->Count(), 1);
  EXPECT_EQ(copy->Header()->Text(), "head\r\n");
  EXPECT_EQ(copy->ExportStyle()->Style(), esRose);
  EXPECT_TRUE(copy->OnProgress);
  EXPECT_THROW(copy->Assign(*table), EConvertError);

  delete table;
  EXPECT_EQ(component->DataSet(), nullptr);
  EXPECT_EQ(copy->DataSet(), nullptr);
}

TEST(TVdExportBaseComponent, DBGridAcceptsOnlyGridsItCanRead) {
  PlatformScope platform;
  TComponent form(nullptr);
  auto* component = new TVdExportToCellFile(&form);
  auto* grid = new TDBGrid(&form);
  component->SetDBGrid(grid);
  auto* other = new TComponent(&form);
  other->SetName("Memo1");
  try {
    component->SetDBGrid(other);
    ADD_FAILURE() << "a component without a DataSource is no grid";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Assigned DBGrid (Memo1) is not a supported type");
  }
  EXPECT_EQ(component->DBGrid(), grid);
  EXPECT_FALSE(component->GridIsSelectedKind() || component->GridIsFieldsKind());

  // A grid without a data source exports an empty document; the engine
  // made for it lives only for the run.
  TMemoryStream stream;
  component->ExportToStream(&stream);
  EXPECT_EQ(component->ActiveEngine(), nullptr);
  EXPECT_EQ(component->Statistic()->Result(), erCompleted);
  EXPECT_TRUE(platform->boxes.empty()) << "the progress window showed the final message";
  delete grid;
  EXPECT_EQ(component->DBGrid(), nullptr);
  EXPECT_THROW(component->ExportToStream(&stream), Exception);
  EXPECT_EQ(component->Statistic()->Result(), erInProgress) << "a missing source changes nothing";
}

TEST(TVdExportBaseComponent, RunFrameNamesTheFileAndRunsTheActionAfterExport) {
  PlatformScope platform;
  TComponent form(nullptr);
  auto* component = new TVdExportToCellFile(&form);
  component->SetDataSet(MakeSampleTable(&form, 2));
  component->SetColumnSource(csDataSet);
  component->SetAnimatedStatus(false);
  component->SetTableType(ttHTML);
  component->SetFileName("/out/report");
  component->SetActionAfterExport(aeOpenView);
  std::string events;
  component->OnBeforeExecute = [&](TObject*) { events += "before "; };
  component->OnAfterExecute = [&](TObject*) { events += "after"; };
  TMemoryStream stream;
  component->ExportToStream(&stream);
  EXPECT_EQ(events, "before after");
  EXPECT_EQ(component->FileName(), "/out/report.HTM");
  EXPECT_EQ(platform->opened, std::vector<std::string>{"/out/report.HTM"});
  EXPECT_EQ(platform->boxes,
            std::vector<std::string>{"The /out/report.HTM file was successfully generated with "
                                     "exported data."});
  EXPECT_EQ(platform->cursors, (std::vector<TCursor>{crHourGlass, crDefault}));

  component->SetFileName("/out/report.txt");
  component->SetActionAfterExport(aeEMail);
  component->OnAfterExecute = [&](TObject* sender) {
    static_cast<TVdExportToCellFile*>(sender)->Statistic()->SetResult(erFailed);
  };
  component->OnBeforeRecord = [](TObject* sender, bool&) {
    static_cast<TVdExportToCellFile*>(sender)->Statistic()->SetResult(erFailed);
  };
  platform->boxes.clear();
  component->ExportToStream(&stream);
  EXPECT_EQ(platform->mails.size(), 0u) << "no action after a failed run";
  EXPECT_EQ(component->FileName(), "/out/report.txt");
  EXPECT_EQ(platform->boxes, std::vector<std::string>{"Error of data export."});
}

TEST(TVdECustomBaseComponent, SendMailComposesTheMessageAndReportsFailures) {
  PlatformScope platform;
  TComponent form(nullptr);
  auto* component = new TVdExportBaseComponent(&form);
  EXPECT_EQ(component->SendMail("/out/a.xml", ""), 0);
  ASSERT_EQ(platform->mails.size(), 1u);
  EXPECT_EQ(platform->mails[0].Subject, "VdExport 4.64");
  EXPECT_EQ(platform->mails[0].AttachmentPath, "/out/a.xml");
  EXPECT_TRUE(platform->mailDialogs[0]) << "no recipient: the compose window";

  component->SendTo()->SetEMailRecipient("ann@example.org");
  component->SendTo()->SetEMailOpenBeforeSend(false);
  component->SendTo()->SetEMailSubject("Data");
  component->SendTo()->SetEMailBody("Body");
  platform->mailResult = -1;
  EXPECT_EQ(component->SendMail("/out/a.xml", "Note"), -1);
  const MailMessage& mail = platform->mails[1];
  EXPECT_EQ(mail.Subject, "Data");
  EXPECT_EQ(mail.NoteText, "Note\r\nBody");
  EXPECT_EQ(mail.AttachmentPath, "");
  EXPECT_EQ(mail.Recipient, "ann@example.org");
  EXPECT_FALSE(platform->mailDialogs[1]);
  EXPECT_EQ(platform->boxes, std::vector<std::string>{"-1 Error sending mail"});

  component->SetOptions(0);
  EXPECT_EQ(component->SendMail("/out/a.xml", ""), -1);
  EXPECT_EQ(platform->boxes.size(), 1u) << "without soShowMessage nothing is shown";
}

}  // namespace
}  // namespace VdExport
