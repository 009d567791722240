#pragma once

#include "platform/data/Dataset.h"

// The dataset's controls hear nothing while it lives, then hear once of
// whatever changed meanwhile: a dataset closed and opened again is shown
// once, not emptied first.
class DisabledControls {
 public:
  explicit DisabledControls(Dataset& dataset) : dataset_(dataset) { dataset_.DisableControls(); }
  ~DisabledControls() { dataset_.EnableControls(); }
  DisabledControls(const DisabledControls&) = delete;
  DisabledControls& operator=(const DisabledControls&) = delete;

 private:
  Dataset& dataset_;
};
