#pragma once

#include "platform/data/Dataset.h"

// A state a dataset takes for a moment without telling anyone: its fields
// show a record under test (dsFilter), a scratch key (dsSetKey) or a record
// whose calculated fields are being worked out (dsCalcFields).
class Dataset::TemporaryState {
 public:
  TemporaryState(Dataset& dataset, DataSetState state)
      : dataset_(dataset), state_(dataset.state_), candidate_(dataset.candidate_), calculated_(dataset.calculated_) {
    ++dataset_.quiet_;
    dataset_.state_ = state;
  }
  ~TemporaryState() {
    const bool calculating = dataset_.state_ == dsCalcFields;
    dataset_.state_ = state_;
    dataset_.candidate_ = candidate_;
    if (!calculating) dataset_.calculated_ = std::move(calculated_);
    --dataset_.quiet_;
  }
  TemporaryState(const TemporaryState&) = delete;
  TemporaryState& operator=(const TemporaryState&) = delete;

  // With calculate, the calculated fields show the record's values too.
  void Show(const Row& row, bool calculate = false) {
    dataset_.candidate_ = &row;
    if (calculate) dataset_.calculateFields();
  }

 private:
  Dataset& dataset_;
  DataSetState state_;
  const Row* candidate_;
  QList<QVariant> calculated_;
};
