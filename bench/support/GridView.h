#pragma once

#include "platform/controls/DBGrid.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>

// The rows a grid of its size shows around its current row, read as it
// paints them.
inline void ShowGrid(DBGrid& grid) {
  QApplication::processEvents();
  const QModelIndex current = grid.currentIndex();
  for (int row = std::max(0, current.row() - 20); row <= current.row() + 20; ++row)
    for (int column = 0; column < grid.model()->columnCount(); ++column)
      benchmark::DoNotOptimize(grid.model()->index(row, column).data());
}
