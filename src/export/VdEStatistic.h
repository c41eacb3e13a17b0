// TVdEStatistic: the counters and the result of an export run (published
// as Statistic).
//
// TotalCount is the number of output rows a run will write; TotalErrors is
// kept for form files and never changed by the export; UpdateStep throttles
// the progress window (0 or less: every update shows); Result is set by
// BeginExport (erInProgress) and EndExport. CurrentRow and CurrentColumn
// are the writer's output row counter in the current file and the column
// of the last cell written; they are not published. Assign copies the four
// published values.
#pragma once

#include "core/Object.h"

namespace VdExport {

enum TVdEResult { erInProgress, erCompleted, erCanceled, erFailed };

class TVdEStatistic : public Vdei::TPersistent {
 public:
  VDEI_CLASS(TVdEStatistic)
  TVdEStatistic() = default;

  int TotalCount() const { return totalCount_; }
  void SetTotalCount(int value) { totalCount_ = value; }
  int TotalErrors() const { return totalErrors_; }
  void SetTotalErrors(int value) { totalErrors_ = value; }
  int UpdateStep() const { return updateStep_; }
  void SetUpdateStep(int value) { updateStep_ = value; }
  TVdEResult Result() const { return result_; }
  void SetResult(TVdEResult value) { result_ = value; }

  int CurrentRow() const { return currentRow_; }
  void SetCurrentRow(int value) { currentRow_ = value; }
  int CurrentColumn() const { return currentColumn_; }
  void SetCurrentColumn(int value) { currentColumn_ = value; }

  void Assign(const Vdei::TPersistent& source) override;

 private:
  int totalCount_ = 0;
  int totalErrors_ = 0;
  int updateStep_ = 1;
  TVdEResult result_ = erInProgress;
  int currentRow_ = 0;
  int currentColumn_ = 0;
};

}  // namespace VdExport
