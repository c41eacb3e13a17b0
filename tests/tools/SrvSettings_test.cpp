#include "server/SrvSettings.h"

#include <gtest/gtest.h>

#include "core/CodePage.h"
#include "export/VdE2HTML.h"
#include "export/VdE2XML.h"

namespace Vdei {
namespace {

using namespace VdExport;

TEST(SrvSettings, ComponentsGetTheStoredSettingsAndTheStartsChanges) {
  TComponent form(nullptr);
  auto* xml = new TVdExportToXML(&form);
  auto* html = new TVdExportToHTML(&form);
  xml->Columns()->Add()->SetFieldName("X");
  xml->SetBlankIfZero(true);
  xml->DataFormats()->SetDecimalSeparator(',');
  ApplyServerSettings(*xml);
  ApplyServerSettings(*html);
  const TVdOptions running =
      OptionBit(soDisableControls) | OptionBit(soColLines) | OptionBit(soRowLines);
  for (TVdExportToCellFile* component :
       {static_cast<TVdExportToCellFile*>(xml), static_cast<TVdExportToCellFile*>(html)}) {
    EXPECT_FALSE(component->AnimatedStatus());
    EXPECT_EQ(component->Options(), running);
    EXPECT_EQ(component->KeyGenerator(), "VdExport 4.63");
    EXPECT_TRUE(component->AddTitle());
    EXPECT_EQ(component->Columns()->Count(), 0) << "each run fills the columns";
    EXPECT_EQ(component->DataFormats()->DecimalSeparator(), '.');
    EXPECT_TRUE(component->DataFormats()->LeadingZerosInDate());
  }
  EXPECT_EQ(xml->FileName(), "VdExport.XML");
  EXPECT_EQ(xml->Format(), xmlClientDataset);
  EXPECT_FALSE(xml->BlankIfZero());
  EXPECT_EQ(xml->DataFormats()->DateOrder(), doYMD);
  EXPECT_EQ(html->FileName(), "VdExport.HTM");
  EXPECT_EQ(html->DataFormats()->DateOrder(), doMDY);
  EXPECT_EQ(html->ExportStyle()->OddColor(), clBlack);

  // The stored page declares the code page the system runs with, not
  // windows-1251.
  SetActiveAnsiCodePage(1251);
  ApplyServerSettings(*html);
  SetActiveAnsiCodePage(1252);
  ASSERT_EQ(html->HTMLPattern()->Count(), 1);
  EXPECT_EQ((*html->HTMLPattern())[0],
            "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\"\r\n"
            "content=\"text/html; charset=windows-1251\">\r\n"
            "<meta name=\"GENERATOR\" content=\"VdExport 4.63\">\r\n"
            "<title>Data exported by VdExport generator</title>\r\n</head>\r\n\r\n"
            "<body bgcolor=\"#FFFFFF\">\r\n</body>\r\n</html>");
}

}  // namespace
}  // namespace Vdei
