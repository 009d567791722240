// Searches on keys of several fields, as the embedded server keeps them
// (text under the system's collation, no row ids), on a table of the large
// size and on one of a tenth of it: a search costs the same at both sizes.
//
// TRES: Idioma, Clave (text, text) and Numero (integer), the key; four
// languages share the table, as they share TXIDIOMA. DOS: Grupo (text, ten
// values) and Numero (integer), the key.

#include "bench/support/BenchData.h"
#include "bench/support/RawSqlite.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/sql/Collation.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>

#include <memory>
#include <vector>

namespace {

constexpr int kSearches = 1000;
const char* const kLanguages[] = {"ESP", "ING", "FRA", "ALE"};

QString Language(int row) { return QString::fromLatin1(kLanguages[row % 4]); }
QString Key(int row) { return QStringLiteral("Texto ñú %1").arg(row / 8, 7, 10, QChar(u'0')); }
int Number(int row) { return row / 4 % 2 + 1; }
QString Group(int row) { return QStringLiteral("GRUPO %1").arg(row % 10); }

// The folder of the tables of so many rows, made by the first process that
// needs it (in a folder of its own, renamed when whole).
QString Folder(int rows) {
  const QString folder = QDir(BenchData::Get().Root()).filePath(QStringLiteral("claves-%1").arg(rows));
  if (QFile::exists(BenchData::DataFile(folder))) return folder;
  const QString making = folder + QStringLiteral(".haciendo");
  QDir(making).removeRecursively();
  QDir().mkpath(making);
  {
    RawConnection raw(BenchData::DataFile(making));
    const QByteArray collate = " COLLATE \"" + Collation::kDefaultName.toString().toLatin1() + '"';
    raw.Execute(("CREATE TABLE TRES (Idioma VARCHAR(3)" + collate + " NOT NULL, Clave VARCHAR(40)" + collate +
                 " NOT NULL, Numero INTEGER NOT NULL, Texto VARCHAR(40)" + collate +
                 ", PRIMARY KEY (Idioma, Clave, Numero)) WITHOUT ROWID")
                    .constData());
    raw.Execute(("CREATE TABLE DOS (Grupo VARCHAR(10)" + collate + " NOT NULL, Numero INTEGER NOT NULL, Texto VARCHAR(40)" +
                 collate + ", PRIMARY KEY (Grupo, Numero)) WITHOUT ROWID")
                    .constData());
    raw.Execute("BEGIN");
    RawStatement three(raw, "INSERT INTO TRES VALUES (?, ?, ?, ?)");
    RawStatement two(raw, "INSERT INTO DOS VALUES (?, ?, ?)");
    for (int row = 0; row < rows; ++row) {
      three.Bind(1, Language(row));
      three.Bind(2, Key(row));
      three.Bind(3, static_cast<qint64>(Number(row)));
      three.Bind(4, QStringLiteral("Traducción %1").arg(row));
      three.Step();
      three.Reset();
      two.Bind(1, Group(row));
      two.Bind(2, static_cast<qint64>(row / 10));
      two.Bind(3, QStringLiteral("Línea %1").arg(row));
      two.Step();
      two.Reset();
    }
    raw.Execute("COMMIT");
  }
  if (!QDir().rename(making, folder)) std::abort();
  return folder;
}

int LargeRows() { return BenchData::Get().Rows(); }
int TenthRows() { return BenchData::Get().Rows() / 10; }

// The rows searched, spread over the table.
std::vector<int> Spread(int rows) {
  std::vector<int> spread;
  for (int i = 0; i < kSearches; ++i) spread.push_back(static_cast<int>((static_cast<qint64>(i) * 104729) % rows));
  return spread;
}

std::unique_ptr<Table> OpenTable(const QString& folder, const char* name) {
  auto table = std::make_unique<Table>();
  table->SetDatabaseName(folder);
  table->SetTableName(QString::fromLatin1(name));
  table->Open();
  return table;
}

void ThreeFieldsDataset(benchmark::State& state, int rows) {
  auto table = OpenTable(Folder(rows), "TRES");
  const Field& text = table->FieldByName(QStringLiteral("Texto"));
  const std::vector<int> spread = Spread(rows);
  for (auto _ : state)
    for (const int row : spread) {
      if (!table->FindKey({Variant::String(Language(row)), Variant::String(Key(row)), Variant::Integer(Number(row))}))
        std::abort();
      benchmark::DoNotOptimize(text.AsString());
    }
}

void ThreeFieldsRaw(benchmark::State& state, int rows) {
  RawConnection raw(BenchData::DataFile(Folder(rows)));
  RawStatement select(raw, "SELECT Idioma, Clave, Numero, Texto FROM TRES WHERE Idioma = ? AND Clave = ? AND Numero = ?");
  const std::vector<int> spread = Spread(rows);
  for (auto _ : state)
    for (const int row : spread) {
      select.Bind(1, Language(row));
      select.Bind(2, Key(row));
      select.Bind(3, static_cast<qint64>(Number(row)));
      if (!select.Step()) std::abort();
      benchmark::DoNotOptimize(select.Text(3));
      select.Reset();
    }
}

void TwoFieldsDataset(benchmark::State& state, int rows) {
  auto table = OpenTable(Folder(rows), "DOS");
  const Field& text = table->FieldByName(QStringLiteral("Texto"));
  const std::vector<int> spread = Spread(rows);
  for (auto _ : state)
    for (const int row : spread) {
      if (!table->FindKey({Variant::String(Group(row).toLower()), Variant::Integer(row / 10)})) std::abort();
      benchmark::DoNotOptimize(text.AsString());
    }
}

void TwoFieldsRaw(benchmark::State& state, int rows) {
  RawConnection raw(BenchData::DataFile(Folder(rows)));
  RawStatement select(raw, "SELECT Grupo, Numero, Texto FROM DOS WHERE Grupo = ? AND Numero = ?");
  const std::vector<int> spread = Spread(rows);
  for (auto _ : state)
    for (const int row : spread) {
      select.Bind(1, Group(row).toLower());
      select.Bind(2, static_cast<qint64>(row / 10));
      if (!select.Step()) std::abort();
      benchmark::DoNotOptimize(select.Text(2));
      select.Reset();
    }
}

void ThreeLarge(benchmark::State& state) { ThreeFieldsDataset(state, LargeRows()); }
void ThreeLargeRaw(benchmark::State& state) { ThreeFieldsRaw(state, LargeRows()); }
void ThreeTenth(benchmark::State& state) { ThreeFieldsDataset(state, TenthRows()); }
void ThreeTenthRaw(benchmark::State& state) { ThreeFieldsRaw(state, TenthRows()); }
void TwoLarge(benchmark::State& state) { TwoFieldsDataset(state, LargeRows()); }
void TwoLargeRaw(benchmark::State& state) { TwoFieldsRaw(state, LargeRows()); }
void TwoTenth(benchmark::State& state) { TwoFieldsDataset(state, TenthRows()); }
void TwoTenthRaw(benchmark::State& state) { TwoFieldsRaw(state, TenthRows()); }

}  // namespace

BENCHMARK(ThreeLarge)->Name("FindKey1000TresCampos/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ThreeLargeRaw)->Name("FindKey1000TresCampos/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ThreeTenth)->Name("FindKey1000TresCamposDecima/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ThreeTenthRaw)->Name("FindKey1000TresCamposDecima/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(TwoLarge)->Name("FindKey1000DosCampos/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(TwoLargeRaw)->Name("FindKey1000DosCampos/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(TwoTenth)->Name("FindKey1000DosCamposDecima/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(TwoTenthRaw)->Name("FindKey1000DosCamposDecima/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
