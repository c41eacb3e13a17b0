#include "platform/qt/QtConvert.h"

#include <QFontDatabase>

#include "core/CodePage.h"

namespace Vdei {

QString ToQString(std::string_view ansi) {
  std::string utf8 = AnsiToUtf8(ansi);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QFont ToQFont(const TFont& font) {
  QFont result = font.Name() == "MS Sans Serif"
                     ? QFontDatabase::systemFont(QFontDatabase::GeneralFont)
                     : QFont(ToQString(font.Name()));
  if (font.Size() > 0) result.setPointSize(font.Size());
  result.setBold(font.HasStyle(fsBold));
  result.setItalic(font.HasStyle(fsItalic));
  result.setUnderline(font.HasStyle(fsUnderline));
  result.setStrikeOut(font.HasStyle(fsStrikeOut));
  return result;
}

QColor ToQColor(TColor color) {
  int32_t rgb = ColorToRGB(color);
  return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

Qt::CursorShape ToQtCursor(TCursor cursor) {
  switch (cursor) {
    case crHourGlass:
      return Qt::WaitCursor;
    case crArrow:
      return Qt::ArrowCursor;
    case crDefault:
      break;
  }
  return Qt::ArrowCursor;
}

Qt::Alignment ToQtAlignment(TAlignment alignment, Qt::Alignment vertical) {
  switch (alignment) {
    case taRightJustify:
      return Qt::AlignRight | vertical;
    case taCenter:
      return Qt::AlignHCenter | vertical;
    case taLeftJustify:
      break;
  }
  return Qt::AlignLeft | vertical;
}

}  // namespace Vdei
