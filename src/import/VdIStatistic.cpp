#include "import/VdIStatistic.h"

#include "core/Properties.h"

namespace VdImport {

using Vdei::ClassInfoBuilder;
using Vdei::TClassInfo;
using Vdei::Variant;

const TClassInfo& TVdIStatistic::StaticClassInfo() {
  using C = TVdIStatistic;
  static const TClassInfo info =
      ClassInfoBuilder<C, Vdei::TPersistent>("TVdIStatistic")
          .Integer("TotalCount", &C::TotalCount, &C::SetTotalCount, Variant(0))
          .Integer("UpdateStep", &C::UpdateStep, &C::SetUpdateStep, Variant(1))
          .Enum("Result", {"irUnknown", "irExecuted", "irCanceled", "irFailed"}, &C::Result,
                &C::SetResult, Variant(int(irUnknown)))
          .Build();
  return info;
}

void TVdIStatistic::ResetCounters() {
  totalImported_ = totalAdded_ = totalDeleted_ = totalUpdated_ = totalErrors_ = 0;
  lastAction_ = iaUnknown;
}

void TVdIStatistic::Assign(const Vdei::TPersistent& source) {
  const auto* other = dynamic_cast<const TVdIStatistic*>(&source);
  if (other == nullptr) return TPersistent::Assign(source);
  *this = *other;
}

const TClassInfo& TVdILoadCondition::StaticClassInfo() {
  using C = TVdILoadCondition;
  static const TClassInfo info =
      ClassInfoBuilder<C, Vdei::TPersistent>("TVdILoadCondition")
          .String(
              "LoadWhen", &C::LoadWhen, [](C& c, std::string v) { c.SetLoadWhen(std::move(v)); },
              Variant(""))
          .String(
              "SkipIf", &C::SkipIf, [](C& c, std::string v) { c.SetSkipIf(std::move(v)); },
              Variant(""))
          .Build();
  return info;
}

void TVdILoadCondition::Assign(const Vdei::TPersistent& source) {
  const auto* other = dynamic_cast<const TVdILoadCondition*>(&source);
  if (other == nullptr) return TPersistent::Assign(source);
  loadWhen_ = other->loadWhen_;
  skipIf_ = other->skipIf_;
}

}  // namespace VdImport
