// The dataset layer beside the same work on raw SQLite, on the same files.

#include "bench/support/BenchData.h"
#include "bench/support/RawSqlite.h"
#include "platform/Variant.h"
#include "platform/data/DataSource.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>

#include <memory>
#include <vector>

namespace {

constexpr int kFirstWindow = 50;
constexpr int kSearches = 1000;
constexpr int kAppends = 10000;
constexpr int kEdits = 1000;

const QString kArticulos = QStringLiteral("ARTICULOS");

std::unique_ptr<Table> OpenTable(const QString& folder, const QString& name) {
  auto table = std::make_unique<Table>();
  table->SetDatabaseName(folder);
  table->SetTableName(name);
  table->Open();
  return table;
}

// Keys spread over the whole table, the same on both sides.
std::vector<int> SpreadKeys(int count, int rows) {
  std::vector<int> keys;
  keys.reserve(count);
  for (int i = 0; i < count; ++i) keys.push_back(static_cast<int>((static_cast<qint64>(i) * 104729) % rows) + 1);
  return keys;
}

// The three fields a grid of articles shows, fetched once.
struct ArticleFields {
  explicit ArticleFields(const Dataset& dataset)
      : nombre(dataset.FieldByName(QStringLiteral("Nombre"))),
        codigo(dataset.FieldByName(QStringLiteral("Codigo"))),
        precio(dataset.FieldByName(QStringLiteral("Precio"))) {}
  void Read() const {
    benchmark::DoNotOptimize(nombre.AsString());
    benchmark::DoNotOptimize(codigo.AsInteger());
    benchmark::DoNotOptimize(precio.AsFloat());
  }
  Field& nombre;
  Field& codigo;
  Field& precio;
};

void ReadRaw(const RawStatement& select) {
  benchmark::DoNotOptimize(select.Text(0));
  benchmark::DoNotOptimize(select.Int64(1));
  benchmark::DoNotOptimize(select.Double(2));
}

void ReadWindow(Dataset& dataset, int count) {
  const ArticleFields fields(dataset);
  for (int i = 0; i < count && !dataset.Eof(); ++i, dataset.Next()) fields.Read();
}

void ReadAll(RawStatement& select) {
  while (select.Step()) ReadRaw(select);
  select.Reset();
}

// Open a large table and read its first records.

void OpenFirstRecordsDataset(benchmark::State& state) {
  const QString& folder = BenchData::Get().LargeFolder();
  for (auto _ : state) {
    auto table = OpenTable(folder, kArticulos);
    ReadWindow(*table, kFirstWindow);
  }
}

void OpenFirstRecordsRaw(benchmark::State& state) {
  RawConnection raw(BenchData::DataFile(BenchData::Get().LargeFolder()));
  for (auto _ : state) {
    RawStatement select(raw, "SELECT Nombre, Codigo, Precio FROM ARTICULOS ORDER BY Codigo LIMIT 50");
    ReadAll(select);
  }
}

// Open the table, walk every record reading three fields, close it.

void WalkDataset(benchmark::State& state) {
  QElapsedTimer opening, closing;
  for (auto _ : state) {
    opening.start();
    auto table = OpenTable(BenchData::Get().LargeFolder(), kArticulos);
    state.counters["open_ms"] = static_cast<double>(opening.nsecsElapsed()) / 1e6;
    const ArticleFields fields(*table);
    for (table->First(); !table->Eof(); table->Next()) fields.Read();
    closing.start();
    table->Close();
    state.counters["close_ms"] = static_cast<double>(closing.nsecsElapsed()) / 1e6;
  }
}

// As the system's routines read them: by name at every record.
void WalkByNameDataset(benchmark::State& state) {
  for (auto _ : state) {
    auto table = OpenTable(BenchData::Get().LargeFolder(), kArticulos);
    for (table->First(); !table->Eof(); table->Next()) ArticleFields(*table).Read();
    table->Close();
  }
}

void WalkRaw(benchmark::State& state) {
  for (auto _ : state) {
    RawConnection raw(BenchData::DataFile(BenchData::Get().LargeFolder()));
    RawStatement select(raw, "SELECT Nombre, Codigo, Precio FROM ARTICULOS ORDER BY Codigo");
    ReadAll(select);
  }
}

// Searches on the key and on an indexed field.

void FindKeyDataset(benchmark::State& state) {
  auto table = OpenTable(BenchData::Get().LargeFolder(), kArticulos);
  const ArticleFields fields(*table);
  const std::vector<int> keys = SpreadKeys(kSearches, BenchData::Get().Rows());
  for (auto _ : state)
    for (int key : keys) {
      if (table->FindKey({Variant::Integer(key)})) fields.Read();
    }
}

void FindKeyRaw(benchmark::State& state) {
  RawConnection raw(BenchData::DataFile(BenchData::Get().LargeFolder()));
  RawStatement select(raw, "SELECT Nombre, Codigo, Precio FROM ARTICULOS WHERE Codigo = ?");
  const std::vector<int> keys = SpreadKeys(kSearches, BenchData::Get().Rows());
  for (auto _ : state)
    for (int key : keys) {
      select.Bind(1, static_cast<qint64>(key));
      ReadAll(select);
    }
}

void FindKeyTextDataset(benchmark::State& state) {
  auto table = OpenTable(BenchData::Get().LargeFolder(), kArticulos);
  table->SetIndexName(QStringLiteral("PorNombre"));
  const ArticleFields fields(*table);
  const std::vector<int> keys = SpreadKeys(kSearches, BenchData::Get().Rows());
  for (auto _ : state)
    for (int key : keys) {
      if (table->FindKey({Variant::String(BenchData::ArticleName(key))})) fields.Read();
    }
}

void FindKeyTextRaw(benchmark::State& state) {
  RawConnection raw(BenchData::DataFile(BenchData::Get().LargeFolder()));
  RawStatement select(raw,
                      "SELECT Nombre, Codigo, Precio FROM ARTICULOS WHERE Nombre COLLATE \"SQL_Latin1_General_CP1_CI_AI\" "
                      "= ? ORDER BY Nombre COLLATE \"SQL_Latin1_General_CP1_CI_AI\", Codigo LIMIT 1");
  const std::vector<int> keys = SpreadKeys(kSearches, BenchData::Get().Rows());
  for (auto _ : state)
    for (int key : keys) {
      select.Bind(1, BenchData::ArticleName(key));
      ReadAll(select);
    }
}

void LocateDataset(benchmark::State& state) {
  auto table = OpenTable(BenchData::Get().LargeFolder(), kArticulos);
  const ArticleFields fields(*table);
  const std::vector<int> keys = SpreadKeys(kSearches, BenchData::Get().Rows());
  for (auto _ : state)
    for (int key : keys) {
      if (table->Locate(QStringLiteral("Nombre"), Variant::String(BenchData::ArticleName(key)))) fields.Read();
    }
}

void LocateRaw(benchmark::State& state) {
  RawConnection raw(BenchData::DataFile(BenchData::Get().LargeFolder()));
  // The index holds the name under the collation; the exact name is then
  // compared byte for byte, as Locate does.
  RawStatement select(raw,
                      "SELECT Nombre, Codigo, Precio FROM ARTICULOS WHERE Nombre COLLATE \"SQL_Latin1_General_CP1_CI_AI\" "
                      "= ?1 AND Nombre = ?1 ORDER BY Codigo LIMIT 1");
  const std::vector<int> keys = SpreadKeys(kSearches, BenchData::Get().Rows());
  for (auto _ : state)
    for (int key : keys) {
      select.Bind(1, BenchData::ArticleName(key));
      ReadAll(select);
    }
}

// Writes in one transaction, given up afterwards so every run finds the
// same table; the giving up is not timed.

class DatasetTransaction {
 public:
  explicit DatasetTransaction(const QString& folder) { database_.SetDatabaseName(folder); }
  void Start() { database_.StartTransaction(); }
  void Rollback(benchmark::State& state) {
    state.PauseTiming();
    database_.Rollback();
    state.ResumeTiming();
  }

