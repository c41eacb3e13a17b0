// The reader thread of a forward-only query and its bounded batch queue.
#include "dataset/ForwardReader.h"

namespace Vdei {

namespace {

// Unwinds the reader thread when its consumer has gone.
struct ReadingStopped {};

}  // namespace

ForwardReader::ForwardReader(Statement statement, size_t batchRows, size_t maxBatches)
    : statement_(std::move(statement)),
      batchRows_(batchRows),
      maxBatches_(maxBatches),
      thread_([this] { Read(); }) {}

ForwardReader::~ForwardReader() {
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void ForwardReader::Read() {
  RecordStore store;
  ResultBuilder builder(store, this, batchRows_);
  try {
    statement_(builder);
    if (!builder.Streaming()) ColumnsKnown(builder.FinalColumns());
    Push(store);
    std::lock_guard lock(mutex_);
    ended_ = true;
  } catch (...) {
    builder.DropOpenRow();
    if (!stopped_) {
      try {
        if (builder.Streaming()) Push(store);  // the rows before the error
      } catch (...) {
      }
    }
    Fail(std::current_exception());
  }
  changed_.notify_all();
}

void ForwardReader::Fail(std::exception_ptr error) {
  std::lock_guard lock(mutex_);
  error_ = std::move(error);
}

void ForwardReader::ColumnsKnown(std::vector<ResultColumn> columns) {
  {
    std::lock_guard lock(mutex_);
    columns_ = std::move(columns);
  }
  changed_.notify_all();
}

void ForwardReader::BatchFull(RecordStore& batch) {
  Push(batch);
}

void ForwardReader::Push(RecordStore& batch) {
  if (batch.Count() == 0) return;
  std::vector<int> textFields = batch.TextFields();
  const int fieldCount = batch.Layout().FieldCount;
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return stopped_ || batches_.size() < maxBatches_; });
    if (stopped_) throw ReadingStopped();
    batches_.push_back(std::move(batch));
  }
  changed_.notify_all();
  batch.Reset(fieldCount);
  batch.SetTextFields(std::move(textFields));
}

std::vector<ResultColumn> ForwardReader::Columns() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return columns_ || error_; });
  if (!columns_) std::rethrow_exception(error_);
  return *columns_;
}

bool ForwardReader::NextBatch(RecordStore& records) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !batches_.empty() || ended_ || error_; });
  if (batches_.empty()) {
    if (error_) std::rethrow_exception(error_);
    return false;
  }
  records = std::move(batches_.front());
  batches_.pop_front();
  lock.unlock();
  changed_.notify_all();
  return true;
}

}  // namespace Vdei
