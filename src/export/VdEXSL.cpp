#include "export/VdEXSL.h"

#include <array>
#include <string_view>

#include "export/VdEXMLText.h"

namespace VdExport {

namespace {

// The lines of the xmlIE / xmlIECompact stylesheet; the other layouts
// replace some of them (by index, from 0).
constexpr std::array<std::string_view, 36> kIELines = {
    R"(<?xml version="1.0"?>)",
    R"(<xsl:stylesheet xmlns:xsl="http://www.w3.org/TR/WD-xsl">)",
    R"(  <xsl:template match="/">)",
    R"(    <xsl:apply-templates/>)",
    R"(  </xsl:template>)",
    "",
    R"(  <xsl:template match="RECORDS">)",
    R"(    <table border="1">)",
    R"(    <xsl:apply-templates select="METADATA/FIELDS"/>)",
    R"(    <xsl:apply-templates select="RECORD/ROW"/>)",
    R"(    </table>)",
    R"(  </xsl:template>)",
    "",
    R"(  <xsl:template match="FIELDS">)",
    R"(    <tr>)",
    R"(    <xsl:apply-templates/>)",
    R"(    </tr>)",
    R"(  </xsl:template>)",
    "",
    R"(  <xsl:template match="FIELD">)",
    R"(    <th>)",
    R"(    <xsl:value-of select="@attrname"/>)",
    R"(    </th>)",
    R"(  </xsl:template>)",
    "",
    R"(  <xsl:template match="ROW">)",
    R"(    <tr>)",
    R"(    <xsl:for-each select="@*">)",
    R"(      <td>)",
    R"(      <xsl:value-of/>)",
    R"(      </td>)",
    R"(    </xsl:for-each>)",
    R"(    </tr>)",
    R"(  </xsl:template>)",
    "",
    R"(</xsl:stylesheet>)",
};

struct LineChange {
  size_t Index;
  std::string_view Line;
};

constexpr std::array<LineChange, 3> kClientDatasetChanges = {{
    {6, R"(  <xsl:template match="DATAPACKET">)"},
    {9, R"(    <xsl:apply-templates select="ROWDATA/ROW"/>)"},
    {25, R"(  <xsl:template match="ROWDATA/ROW">)"},
}};

constexpr std::array<LineChange, 3> kElementChanges = {{
    {9, R"(    <xsl:apply-templates select="RECORD"/>)"},
    {25, R"(  <xsl:template match="RECORD">)"},
    {27, R"(    <xsl:for-each>)"},
}};

std::string JoinLines(const std::array<LineChange, 3>* changes) {
  std::array<std::string_view, 36> lines = kIELines;
  if (changes != nullptr) {
    for (const LineChange& change : *changes) lines[change.Index] = change.Line;
  }
  std::string text;
  for (std::string_view line : lines) {
    text.append(line);
    text.append("\r\n");
  }
  return text;
}

}  // namespace

std::string StylesheetText(TVdEXMLFormat format, const TVdEXMLTags& tags) {
  std::string text;
  switch (format) {
    case xmlIE:
    case xmlIECompact:
      text = JoinLines(nullptr);
      break;
    case xmlClientDataset:
      text = JoinLines(&kClientDatasetChanges);
      break;
    case xmlElement:
      text = JoinLines(&kElementChanges);
      break;
    case xmlMSSQL:
      return text;
  }
  text = ReplaceAllText(text, "RECORDS", tags.RecordsTag());
  text = ReplaceAllText(text, "RECORD", tags.RecordTag());
  return ReplaceAllText(text, "ROW", tags.RowTag());
}

}  // namespace VdExport