 private:
  Database database_;
};

void RollbackRaw(const RawConnection& raw, benchmark::State& state) {
  state.PauseTiming();
  raw.Execute("ROLLBACK");
  state.ResumeTiming();
}

void AppendPostDataset(benchmark::State& state) {
  const QString& folder = BenchData::Get().LargeFolder();
  auto table = OpenTable(folder, kArticulos);
  DatasetTransaction transaction(folder);
  Field& codigo = table->FieldByName(QStringLiteral("Codigo"));
  Field& nombre = table->FieldByName(QStringLiteral("Nombre"));
  Field& precio = table->FieldByName(QStringLiteral("Precio"));
  const int first = BenchData::Get().Rows() + 1;
  for (auto _ : state) {
    transaction.Start();
    for (int key = first; key < first + kAppends; ++key) {
      table->Append();
      codigo.SetAsInteger(key);
      nombre.SetAsString(QStringLiteral("NUEVO %1").arg(key));
      precio.SetAsFloat(BenchData::ArticlePrice(key));
      table->Post();
    }
    transaction.Rollback(state);
  }
}

void AppendPostRaw(benchmark::State& state) {
  RawConnection raw(BenchData::DataFile(BenchData::Get().LargeFolder()));
  RawStatement insert(raw, "INSERT INTO ARTICULOS (Codigo, Nombre, Precio) VALUES (?, ?, ?)");
  const int first = BenchData::Get().Rows() + 1;
  for (auto _ : state) {
    raw.Execute("BEGIN");
    for (int key = first; key < first + kAppends; ++key) {
      insert.Bind(1, static_cast<qint64>(key));
      insert.Bind(2, QStringLiteral("NUEVO %1").arg(key));
      insert.Bind(3, BenchData::ArticlePrice(key));
      insert.Step();
      insert.Reset();
    }
    RollbackRaw(raw, state);
  }
}

// One record appended with a new highest key, then searches on the key,
// as a master form appends and then looks records up.

void AppendThenFindKeyDataset(benchmark::State& state) {
  auto table = OpenTable(BenchData::Get().LargeFolder(), kArticulos);
  const ArticleFields fields(*table);
  const std::vector<int> keys = SpreadKeys(kSearches, BenchData::Get().Rows());
  const int key = BenchData::Get().Rows() + 1;
  int found = 0;
  for (auto _ : state) {
    table->Append();
    fields.codigo.SetAsInteger(key);
    fields.nombre.SetAsString(QStringLiteral("NUEVO %1").arg(key));
    fields.precio.SetAsFloat(BenchData::ArticlePrice(key));
    table->Post();
    for (int wanted : keys)
      if (table->FindKey({Variant::Integer(wanted)})) {
        fields.Read();
        ++found;
      }
    state.PauseTiming();
    if (table->FindKey({Variant::Integer(key)})) table->Delete();
    state.ResumeTiming();
  }
  state.counters["found"] = found;
}

void AppendThenFindKeyRaw(benchmark::State& state) {
  RawConnection raw(BenchData::DataFile(BenchData::Get().LargeFolder()));
  RawStatement insert(raw, "INSERT INTO ARTICULOS (Codigo, Nombre, Precio) VALUES (?, ?, ?)");
  RawStatement select(raw, "SELECT Nombre, Codigo, Precio FROM ARTICULOS WHERE Codigo = ?");
  RawStatement remove(raw, "DELETE FROM ARTICULOS WHERE Codigo = ?");
  const std::vector<int> keys = SpreadKeys(kSearches, BenchData::Get().Rows());
  const int key = BenchData::Get().Rows() + 1;
  for (auto _ : state) {
    insert.Bind(1, static_cast<qint64>(key));
    insert.Bind(2, QStringLiteral("NUEVO %1").arg(key));
    insert.Bind(3, BenchData::ArticlePrice(key));
    insert.Step();
    insert.Reset();
    for (int wanted : keys) {
      select.Bind(1, static_cast<qint64>(wanted));
      ReadAll(select);
    }
    state.PauseTiming();
    remove.Bind(1, static_cast<qint64>(key));
    remove.Step();
    remove.Reset();
    state.ResumeTiming();
  }
}

void EditPost(benchmark::State& state, const QString& folder, int rows) {
  auto table = OpenTable(folder, kArticulos);
  DatasetTransaction transaction(folder);
  Field& precio = table->FieldByName(QStringLiteral("Precio"));
  const std::vector<int> keys = SpreadKeys(kEdits, rows);
  for (auto _ : state) {
    transaction.Start();
    for (int key : keys) {
      table->FindKey({Variant::Integer(key)});
      table->Edit();
      precio.SetAsFloat(precio.AsFloat() + 1);
      table->Post();
    }
    transaction.Rollback(state);
  }
}

void EditPostRawOn(benchmark::State& state, const QString& folder, int rows) {
  RawConnection raw(BenchData::DataFile(folder));
  RawStatement select(raw, "SELECT Precio FROM ARTICULOS WHERE Codigo = ?");
  RawStatement update(raw, "UPDATE ARTICULOS SET Precio = ? WHERE Codigo = ?");
  const std::vector<int> keys = SpreadKeys(kEdits, rows);
  for (auto _ : state) {
    raw.Execute("BEGIN");
    for (int key : keys) {
      select.Bind(1, static_cast<qint64>(key));
      const double price = select.Step() ? select.Double(0) : 0;
      select.Reset();
      update.Bind(1, price + 1);
      update.Bind(2, static_cast<qint64>(key));
      update.Step();
      update.Reset();
    }
    RollbackRaw(raw, state);
  }
}

void EditPostDataset(benchmark::State& state) {
  EditPost(state, BenchData::Get().LargeFolder(), BenchData::Get().Rows());
}

void EditPostRaw(benchmark::State& state) {
  EditPostRawOn(state, BenchData::Get().LargeFolder(), BenchData::Get().Rows());
}

void EditPost100kDataset(benchmark::State& state) {
  EditPost(state, BenchData::Get().FilterFolder(), BenchData::kFilterRows);
}

void EditPost100kRaw(benchmark::State& state) {
  EditPostRawOn(state, BenchData::Get().FilterFolder(), BenchData::kFilterRows);
}

// A master moved to another order; its detail lines shown.

void MasterMoveDataset(benchmark::State& state) {
  const QString& folder = BenchData::Get().OrdersFolder();
  auto pedidos = OpenTable(folder, QStringLiteral("PEDIDOS"));
  DataSource source;
  source.SetDataSet(pedidos.get());
  Table lineas;
  lineas.SetDatabaseName(folder);
  lineas.SetTableName(QStringLiteral("LINEAS"));
  lineas.SetMasterSource(&source);
  lineas.SetMasterFields(QStringLiteral("Pedido"));
  lineas.Open();
  Field& linea = lineas.FieldByName(QStringLiteral("Linea"));
  Field& articulo = lineas.FieldByName(QStringLiteral("Articulo"));
  Field& cantidad = lineas.FieldByName(QStringLiteral("Cantidad"));
  const std::vector<int> orders = SpreadKeys(100, BenchData::kOrders);
  for (auto _ : state)
    for (int order : orders) {
      pedidos->FindKey({Variant::Integer(order)});
      for (int i = 0; i < kFirstWindow && !lineas.Eof(); ++i, lineas.Next()) {
        benchmark::DoNotOptimize(linea.AsInteger());
        benchmark::DoNotOptimize(articulo.AsInteger());
        benchmark::DoNotOptimize(cantidad.AsFloat());
      }
    }
}

void MasterMoveRaw(benchmark::State& state) {
  RawConnection raw(BenchData::DataFile(BenchData::Get().OrdersFolder()));
  RawStatement master(raw, "SELECT Pedido, Cliente FROM PEDIDOS WHERE Pedido = ?");
  RawStatement detail(raw,
                      "SELECT Linea, Articulo, Cantidad FROM LINEAS WHERE Pedido = ? ORDER BY Pedido, Linea LIMIT 50");
  const std::vector<int> orders = SpreadKeys(100, BenchData::kOrders);
  for (auto _ : state)
    for (int order : orders) {
      master.Bind(1, static_cast<qint64>(order));
      while (master.Step()) benchmark::DoNotOptimize(master.Text(1));
      master.Reset();
      detail.Bind(1, static_cast<qint64>(order));
      while (detail.Step()) {
        benchmark::DoNotOptimize(detail.Int64(0));
        benchmark::DoNotOptimize(detail.Int64(1));
        benchmark::DoNotOptimize(detail.Double(2));
      }
      detail.Reset();
    }
}

// A filter on a field no index holds.

void Filter(benchmark::State& state, const QString& folder) {
  auto table = OpenTable(folder, kArticulos);
  const ArticleFields fields(*table);
  table->SetFilter(QStringLiteral("Precio > 900"));
  for (auto _ : state) {
    table->SetFiltered(true);
    for (table->First(); !table->Eof(); table->Next()) fields.Read();
    table->SetFiltered(false);
  }
}

void FilterRawOn(benchmark::State& state, const QString& folder) {
  RawConnection raw(BenchData::DataFile(folder));
  RawStatement select(raw, "SELECT Nombre, Codigo, Precio FROM ARTICULOS WHERE Precio > 900 ORDER BY Codigo");
  for (auto _ : state) ReadAll(select);
}

void FilterDataset(benchmark::State& state) { Filter(state, BenchData::Get().FilterFolder()); }
void FilterRaw(benchmark::State& state) { FilterRawOn(state, BenchData::Get().FilterFolder()); }
void FilterLargeDataset(benchmark::State& state) { Filter(state, BenchData::Get().LargeFolder()); }
void FilterLargeRaw(benchmark::State& state) { FilterRawOn(state, BenchData::Get().LargeFolder()); }

// A query's answer walked as the system's routines walk it: its fields
// looked up by name at every record.

void QueryWalkDataset(benchmark::State& state) {
  for (auto _ : state) {
    Query query;
    query.SetDatabaseName(BenchData::Get().FilterFolder());
    query.SQL().SetText(QStringLiteral("SELECT Nombre, Codigo, Precio FROM ARTICULOS ORDER BY Codigo"));
    query.Open();
    for (query.First(); !query.Eof(); query.Next()) ArticleFields(query).Read();
    query.Close();
  }
}

void QueryWalkRaw(benchmark::State& state) {
  for (auto _ : state) {
    RawConnection raw(BenchData::DataFile(BenchData::Get().FilterFolder()));
    RawStatement select(raw, "SELECT Nombre, Codigo, Precio FROM ARTICULOS ORDER BY Codigo");
    ReadAll(select);
  }
}

// The index of an open table changed, and its first records read.

void ChangeIndexDataset(benchmark::State& state) {
  auto table = OpenTable(BenchData::Get().LargeFolder(), kArticulos);
  bool byName = false;
  for (auto _ : state) {
    byName = !byName;
    table->SetIndexName(byName ? QStringLiteral("PorNombre") : QString());
    table->First();
    ReadWindow(*table, kFirstWindow);
  }
}

void ChangeIndexRaw(benchmark::State& state) {
  RawConnection raw(BenchData::DataFile(BenchData::Get().LargeFolder()));
  // Ordered as the index on the name is kept.
  RawStatement byName(raw,
                      "SELECT Nombre, Codigo, Precio FROM ARTICULOS ORDER BY Nombre COLLATE \"SQL_Latin1_General_CP1_CI_AI\" "
                      "LIMIT 50");
  RawStatement byKey(raw, "SELECT Nombre, Codigo, Precio FROM ARTICULOS ORDER BY Codigo LIMIT 50");
  bool name = false;
  for (auto _ : state) {
    name = !name;
    ReadAll(name ? byName : byKey);
  }
}

}  // namespace

