// The batch mover copying the large table into an empty one of another file,
// in one transaction, beside the same copy on raw SQLite.

#include "bench/support/BenchData.h"
#include "bench/support/RawSqlite.h"
#include "platform/data/BatchMove.h"
#include "platform/data/Database.h"
#include "platform/data/Table.h"

#include <benchmark/benchmark.h>

namespace {

const QString kArticulos = QStringLiteral("ARTICULOS");

// Records whose key the destination holds are overwritten, the others added.
void AppendUpdateDataset(benchmark::State& state) {
  Table source, destination;
  source.SetDatabaseName(BenchData::Get().LargeFolder());
  source.SetTableName(kArticulos);
  destination.SetDatabaseName(BenchData::Get().EmptyFolder());
  destination.SetTableName(kArticulos);
  Database database;
  database.SetDatabaseName(BenchData::Get().EmptyFolder());
  for (auto _ : state) {
    database.StartTransaction();
    BatchMove move;
    move.SetSource(&source);
    move.SetDestination(&destination);
    move.SetMode(batAppendUpdate);
    move.Execute();
    benchmark::DoNotOptimize(move.MovedCount());
    state.PauseTiming();
    database.Rollback();
    state.ResumeTiming();
  }
}

void AppendUpdateRaw(benchmark::State& state) {
  RawConnection raw(BenchData::DataFile(BenchData::Get().EmptyFolder()));
  const QByteArray attach = "ATTACH DATABASE '" +
                            BenchData::DataFile(BenchData::Get().LargeFolder()).replace(u'\'', u"''"_qs).toUtf8() +
                            "' AS origen";
  raw.Execute(attach.constData());
  for (auto _ : state) {
    raw.Execute("BEGIN");
    RawStatement select(raw, "SELECT Codigo, Nombre, Precio, Familia FROM origen.ARTICULOS ORDER BY Codigo");
    RawStatement exists(raw, "SELECT 1 FROM main.ARTICULOS WHERE Codigo = ?");
    RawStatement update(raw, "UPDATE main.ARTICULOS SET Nombre = ?, Precio = ?, Familia = ? WHERE Codigo = ?");
    RawStatement insert(raw, "INSERT INTO main.ARTICULOS (Codigo, Nombre, Precio, Familia) VALUES (?, ?, ?, ?)");
    while (select.Step()) {
      exists.Bind(1, select.Int64(0));
      const bool found = exists.Step();
      exists.Reset();
      RawStatement& write = found ? update : insert;
      const int first = found ? 4 : 1, rest = found ? 1 : 2;
      write.Bind(first, select.Int64(0));
      write.Bind(rest, select.Text(1));
      write.Bind(rest + 1, select.Double(2));
      write.Bind(rest + 2, select.Text(3));
      write.Step();
      write.Reset();
    }
    state.PauseTiming();
    raw.Execute("ROLLBACK");
    state.ResumeTiming();
  }
}

}  // namespace

BENCHMARK(AppendUpdateDataset)->Name("BatchMoveAppendUpdate/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(AppendUpdateRaw)->Name("BatchMoveAppendUpdate/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
