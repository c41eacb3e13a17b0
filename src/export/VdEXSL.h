// The XSL stylesheets that the XML package writer puts beside a package
// (GenerateXSL): a page with one HTML table of the package's column names
// and rows.
//
// StylesheetText gives the stylesheet of a layout with the tag names put
// in: every "RECORDS" replaced by tags.RecordsTag, then every "RECORD" by
// tags.RecordTag, then every "ROW" by tags.RowTag, each step working on
// the result of the one before (so a tag that contains another tag's
// default name is replaced again). Every line ends in CR LF. xmlIE and
// xmlIECompact share one text; xmlMSSQL has none (an empty text).
#pragma once

#include <string>

#include "export/VdEXMLTags.h"

namespace VdExport {

std::string StylesheetText(TVdEXMLFormat format, const TVdEXMLTags& tags);

}  // namespace VdExport
