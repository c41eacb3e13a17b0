// ForwardReader: runs a statement on a thread of its own and hands its
// result over in batches of records, for a forward-only TQuery.
// Internal to the dataset layer.
//
// The reader thread fills batches of up to batchRows records and queues
// them, waiting while maxBatches are queued, so a result of any size is
// held a few batches at a time. When a column's type or size depends on
// the values (ResultBuilder's Streaming), the whole result is read first
// and comes as one batch. The consumer takes Columns, then NextBatch
// until it returns false. An error of the reader thread (a value that
// does not convert, the database failing) is raised by the call of the
// consumer that reaches it: Columns when it came before the first batch,
// else the NextBatch after the last records read before it. Destroying
// the reader stops the statement (SQLite is interrupted) and joins the
// thread; nothing of it outlives the object.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "dataset/SqlBackend.h"

namespace Vdei {

class ForwardReader : private ResultSink {
 public:
  // Runs the statement into the builder (ExecuteSqlite, ExecutePostgres).
  using Statement = std::function<void(ResultBuilder&)>;

  ForwardReader(Statement statement, size_t batchRows, size_t maxBatches);
  ~ForwardReader() override;
  ForwardReader(const ForwardReader&) = delete;
  ForwardReader& operator=(const ForwardReader&) = delete;

  // Waits for the result's columns, with their final types and sizes.
  std::vector<ResultColumn> Columns();
  // Moves the next batch into records (never an empty one); false when
  // the result has ended.
  bool NextBatch(RecordStore& records);

 private:
  void Read();
  void ColumnsKnown(std::vector<ResultColumn> columns) override;
  void BatchFull(RecordStore& batch) override;
  bool Stopped() const override { return stopped_; }
  // Queues the records of batch; waits while the queue is full.
  void Push(RecordStore& batch);
  void Fail(std::exception_ptr error);

  Statement statement_;
  const size_t batchRows_;
  const size_t maxBatches_;
  std::atomic<bool> stopped_ = false;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<std::vector<ResultColumn>> columns_;
  std::deque<RecordStore> batches_;
  std::exception_ptr error_;
  bool ended_ = false;
  std::thread thread_;  // last: starts when everything else is ready
};

}  // namespace Vdei
