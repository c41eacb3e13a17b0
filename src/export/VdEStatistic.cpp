#include "export/VdEStatistic.h"

#include "core/Properties.h"

namespace VdExport {

using Vdei::TClassInfo;
using Vdei::TPersistent;

const TClassInfo& TVdEStatistic::StaticClassInfo() {
  using S = TVdEStatistic;
  static const TClassInfo info =
      Vdei::ClassInfoBuilder<S, TPersistent>("TVdEStatistic")
          .Integer("TotalCount", &S::TotalCount, &S::SetTotalCount)
          .Integer("TotalErrors", &S::TotalErrors, &S::SetTotalErrors)
          .Integer("UpdateStep", &S::UpdateStep, &S::SetUpdateStep, Vdei::Variant(1))
          .Enum("Result", {"erInProgress", "erCompleted", "erCanceled", "erFailed"}, &S::Result,
                &S::SetResult)
          .Build();
  return info;
}

void TVdEStatistic::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TVdEStatistic*>(&source);
  if (other == nullptr) return TPersistent::Assign(source);
  totalCount_ = other->totalCount_;
  totalErrors_ = other->totalErrors_;
  updateStep_ = other->updateStep_;
  result_ = other->result_;
}

}  // namespace VdExport
