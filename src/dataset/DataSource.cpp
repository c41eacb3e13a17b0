#include "dataset/DataSource.h"

#include <algorithm>

#include "core/Properties.h"

namespace Vdei {

const TClassInfo& TDataSource::StaticClassInfo() {
  static const TClassInfo info = ClassInfoBuilder<TDataSource, TComponent>("TDataSource")
                                     .Object<TDataSet>("DataSet", &TDataSource::DataSet,
                                                       &TDataSource::SetDataSet)
                                     .Build();
  return info;
}

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

// Detaches quietly: nothing is told of a data source that is going.
TDataSource::~TDataSource() {
  if (dataSet_ != nullptr) std::erase(dataSet_->dataSources_, this);
  for (TDataLink* link : links_) link->dataSource_ = nullptr;
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  if (dataSet_ != nullptr) std::erase(dataSet_->dataSources_, this);
  dataSet_ = dataSet;
  if (dataSet_ != nullptr) dataSet_->dataSources_.push_back(this);
  DataEvent(deLayoutChange, nullptr);
}

void TDataSource::DataEvent(TDataEvent event, TField* field) {
  const std::vector<TDataLink*> links = links_;
  for (TDataLink* link : links) {
    switch (event) {
      case deFieldChange: link->RecordChanged(field); break;
      case deRecordChange: link->RecordChanged(nullptr); break;
      case deDataSetChange: link->DataSetChanged(); break;
      case deDataSetScroll: link->DataSetScrolled(); break;
      case deLayoutChange: link->ActiveChanged(); break;
      case deUpdateState: link->EditingChanged(); break;
    }
  }
  if (event == deUpdateState || event == deLayoutChange) {
    if (OnStateChange) OnStateChange(this);
  }
  if (event != deUpdateState && OnDataChange) OnDataChange(this, field);
}

TDataLink::~TDataLink() {
  if (dataSource_ != nullptr) std::erase(dataSource_->links_, this);
}

void TDataLink::SetDataSource(TDataSource* dataSource) {
  if (dataSource == dataSource_) return;
  if (dataSource_ != nullptr) std::erase(dataSource_->links_, this);
  dataSource_ = dataSource;
  if (dataSource_ != nullptr) dataSource_->links_.push_back(this);
  ActiveChanged();
}

}  // namespace Vdei