// Each one timed once, in a process of its own (see FreshProcess).
BENCHMARK(OpenFirstRecordsDataset)->Name("OpenFirst50/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenFirstRecordsRaw)->Name("OpenFirst50/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(WalkByNameDataset)->Name("Walk3FieldsByName/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(WalkRaw)->Name("Walk3FieldsByName/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(WalkDataset)->Name("Walk3Fields/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(WalkRaw)->Name("Walk3Fields/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(FindKeyDataset)->Name("FindKey1000/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(FindKeyRaw)->Name("FindKey1000/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(FindKeyTextDataset)->Name("FindKeyText1000/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(FindKeyTextRaw)->Name("FindKeyText1000/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(LocateDataset)->Name("LocateIndexed1000/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(LocateRaw)->Name("LocateIndexed1000/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(AppendThenFindKeyDataset)->Name("AppendThenFindKey1000/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(AppendThenFindKeyRaw)->Name("AppendThenFindKey1000/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(AppendPostDataset)->Name("AppendPost10000/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(AppendPostRaw)->Name("AppendPost10000/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(EditPostDataset)->Name("EditPost1000/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(EditPostRaw)->Name("EditPost1000/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(EditPost100kDataset)->Name("EditPost1000On100k/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(EditPost100kRaw)->Name("EditPost1000On100k/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(MasterMoveDataset)->Name("MasterMove100/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(MasterMoveRaw)->Name("MasterMove100/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(FilterDataset)->Name("FilterNotIndexed/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(FilterRaw)->Name("FilterNotIndexed/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(FilterLargeDataset)->Name("FilterNotIndexedLarge/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(FilterLargeRaw)->Name("FilterNotIndexedLarge/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(QueryWalkDataset)->Name("QueryWalk100k/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(QueryWalkRaw)->Name("QueryWalk100k/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ChangeIndexDataset)->Name("ChangeIndex/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ChangeIndexRaw)->Name("ChangeIndex/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
