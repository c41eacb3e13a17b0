#include "export/VdESendTo.h"

#include "core/Properties.h"

namespace VdExport {

using Vdei::TClassInfo;
using Vdei::TPersistent;

const TClassInfo& TVdESendTo::StaticClassInfo() {
  using S = TVdESendTo;
  static const TClassInfo info =
      Vdei::ClassInfoBuilder<S, TPersistent>("TVdESendTo")
          .String("EMailRecipient", &S::EMailRecipient,
                  [](S& s, std::string v) { s.SetEMailRecipient(std::move(v)); })
          .String("EMailSubject", &S::EMailSubject,
                  [](S& s, std::string v) { s.SetEMailSubject(std::move(v)); })
          .String("EMailBody", &S::EMailBody,
                  [](S& s, std::string v) { s.SetEMailBody(std::move(v)); })
          .Boolean("EMailOpenBeforeSend", &S::EMailOpenBeforeSend, &S::SetEMailOpenBeforeSend,
                   Vdei::Variant(true))
          .Build();
  return info;
}

void TVdESendTo::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TVdESendTo*>(&source);
  if (other == nullptr) return TPersistent::Assign(source);
  if (other != this) *this = *other;
}

}  // namespace VdExport
