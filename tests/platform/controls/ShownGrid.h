#pragma once

#include "platform/controls/DBGrid.h"
#include "platform/data/DataSource.h"

// A grid on screen showing a dataset through a data source of its own.
struct ShownGrid {
  explicit ShownGrid(Dataset& dataset) {
    source.SetDataSet(&dataset);
    grid.resize(500, 300);
    grid.SetSource(&source);
    grid.show();
  }
  DataSource source;
  DBGrid grid;
};
