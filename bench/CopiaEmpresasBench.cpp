// The "Agregar" copy to another company: every record of a table of
// kFilterRows records inserted one by one into the empty table of another
// file, with the copy's progress window, in one transaction; beside the same
// inserts on raw SQLite. Once for the articles (integer, text, float), once
// for the moves (date-time, decimal, float, text with NULLs).

#include "bench/support/BenchData.h"
#include "bench/support/RawSqlite.h"
#include "bench/support/ResidentMemory.h"
#include "core/progress/Geneprog.h"
#include "core/tables/CopiaRegistros.h"
#include "platform/data/Database.h"
#include "platform/data/Table.h"

#include <benchmark/benchmark.h>

namespace {

const QString kArticulos = QStringLiteral("ARTICULOS");

void Agregar(benchmark::State& state, const QString& from, const QString& to, const QString& tableName, int rows) {
  Table source, destination;
  source.SetDatabaseName(from);
  source.SetTableName(tableName);
  destination.SetDatabaseName(to);
  destination.SetTableName(tableName);
  Database database;
  database.SetDatabaseName(to);
  // What any first window costs (fonts, style) is paid before the copy: the
  // counter is what the copy's records make memory grow by.
  VentanaProgreso(QStringLiteral("ON"), QStringLiteral("Copiando Registros"), QString(), QString());
  VentanaProgreso(QStringLiteral("OFF"), QString(), QString(), QString());
  source.Open();
  destination.Open();
  const double before = ResidentMegabytes();
  for (auto _ : state) {
    database.StartTransaction();
    CopiarRegistros(source, destination, QStringLiteral("Agregar"));
    state.PauseTiming();
    state.counters["rss_growth_MB"] = ResidentMegabytes() - before;
    if (destination.RecordCount() != rows) std::abort();
    database.Rollback();
    state.ResumeTiming();
  }
}

// The source's file, as "origen", on the raw side's connection to the target.
void AttachSource(const RawConnection& raw, const QString& from) {
  const QByteArray attach =
      "ATTACH DATABASE '" + BenchData::DataFile(from).replace(u'\'', u"''"_qs).toUtf8() + "' AS origen";
  raw.Execute(attach.constData());
}

void AgregarDataset(benchmark::State& state) {
  Agregar(state, BenchData::Get().FilterFolder(), BenchData::Get().EmptyFolder(), kArticulos, BenchData::kFilterRows);
}

void AgregarMovimientosDataset(benchmark::State& state) {
  Agregar(state, BenchData::Get().MovesFolder(), BenchData::Get().EmptyMovesFolder(), QStringLiteral("MOVIMIENTOS"),
          BenchData::kFilterRows);
}

void AgregarMovimientosRaw(benchmark::State& state) {
  RawConnection raw(BenchData::DataFile(BenchData::Get().EmptyMovesFolder()));
  AttachSource(raw, BenchData::Get().MovesFolder());
  for (auto _ : state) {
    raw.Execute("BEGIN");
    RawStatement select(raw,
                        "SELECT Codigo, Fecha, Importe, Cantidad, Concepto FROM origen.MOVIMIENTOS ORDER BY Codigo");
    RawStatement insert(raw,
                        "INSERT INTO main.MOVIMIENTOS (Codigo, Fecha, Importe, Cantidad, Concepto) VALUES (?, ?, ?, ?, ?)");
    while (select.Step()) {
      for (int column = 0; column < 5; ++column) insert.Bind(column + 1, select, column);
      insert.Step();
      insert.Reset();
    }
    state.PauseTiming();
    raw.Execute("ROLLBACK");
    state.ResumeTiming();
  }
}

void AgregarRaw(benchmark::State& state) {
  RawConnection raw(BenchData::DataFile(BenchData::Get().EmptyFolder()));
  AttachSource(raw, BenchData::Get().FilterFolder());
  for (auto _ : state) {
    raw.Execute("BEGIN");
    RawStatement select(raw, "SELECT Codigo, Nombre, Precio, Familia FROM origen.ARTICULOS ORDER BY Codigo");
    RawStatement insert(raw, "INSERT INTO main.ARTICULOS (Codigo, Nombre, Precio, Familia) VALUES (?, ?, ?, ?)");
    while (select.Step()) {
      insert.Bind(1, select.Int64(0));
      insert.Bind(2, select.Text(1));
      insert.Bind(3, select.Double(2));
      insert.Bind(4, select.Text(3));
      insert.Step();
      insert.Reset();
    }
    state.PauseTiming();
    raw.Execute("ROLLBACK");
    state.ResumeTiming();
  }
}

}  // namespace

BENCHMARK(AgregarDataset)->Name("CopiaAgregar/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(AgregarRaw)->Name("CopiaAgregar/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(AgregarMovimientosDataset)
    ->Name("CopiaAgregarFechas/dataset")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(AgregarMovimientosRaw)->Name("CopiaAgregarFechas/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
