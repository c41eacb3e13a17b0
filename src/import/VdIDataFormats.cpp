#include "import/VdIDataFormats.h"

#include "core/FormatSettings.h"
#include "core/Properties.h"
#include "core/StrUtils.h"

namespace VdImport {

using Vdei::ClassInfoBuilder;
using Vdei::TClassInfo;
using Vdei::TPersistent;

const TClassInfo& TVdIDataFormats::StaticClassInfo() {
  using F = TVdIDataFormats;
  static const TClassInfo info =
      ClassInfoBuilder<F, TPersistent>("TVdIDataFormats")
          .Enum(
              "DateOrder", {"doMDY", "doDMY", "doYMD", "doYDM", "doDYM", "doMYD"},
              [](const F& f) { return f.DateOrder(); },
              [](F& f, TVdIDateOrder v) { f.SetDateOrder(v); }, Vdei::Variant(int64_t{doMDY}))
          .Char(
              "DateSeparator", [](const F& f) { return f.DateSeparator(); },
              [](F& f, char v) { f.SetDateSeparator(v); })
          .Char(
              "TimeSeparator", [](const F& f) { return f.TimeSeparator(); },
              [](F& f, char v) { f.SetTimeSeparator(v); })
          .Boolean(
              "FourDigitYear", [](const F& f) { return f.FourDigitYear(); },
              [](F& f, bool v) { f.SetFourDigitYear(v); })
          .Boolean(
              "LeadingZerosInDate", [](const F& f) { return f.LeadingZerosInDate(); },
              [](F& f, bool v) { f.SetLeadingZerosInDate(v); })
          .String(
              "CustomDateTimeFormat", [](const F& f) { return f.CustomDateTimeFormat(); },
              [](F& f, std::string v) { f.SetCustomDateTimeFormat(std::move(v)); },
              Vdei::Variant(""))
          .Char(
              "ThousandSeparator", [](const F& f) { return f.ThousandSeparator(); },
              [](F& f, char v) { f.SetThousandSeparator(v); })
          .Char(
              "DecimalSeparator", [](const F& f) { return f.DecimalSeparator(); },
              [](F& f, char v) { f.SetDecimalSeparator(v); })
          .String(
              "CurrencyString", [](const F& f) { return f.CurrencyString(); },
              [](F& f, std::string v) { f.SetCurrencyString(std::move(v)); })
          .String(
              "BooleanTrue", [](const F& f) { return f.BooleanTrue(); },
              [](F& f, std::string v) { f.SetBooleanTrue(std::move(v)); })
          .String(
              "BooleanFalse", [](const F& f) { return f.BooleanFalse(); },
              [](F& f, std::string v) { f.SetBooleanFalse(std::move(v)); })
          .Boolean(
              "UseRegionalSettings", [](const F& f) { return f.UseRegionalSettings(); },
              [](F& f, bool v) { f.SetUseRegionalSettings(v); }, Vdei::Variant(false))
          .Build();
  return info;
}

TVdIDataFormats::TVdIDataFormats() {
  LoadFromRegionalSettings();
}

void TVdIDataFormats::LoadFromRegionalSettings() {
  const Vdei::TFormatSettings& settings = Vdei::FormatSettings();
  dateOrder_ = doMDY;
  dateSeparator_ = settings.DateSeparator;
  timeSeparator_ = settings.TimeSeparator;
  decimalSeparator_ = settings.DecimalSeparator;
  thousandSeparator_ = settings.ThousandSeparator;
  currencyString_ = settings.CurrencyString;
  fourDigitYear_ = Vdei::PosText("yyyy", settings.ShortDateFormat) != std::string::npos;
  leadingZerosInDate_ = Vdei::PosText("dd", settings.ShortDateFormat) != std::string::npos;
  customDateTimeFormat_.clear();
}

void TVdIDataFormats::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TVdIDataFormats*>(&source);
  if (other == nullptr) return TPersistent::Assign(source);
  dateOrder_ = other->dateOrder_;
  dateSeparator_ = other->dateSeparator_;
  timeSeparator_ = other->timeSeparator_;
  fourDigitYear_ = other->fourDigitYear_;
  leadingZerosInDate_ = other->leadingZerosInDate_;
  customDateTimeFormat_ = other->customDateTimeFormat_;
  thousandSeparator_ = other->thousandSeparator_;
  decimalSeparator_ = other->decimalSeparator_;
  currencyString_ = other->currencyString_;
  booleanTrue_ = other->booleanTrue_;
  booleanFalse_ = other->booleanFalse_;
  useRegionalSettings_ = other->useRegionalSettings_;
}

}  // namespace VdImport
