// TDataSource and TDataLink: how controls (grids, the client's table
// model) follow a dataset.
//
// A TDataSource names one dataset (published property "DataSet"); data
// links attach to a data source and are told of the dataset's events
// (DataSet.h, TDataEvent) as long as the dataset's controls are not
// disabled. Either side may be destroyed first: a destroyed dataset leaves
// its data sources without a dataset, a destroyed data source leaves its
// links without a source, and a destroyed link detaches itself.
#pragma once

#include <functional>
#include <vector>

#include "core/Component.h"
#include "dataset/DataSet.h"

namespace Vdei {

class TDataLink;

class TDataSource : public TComponent {
 public:
  VDEI_CLASS(TDataSource)
  explicit TDataSource(TComponent* owner);
  ~TDataSource() override;

  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* dataSet);
  // dsInactive without a dataset.
  TDataSetState State() const { return dataSet_ ? dataSet_->State() : dsInactive; }

  // Raised after each data event the links hear of: OnDataChange for
  // moves and record changes (Field is the changed field or nullptr),
  // OnStateChange when the dataset's State changed.
  std::function<void(TObject* Sender, TField* Field)> OnDataChange;
  std::function<void(TObject* Sender)> OnStateChange;

 private:
  friend class TDataSet;
  friend class TDataLink;
  void DataEvent(TDataEvent event, TField* field);

  TDataSet* dataSet_ = nullptr;
  std::vector<TDataLink*> links_;
};

// An observer of a data source's dataset. Subclasses override the
// notifications they need; all do nothing by default.
class TDataLink {
 public:
  TDataLink() = default;
  virtual ~TDataLink();
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;

  TDataSource* DataSource() const { return dataSource_; }
  void SetDataSource(TDataSource* dataSource);
  // The source's dataset, nullptr without one.
  TDataSet* DataSet() const { return dataSource_ ? dataSource_->DataSet() : nullptr; }
  bool Active() const { return DataSet() != nullptr && DataSet()->Active(); }

 protected:
  friend class TDataSource;
  // The dataset opened or closed, or the link got another dataset.
  virtual void ActiveChanged() {}
  // deDataSetChange and deLayoutChange: refresh everything.
  virtual void DataSetChanged() {}
  // deDataSetScroll: the cursor moved.
  virtual void DataSetScrolled() {}
  // deFieldChange (field given) and deRecordChange (nullptr).
  virtual void RecordChanged(TField* field) { (void)field; }
  // deUpdateState: the dataset entered or left edit or insert.
  virtual void EditingChanged() {}

 private:
  TDataSource* dataSource_ = nullptr;
};

}  // namespace Vdei
