// Well-formedness of a package for the tests: parses it with Qt's XML
// reader and counts the elements of one name.
#pragma once

#include <QString>
#include <QXmlStreamReader>
#include <string>
#include <string_view>

#include "core/CodePage.h"

namespace VdeiTest {

// Empty when package (in the ANSI code page) is well-formed XML, else the
// reader's complaint with its line. Elements named countTag are counted
// into count.
inline std::string XmlProblem(std::string_view package, const char* countTag = "",
                              int* count = nullptr) {
  // The reader decodes no Windows code page: it is handed the decoded text.
  QXmlStreamReader reader(QString::fromStdString(Vdei::AnsiToUtf8(package)));
  int seen = 0;
  while (!reader.atEnd()) {
    if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QString(countTag)) {
      ++seen;
    }
  }
  if (count != nullptr) *count = seen;
  if (!reader.hasError()) return {};
  return reader.errorString().toStdString() + " at line " + std::to_string(reader.lineNumber());
}

}  // namespace VdeiTest
