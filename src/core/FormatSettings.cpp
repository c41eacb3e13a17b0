#include "core/FormatSettings.h"

namespace Vdei {

const TFormatSettings& DefaultFormatSettings() {
  static const TFormatSettings defaults;
  return defaults;
}

TFormatSettings& FormatSettings() {
  static TFormatSettings settings = DefaultFormatSettings();
  return settings;
}

}  // namespace Vdei
