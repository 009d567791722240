// The "Agregar" copy to another company: every record of a table of
// kFilterRows records inserted one by one into the empty table of another
// file, with the copy's progress window, in one transaction; beside the same
// inserts on raw SQLite.

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

void AgregarDataset(benchmark::State& state) {
  Table source, destination;
  source.SetDatabaseName(BenchData::Get().FilterFolder());
  source.SetTableName(kArticulos);
  destination.SetDatabaseName(BenchData::Get().EmptyFolder());
  destination.SetTableName(kArticulos);
  Database database;
  database.SetDatabaseName(BenchData::Get().EmptyFolder());
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
    if (destination.RecordCount() != BenchData::kFilterRows) std::abort();
    database.Rollback();
    state.ResumeTiming();
  }
}

void AgregarRaw(benchmark::State& state) {
  RawConnection raw(BenchData::DataFile(BenchData::Get().EmptyFolder()));
  const QByteArray attach = "ATTACH DATABASE '" +
                            BenchData::DataFile(BenchData::Get().FilterFolder()).replace(u'\'', u"''"_qs).toUtf8() +
                            "' AS origen";
  raw.Execute(attach.constData());
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
