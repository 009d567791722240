#pragma once

#include "platform/data/Dataset.h"

// The dataset's controls hear nothing while it lives, then hear once of
// whatever changed meanwhile: a dataset closed and opened again is shown
// once, not emptied first.
class ControlsDisabled {
 public:
  explicit ControlsDisabled(Dataset& dataset) : dataset_(dataset) { dataset_.DisableControls(); }
  ~ControlsDisabled() { dataset_.EnableControls(); }
  ControlsDisabled(const ControlsDisabled&) = delete;
  ControlsDisabled& operator=(const ControlsDisabled&) = delete;

 private:
  Dataset& dataset_;
};
