#include "server/SrvSettings.h"

#include "core/CodePage.h"
#include "export/VdE2HTML.h"
#include "export/VdE2XML.h"

namespace Vdei {

namespace {

using namespace VdExport;

// What both components store, and the server's start on top.
void ApplySharedSettings(TVdExportBaseComponent& component, const std::string& fileName) {
  component.SetAnimatedStatus(false);
  TVdEDataFormats& formats = *component.DataFormats();
  formats.SetDateSeparator('/');
  formats.SetTimeSeparator(':');
  formats.SetFourDigitYear(true);
  formats.SetLeadingZerosInDate(true);
  formats.SetThousandSeparator(',');
  formats.SetDecimalSeparator('.');
  formats.SetCurrencyString("$");
  formats.SetBooleanTrue("True");
  formats.SetBooleanFalse("False");
  formats.SetUseRegionalSettings(false);
  component.SetKeyGenerator("VdExport 4.63");
  component.SetSelectedRecord(false);
  component.SetBlankIfZero(false);
  component.SetRightToLeft(false);
  component.Columns()->Clear();
  component.SetFileName(fileName);
  component.SetAddTitle(true);
  component.SetCharacterSet(csANSI_WINDOWS);
  component.SetOptions(kDefaultOptions & ~(OptionBit(soShowMessage) | OptionBit(soWaitCursor)));
}

}  // namespace

std::string ServerHTMLPatternItem(int codePage) {
  return "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\"\r\n"
         "content=\"text/html; charset=windows-" +
         std::to_string(codePage) +
         "\">\r\n<meta name=\"GENERATOR\" content=\"VdExport 4.63\">\r\n"
         "<title>Data exported by VdExport generator</title>\r\n</head>\r\n\r\n"
         "<body bgcolor=\"#FFFFFF\">\r\n</body>\r\n</html>";
}

void ApplyServerSettings(TVdExportToXML& xml) {
  ApplySharedSettings(xml, "VdExport.XML");
  xml.DataFormats()->SetDateOrder(doYMD);
  xml.DataFormats()->SetCustomDateTimeFormat("yyyymmddThhnnsszzz");
  xml.SetFormat(xmlClientDataset);
  xml.SetGenerateXSL(false);
  const TVdEXMLTags tags;
  xml.SetXMLTags(&tags);
}

void ApplyServerSettings(TVdExportToHTML& html) {
  ApplySharedSettings(html, "VdExport.HTM");
  html.SetHeaderFooterWithHTML(false);
  TVdExportStyle style;
  style.SetStyle(esNormal);
  style.SetOddColor(clBlack);
  style.SetEvenColor(clBlack);
  html.SetExportStyle(&style);
  TStringList pattern;
  pattern.Add(ServerHTMLPatternItem(ActiveAnsiCodePage()));
  html.SetHTMLPattern(&pattern);
}

}  // namespace Vdei
