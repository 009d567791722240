#pragma once

#include "platform/data/Dataset.h"

// A state a dataset takes for a moment without telling anyone: its fields
// show a record under test (dsFilter) or a scratch key (dsSetKey).
class Dataset::TemporaryState {
 public:
  TemporaryState(Dataset& dataset, DataSetState state)
      : dataset_(dataset), state_(dataset.state_), candidate_(dataset.candidate_) {
    ++dataset_.quiet_;
    dataset_.state_ = state;
  }
  ~TemporaryState() {
    dataset_.state_ = state_;
    dataset_.candidate_ = candidate_;
    --dataset_.quiet_;
  }
  TemporaryState(const TemporaryState&) = delete;
  TemporaryState& operator=(const TemporaryState&) = delete;

  void Show(const Row& row) { dataset_.candidate_ = &row; }

 private:
  Dataset& dataset_;
  DataSetState state_;
  const Row* candidate_;
};
