// The run statistic of an import component (TVdIStatistic, published as
// Statistic) and its row filter (TVdILoadCondition, published as
// LoadCondition).
//
// The counters are reset at the start of each run's record loop; a count
// is raised only after its action succeeded. TotalErrors counts every row
// that was read but could not be stored (evaluation or store errors).
// UpdateStep is the number of rows between two refreshes of the progress
// window. Assign copies all nine values (the two conditions).
#pragma once

#include <string>

#include "core/Object.h"

namespace VdImport {

enum TVdIAction { iaUnknown, iaAdd, iaUpdate, iaDelete };
enum TVdIResult { irUnknown, irExecuted, irCanceled, irFailed };

class TVdIStatistic : public Vdei::TPersistent {
 public:
  VDEI_CLASS(TVdIStatistic)
  TVdIStatistic() = default;

  int TotalCount() const { return totalCount_; }
  void SetTotalCount(int value) { totalCount_ = value; }
  int TotalImported() const { return totalImported_; }
  void SetTotalImported(int value) { totalImported_ = value; }
  int TotalAdded() const { return totalAdded_; }
  void SetTotalAdded(int value) { totalAdded_ = value; }
  int TotalDeleted() const { return totalDeleted_; }
  void SetTotalDeleted(int value) { totalDeleted_ = value; }
  int TotalUpdated() const { return totalUpdated_; }
  void SetTotalUpdated(int value) { totalUpdated_ = value; }
  int TotalErrors() const { return totalErrors_; }
  void SetTotalErrors(int value) { totalErrors_ = value; }
  int UpdateStep() const { return updateStep_; }
  void SetUpdateStep(int value) { updateStep_ = value; }
  TVdIAction LastAction() const { return lastAction_; }
  void SetLastAction(TVdIAction value) { lastAction_ = value; }
  TVdIResult Result() const { return result_; }
  void SetResult(TVdIResult value) { result_ = value; }

  // Counters and LastAction back to 0 / iaUnknown (TotalCount, UpdateStep
  // and Result stay).
  void ResetCounters();

  void Assign(const Vdei::TPersistent& source) override;

 private:
  int totalCount_ = 0;
  int totalImported_ = 0;
  int totalAdded_ = 0;
  int totalDeleted_ = 0;
  int totalUpdated_ = 0;
  int totalErrors_ = 0;
  int updateStep_ = 1;
  TVdIAction lastAction_ = iaUnknown;
  TVdIResult result_ = irUnknown;
};

// Two expressions over the cells of a row: a row is stored only when
// LoadWhen (if set) is true and SkipIf (if set) is false.
class TVdILoadCondition : public Vdei::TPersistent {
 public:
  VDEI_CLASS(TVdILoadCondition)
  TVdILoadCondition() = default;

  const std::string& LoadWhen() const { return loadWhen_; }
  void SetLoadWhen(std::string value) { loadWhen_ = std::move(value); }
  const std::string& SkipIf() const { return skipIf_; }
  void SetSkipIf(std::string value) { skipIf_ = std::move(value); }

  void Assign(const Vdei::TPersistent& source) override;

 private:
  std::string loadWhen_;
  std::string skipIf_;
};

}  // namespace VdImport
