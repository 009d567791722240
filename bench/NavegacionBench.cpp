// A master's navigation as its grid shows it: open on the large table, go to
// the last record, refresh, come back to the first; beside the same windows
// of rows read on raw SQLite, on the same file.

#include "bench/support/BenchData.h"
#include "bench/support/GridView.h"
#include "bench/support/RawSqlite.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"

#include <benchmark/benchmark.h>

namespace {

void NavigationDataset(benchmark::State& state) {
  for (auto _ : state) {
    Table table;
    table.SetDatabaseName(BenchData::Get().LargeFolder());
    table.SetTableName(QStringLiteral("ARTICULOS"));
    table.Open();
    DataSource source;
    source.SetDataSet(&table);
    DBGrid grid;
    grid.resize(600, 400);
    grid.SetSource(&source);
    grid.show();
    ShowGrid(grid);
    table.Last();
    ShowGrid(grid);
    table.Refresh();
    ShowGrid(grid);
    table.First();
    ShowGrid(grid);
  }
}

void ReadWindow(RawStatement& select) {
  while (select.Step()) {
    benchmark::DoNotOptimize(select.Int64(0));
    benchmark::DoNotOptimize(select.Text(1));
    benchmark::DoNotOptimize(select.Double(2));
    benchmark::DoNotOptimize(select.Text(3));
  }
  select.Reset();
}

void NavigationRaw(benchmark::State& state) {
  for (auto _ : state) {
    RawConnection raw(BenchData::DataFile(BenchData::Get().LargeFolder()));
    RawStatement count(raw, "SELECT count(*) FROM ARTICULOS");
    count.Step();
    benchmark::DoNotOptimize(count.Int64(0));
    RawStatement first(raw, "SELECT Codigo, Nombre, Precio, Familia FROM ARTICULOS ORDER BY Codigo LIMIT 40");
    RawStatement last(raw, "SELECT Codigo, Nombre, Precio, Familia FROM ARTICULOS ORDER BY Codigo DESC LIMIT 40");
    ReadWindow(first);
    ReadWindow(last);
    ReadWindow(last);
    ReadWindow(first);
  }
}

}  // namespace

BENCHMARK(NavigationDataset)->Name("MasterNavigation/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(NavigationRaw)->Name("MasterNavigation/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
