// Filters the program evaluates itself (text, dates, text mixed with
// numbers) beside raw SQLite selecting the same records, at 100,000 records
// and on the large table.

#include "bench/support/BenchData.h"
#include "bench/support/RawSqlite.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

struct FilterWork {
  const char* name;
  bool moves;  // MOVIMIENTOS, or else ARTICULOS
  const char* filter;
  FilterOptions options;
  const char* raw;  // the same records, in the same order, on raw SQLite
};

const std::array<FilterWork, 5> kWorks = {{
    {"FiltroTextoIgual", false, "Familia = 'F7'", 0,
     "SELECT Codigo, Nombre, Precio FROM ARTICULOS WHERE Familia = 'F7' ORDER BY Codigo"},
    {"FiltroTextoPatron", false, "Nombre = 'ARTICULO 0001*'", 0,
     "SELECT Codigo, Nombre, Precio FROM ARTICULOS WHERE Nombre LIKE 'ARTICULO 0001%' ORDER BY Codigo"},
    {"FiltroTextoSinMayusculas", false, "Familia = 'f7'", foCaseInsensitive,
     "SELECT Codigo, Nombre, Precio FROM ARTICULOS WHERE Familia = 'f7' COLLATE NOCASE ORDER BY Codigo"},
    {"FiltroMixto", false, "Familia = 'F7' and Precio > 500", 0,
     "SELECT Codigo, Nombre, Precio FROM ARTICULOS WHERE Familia = 'F7' AND Precio > 500 ORDER BY Codigo"},
    {"FiltroFecha", true, "Fecha < '01/03/2020'", 0,
     "SELECT Codigo, Concepto, Cantidad FROM MOVIMIENTOS WHERE Fecha < '2020-03-01' ORDER BY Codigo"},
}};

QString FolderOf(const FilterWork& work, bool large) {
  BenchData& data = BenchData::Get();
  if (work.moves) return large ? data.LargeMovesFolder() : data.MovesFolder();
  return large ? data.LargeFolder() : data.FilterFolder();
}

// The records a filtered grid shows, three fields of each looked up by name
// as the system's routines do.
void FilterDataset(benchmark::State& state, const FilterWork& work, bool large) {
  Table table;
  table.SetDatabaseName(FolderOf(work, large));
  table.SetTableName(QString::fromLatin1(work.moves ? "MOVIMIENTOS" : "ARTICULOS"));
  table.Open();
  table.SetFilter(QString::fromLatin1(work.filter));
  table.SetFilterOptions(work.options);
  const QString text = QString::fromLatin1(work.moves ? "Concepto" : "Nombre");
  const QString number = QString::fromLatin1(work.moves ? "Cantidad" : "Precio");
  qint64 shown = 0;
  for (auto _ : state) {
    table.SetFiltered(true);
    for (table.First(); !table.Eof(); table.Next(), ++shown) {
      benchmark::DoNotOptimize(table.FieldByName(QStringLiteral("Codigo")).AsInteger());
      benchmark::DoNotOptimize(table.FieldByName(text).AsString());
      benchmark::DoNotOptimize(table.FieldByName(number).AsFloat());
    }
    table.SetFiltered(false);
  }
  state.counters["records"] = static_cast<double>(shown);
}

void FilterRaw(benchmark::State& state, const FilterWork& work, bool large) {
  RawConnection raw(BenchData::DataFile(FolderOf(work, large)));
  RawStatement select(raw, work.raw);
  qint64 shown = 0;
  for (auto _ : state) {
    while (select.Step()) {
      benchmark::DoNotOptimize(select.Int64(0));
      benchmark::DoNotOptimize(select.Text(1));
      benchmark::DoNotOptimize(select.Double(2));
      ++shown;
    }
    select.Reset();
  }
  state.counters["records"] = static_cast<double>(shown);
}

// Registered at start-up, one pair per work and size, each timed once in a
// process of its own (see FreshProcess).
const bool kRegistered = [] {
  for (const FilterWork& work : kWorks)
    for (const bool large : {false, true}) {
      const std::string name = std::string(work.name) + (large ? "Large" : "100k");
      benchmark::RegisterBenchmark((name + "/dataset").c_str(), FilterDataset, work, large)
          ->Iterations(1)
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark((name + "/raw").c_str(), FilterRaw, work, large)
          ->Iterations(1)
          ->Unit(benchmark::kMillisecond);
    }
  return true;
}();

}  // namespace
