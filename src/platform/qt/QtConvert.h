// Conversions between the model's values and Qt's: ANSI texts to QString
// (through UTF-8), fonts, colours, cursors and text alignments.
//
// ToQFont maps the classic dialog font "MS Sans Serif" (absent here) to
// the desktop's default sans-serif font at the same point size; any other
// name is asked for as it is and Qt falls back as it does.
#pragma once

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QString>
#include <string_view>

#include "core/Graphics.h"
#include "platform/Platform.h"

namespace Vdei {

QString ToQString(std::string_view ansi);
QFont ToQFont(const TFont& font);
QColor ToQColor(TColor color);
Qt::CursorShape ToQtCursor(TCursor cursor);
// The horizontal alignment, combined with the vertical one given.
Qt::Alignment ToQtAlignment(TAlignment alignment, Qt::Alignment vertical);

}  // namespace Vdei
