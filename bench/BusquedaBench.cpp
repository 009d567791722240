// The record searches on a 1,000,000-row table of the embedded server beside
// the same reading on raw SQLite.

#include "bench/support/BenchData.h"
#include "bench/support/RawSqlite.h"
#include "bench/support/ResidentMemory.h"
#include "core/connections/Conexiones.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "dialogs/Genebusa.h"
#include "dialogs/Genebusq.h"
#include "platform/data/ClientDataset.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "tests/fixtures/InstallationBuilder.h"

#include <benchmark/benchmark.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

constexpr int kSearches = 100;
constexpr int kFirstRows = 100;
constexpr int kWalkRows = 100000;
const QString kNowhere = QStringLiteral("ZZZ");

// The walked tables: the first kWalkRows articles, or all of them, with the
// key and without it.
QString WalkTable(bool keyed, int rows) {
  const QString table = keyed ? QStringLiteral("BUSQCLAVE") : QStringLiteral("BUSQSINCLAVE");
  return rows == kWalkRows ? table : table + QString::number(rows);
}

// An installation on the embedded server whose company database holds
// ARTICULOS as BenchData describes it, with its name index as the search's
// second index; made once, it lives until the program ends.
class SearchInstallation {
 public:
  static SearchInstallation& Get() {
    static SearchInstallation* installation = nullptr;
    if (!installation) {
      installation = new SearchInstallation();
      // Its forms go before the application object does.
      qAddPostRoutine([] {
        delete installation;
        installation = nullptr;
      });
    }
    return *installation;
  }
  const QString& File() const { return file_; }
  // The walked table of the first rows articles, made by the first process
  // that walks it; the others find it made.
  QString WalkTableOf(bool keyed, int rows) {
    const QString table = WalkTable(keyed, rows);
    if (EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM ") + table, QStringLiteral("Database"),
                    QStringLiteral("Silenciosa")) != QString::number(rows))
      makeWalkTable(keyed, rows);
    return table;
  }

 private:
  SearchInstallation() {
    const QString folder = QDir(BenchData::Get().Root()).filePath(QStringLiteral("busqueda-%1").arg(BenchData::Get().Rows()));
    QDir().mkpath(folder);
    QDir::setCurrent(folder);
    InstallationBuilder(folder).Write();
    services_ = std::make_unique<TfGENEINIC>(QStringList{});
    file_ = Conexiones(*services_).Database->FileName();
    // Made by the run's first search process; the others find it made.
    if (EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM ARTICULOS"), QStringLiteral("Database"),
                    QStringLiteral("Silenciosa")) != QString::number(BenchData::Get().Rows()))
      makeArticles();
    search_ = std::make_unique<TfGENEBUSQ>();
    approximate_ = std::make_unique<TfGENEBUSA>();
  }

  static void execute(const QString& sql) {
    const QString error = EjecutarSQL(sql, QStringLiteral("Database"), QStringLiteral("Silenciosa"));
    if (!error.isEmpty()) {
      std::fprintf(stderr, "%s\n", qPrintable(error));
      std::exit(1);
    }
  }

  // The first rows articles, in a table with the key or without it, with its
  // name index as the search's second index.
  void makeWalkTable(bool keyed, int rows) {
    const QString table = WalkTable(keyed, rows);
    execute(QStringLiteral("DROP TABLE IF EXISTS ") + table);
    execute(QStringLiteral("CREATE TABLE %1 (Codigo INTEGER NOT NULL, Nombre VARCHAR(40) NULL, Precio FLOAT NULL, "
                           "Familia VARCHAR(10) NULL%2)")
                .arg(table, keyed ? QStringLiteral(", CONSTRAINT %1_Clave1 PRIMARY KEY (Codigo)").arg(table) : QString()));
    execute(QStringLiteral("CREATE INDEX %1_Clave2 ON %1 (Nombre%2)").arg(table, keyed ? QStringLiteral(", Codigo") : QString()));
    RawConnection raw(file_);
    raw.Execute("BEGIN");
    RawStatement insert(raw, qPrintable(QStringLiteral("INSERT INTO %1 (Codigo, Nombre, Precio, Familia) "
                                                       "SELECT Codigo, Nombre, Precio, Familia FROM ARTICULOS "
                                                       "WHERE Codigo <= %2").arg(table).arg(rows)));
    insert.Step();
    raw.Execute("COMMIT");
  }

  void makeArticles() {
    for (const QString& sql :
         {QStringLiteral("DROP TABLE IF EXISTS ARTICULOS"),
          QStringLiteral("CREATE TABLE ARTICULOS (Codigo INTEGER NOT NULL, Nombre VARCHAR(40) NULL, Precio FLOAT NULL, "
                         "Familia VARCHAR(10) NULL, CONSTRAINT ARTICULOS_Clave1 PRIMARY KEY (Codigo))"),
          QStringLiteral("CREATE INDEX ARTICULOS_Clave2 ON ARTICULOS (Nombre, Codigo)")}) {
      const QString error = EjecutarSQL(sql, QStringLiteral("Database"), QStringLiteral("Silenciosa"));
      if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        std::exit(1);
      }
    }
    RawConnection raw(file_);
    raw.Execute("BEGIN");
    RawStatement insert(raw, "INSERT INTO ARTICULOS (Codigo, Nombre, Precio, Familia) VALUES (?, ?, ?, ?)");
    for (int codigo = 1; codigo <= BenchData::Get().Rows(); ++codigo) {
      insert.Bind(1, static_cast<qint64>(codigo));
      insert.Bind(2, BenchData::ArticleName(codigo));
      insert.Bind(3, BenchData::ArticlePrice(codigo));
      insert.Bind(4, QStringLiteral("F%1").arg(codigo % 50));
      insert.Step();
      insert.Reset();
    }
    raw.Execute("COMMIT");
  }

 public:
  std::unique_ptr<TfGENEINIC> services_;
  std::unique_ptr<TfGENEBUSQ> search_;
  std::unique_ptr<TfGENEBUSA> approximate_;

 private:
  QString file_;
};

// The search dialog opened on the table (ARTICULOS unless told), searching
// by the field list in the mode.
class SearchDialog {
 public:
  SearchDialog(const QString& fields, const char* mode, const QString& table = QStringLiteral("ARTICULOS"))
      : dialog_(*SearchInstallation::Get().search_) {
    dialog_.TablaBusqueda = table;
    dialog_.show();
    dialog_.findChild<QComboBox*>(QStringLiteral("ListaCamposBusqueda"))->setCurrentText(fields);
    dialog_.findChild<QRadioButton*>(QString::fromLatin1(mode))->click();
    rows_ = dialog_.findChild<ClientDataset*>(QStringLiteral("ClientDataSet1"));
  }
  ~SearchDialog() { dialog_.hide(); }
  void SetOrdered(bool ordered) {
    dialog_.findChild<QCheckBox*>(QStringLiteral("ResultadosOrdenados"))->setChecked(ordered);
  }
  void SetUnlimited() {
    dialog_.findChild<QComboBox*>(QStringLiteral("NumeroMaximoRegistros"))->setCurrentText(QStringLiteral("Ilimitado"));
  }
  // Searches the value and goes to the last row, as the navigator's "Último"
  // does; how many rows there were.
  int SearchToTheEnd(const QString& value) {
    dialog_.findChild<QLineEdit*>(QStringLiteral("DatoABuscar"))->setText(value);
    dialog_.pbBuscarClick(false);
    if (!rows_->Active()) return 0;
    rows_->Last();
    benchmark::DoNotOptimize(rows_->FieldByName(QStringLiteral("Nombre")).AsString());
    return rows_->RecordCount();
  }
  // Searches the value and reads the first rows; how many there were.
  int Search(const QString& value) {
    dialog_.findChild<QLineEdit*>(QStringLiteral("DatoABuscar"))->setText(value);
    dialog_.pbBuscarClick(false);
    int read = 0;
    if (!rows_->Active()) return read;
    const Field& codigo = rows_->FieldByName(QStringLiteral("Codigo"));
    const Field& nombre = rows_->FieldByName(QStringLiteral("Nombre"));
    // Read aside, as the grid reads its windows: the grid does not follow.
    rows_->DisableControls();
    for (rows_->First(); !rows_->Eof() && read < kFirstRows; rows_->Next(), ++read) {
      benchmark::DoNotOptimize(codigo.AsInteger());
      benchmark::DoNotOptimize(nombre.AsString());
    }
    rows_->EnableControls();
    return read;
  }

 private:
  TfGENEBUSQ& dialog_;
  ClientDataset* rows_;
};

int ReadRaw(RawStatement& select) {
  int read = 0;
  while (select.Step()) {
    benchmark::DoNotOptimize(select.Int64(0));
    benchmark::DoNotOptimize(select.Text(1));
    ++read;
  }
  select.Reset();
  return read;
}

QString SpreadName(int search) {
  return BenchData::ArticleName(static_cast<int>((static_cast<qint64>(search) * 104729) % BenchData::Get().Rows()) + 1);
}

// 100 searches from a value on on the name index, the first 100 rows each.

void AproximadaDataset(benchmark::State& state) {
  SearchInstallation::Get();
  SearchDialog dialog(QStringLiteral("Nombre"), "BusquedaAproximada");
  const double before = ResidentMegabytes();
  for (auto _ : state)
    for (int i = 0; i < kSearches; ++i)
      if (dialog.Search(SpreadName(i)) == 0) std::abort();
  state.counters["rss_growth_MB"] = ResidentMegabytes() - before;
}

void AproximadaRaw(benchmark::State& state) {
  RawConnection raw(SearchInstallation::Get().File());
  RawStatement select(raw, "SELECT Codigo, Nombre, Precio, Familia FROM ARTICULOS WHERE Nombre >= ? "
                           "ORDER BY Nombre, Codigo LIMIT 100");
  for (auto _ : state)
    for (int i = 0; i < kSearches; ++i) {
      select.Bind(1, SpreadName(i));
      if (ReadRaw(select) == 0) std::abort();
    }
}

// 100 Parcial searches of a name's first 13 characters (1,000 names each in
// 1,000,000), ordered by the name, the first 100 rows each; the raw side
// bounds the name to the prefix's range beside its LIKE.

QString SpreadPrefix(int search) { return SpreadName(search).left(13); }

void ParcialDataset(benchmark::State& state) {
  SearchInstallation::Get();
  SearchDialog dialog(QStringLiteral("Nombre"), "BusquedaParcial");
  dialog.SetOrdered(true);
  const double before = ResidentMegabytes();
  for (auto _ : state)
    for (int i = 0; i < kSearches; ++i)
      if (dialog.Search(SpreadPrefix(i)) == 0) std::abort();
  state.counters["rss_growth_MB"] = ResidentMegabytes() - before;
}

void ParcialRaw(benchmark::State& state) {
  RawConnection raw(SearchInstallation::Get().File());
  RawStatement select(raw, "SELECT Codigo, Nombre, Precio, Familia FROM ARTICULOS WHERE Nombre LIKE ?1 || '%' "
                           "AND Nombre >= ?1 AND Nombre < ?2 ORDER BY Nombre, Codigo LIMIT 100");
  for (auto _ : state)
    for (int i = 0; i < kSearches; ++i) {
      const QString prefix = SpreadPrefix(i);
      select.Bind(1, prefix);
      select.Bind(2, prefix.left(12) + QChar(prefix.back().unicode() + 1));
      if (ReadRaw(select) == 0) std::abort();
    }
}

// 100 Parcial searches without order (a table without a remembered search),
// the first 100 rows each: of a prefix that every name has, and of a name's
// first 13 characters (1,000 names each); the raw side reads the prefix's
// range on the name with no order either.

const QString kEveryName = QStringLiteral("ARTICULO");

void UnorderedDataset(benchmark::State& state, const std::function<QString(int)>& prefix) {
  SearchInstallation::Get();
  SearchDialog dialog(QStringLiteral("Nombre"), "BusquedaParcial");
  dialog.SetOrdered(false);
  const double before = ResidentMegabytes();
  for (auto _ : state)
    for (int i = 0; i < kSearches; ++i)
      if (dialog.Search(prefix(i)) != kFirstRows) std::abort();
  state.counters["rss_growth_MB"] = ResidentMegabytes() - before;
}

void UnorderedRaw(benchmark::State& state, const std::function<QString(int)>& prefix) {
  RawConnection raw(SearchInstallation::Get().File());
  RawStatement select(raw, "SELECT Codigo, Nombre, Precio, Familia FROM ARTICULOS WHERE Nombre LIKE ?1 || '%' "
                           "AND Nombre >= ?1 AND Nombre < ?2 LIMIT 100");
  for (auto _ : state)
    for (int i = 0; i < kSearches; ++i) {
      const QString searched = prefix(i);
      select.Bind(1, searched);
      select.Bind(2, searched.chopped(1) + QChar(searched.back().unicode() + 1));
      if (ReadRaw(select) != kFirstRows) std::abort();
    }
}

QString EveryName(int) { return kEveryName; }

void DesordenadaTodosDataset(benchmark::State& state) { UnorderedDataset(state, EveryName); }
void DesordenadaTodosRaw(benchmark::State& state) { UnorderedRaw(state, EveryName); }
void Desordenada1000Dataset(benchmark::State& state) { UnorderedDataset(state, SpreadPrefix); }
void Desordenada1000Raw(benchmark::State& state) { UnorderedRaw(state, SpreadPrefix); }

// A search of a table of 100,000 rows (or of all the articles) without a
// key, and of the same rows with it, unordered, on a prefix every name has,
// walked packet by packet to its last row; the raw side reads the same rows
// in one statement in the order of the name.

void WalkDataset(benchmark::State& state, bool keyed, int rows) {
  const QString table = SearchInstallation::Get().WalkTableOf(keyed, rows);
  SearchDialog dialog(QStringLiteral("Nombre"), "BusquedaParcial", table);
  dialog.SetUnlimited();
  dialog.SetOrdered(false);
  const double before = ResidentMegabytes();
  for (auto _ : state)
    if (dialog.SearchToTheEnd(kEveryName) != rows) std::abort();
  state.counters["rss_growth_MB"] = ResidentMegabytes() - before;
}

void WalkRaw(benchmark::State& state, bool keyed, int rows) {
  const QString table = SearchInstallation::Get().WalkTableOf(keyed, rows);
  RawConnection raw(SearchInstallation::Get().File());
  const QString sql = QStringLiteral("SELECT Codigo, Nombre, Precio, Familia FROM %1 WHERE Nombre LIKE 'ARTICULO%' "
                                     "AND Nombre >= 'ARTICULO' AND Nombre < 'ARTICULP' ORDER BY Nombre")
                          .arg(table);
  RawStatement select(raw, qPrintable(sql));
  for (auto _ : state)
    if (ReadRaw(select) != rows) std::abort();
}

void SinClaveHastaElFinalDataset(benchmark::State& state) { WalkDataset(state, false, kWalkRows); }
void SinClaveHastaElFinalRaw(benchmark::State& state) { WalkRaw(state, false, kWalkRows); }
void ConClaveHastaElFinalDataset(benchmark::State& state) { WalkDataset(state, true, kWalkRows); }
void ConClaveHastaElFinalRaw(benchmark::State& state) { WalkRaw(state, true, kWalkRows); }
void SinClaveTodosHastaElFinalDataset(benchmark::State& state) { WalkDataset(state, false, BenchData::Get().Rows()); }
void SinClaveTodosHastaElFinalRaw(benchmark::State& state) { WalkRaw(state, false, BenchData::Get().Rows()); }
void ConClaveTodosHastaElFinalDataset(benchmark::State& state) { WalkDataset(state, true, BenchData::Get().Rows()); }
void ConClaveTodosHastaElFinalRaw(benchmark::State& state) { WalkRaw(state, true, BenchData::Get().Rows()); }

// A search that contains the value, finding it nowhere.

void FoneticaDataset(benchmark::State& state) {
  SearchInstallation::Get();
  SearchDialog dialog(QStringLiteral("Nombre"), "BusquedaFonetica");
  const double before = ResidentMegabytes();
  for (auto _ : state)
    if (dialog.Search(kNowhere) != 0) std::abort();
  state.counters["rss_growth_MB"] = ResidentMegabytes() - before;
}

void FoneticaRaw(benchmark::State& state) {
  RawConnection raw(SearchInstallation::Get().File());
  RawStatement select(raw, "SELECT Codigo, Nombre, Precio, Familia FROM ARTICULOS WHERE Nombre LIKE '%ZZZ%' LIMIT 100");
  for (auto _ : state)
    if (ReadRaw(select) != 0) std::abort();
}

// The approximate search over two columns, widened, finding nothing.

void AmpliadaDataset(benchmark::State& state) {
  TfGENEBUSA& dialog = *SearchInstallation::Get().approximate_;
  const double before = ResidentMegabytes();
  for (auto _ : state) {
    QTimer::singleShot(0, &dialog, [&dialog] {
      auto* criteria = dialog.findChild<QTableWidget*>(QStringLiteral("ValueListEditor"));
      for (int row = 0; row < criteria->rowCount(); ++row) {
        const QString column = criteria->item(row, 0)->data(Qt::UserRole).toString();
        criteria->item(row, 1)->setText(column == u"Nombre" ? QStringLiteral("Txabez")
                                        : column == u"Familia" ? QStringLiteral("F1")
                                                               : QString());
      }
      dialog.pbBuscarClick();
      dialog.SetModalResult(mrCancel);
    });
    dialog.BuscarAproximado(QStringLiteral("ARTICULOS"));
  }
  state.counters["rss_growth_MB"] = ResidentMegabytes() - before;
}

void AmpliadaRaw(benchmark::State& state) {
  RawConnection raw(SearchInstallation::Get().File());
  RawStatement select(raw, "SELECT * FROM ARTICULOS WHERE (Nombre LIKE '%Txabez%') AND (Familia LIKE '%F1%') LIMIT 100");
  for (auto _ : state)
    if (ReadRaw(select) != 0) std::abort();
}

}  // namespace

BENCHMARK(AproximadaDataset)->Name("Aproximada100/dataset")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(AproximadaRaw)->Name("Aproximada100/raw")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ParcialDataset)->Name("Parcial100/dataset")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ParcialRaw)->Name("Parcial100/raw")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(DesordenadaTodosDataset)->Name("ParcialDesordenadaTodos100/dataset")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(DesordenadaTodosRaw)->Name("ParcialDesordenadaTodos100/raw")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(Desordenada1000Dataset)->Name("ParcialDesordenada1000x100/dataset")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(Desordenada1000Raw)->Name("ParcialDesordenada1000x100/raw")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(SinClaveHastaElFinalDataset)->Name("BusquedaSinClaveHastaElFinal/dataset")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(SinClaveHastaElFinalRaw)->Name("BusquedaSinClaveHastaElFinal/raw")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ConClaveHastaElFinalDataset)->Name("BusquedaConClaveHastaElFinal/dataset")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ConClaveHastaElFinalRaw)->Name("BusquedaConClaveHastaElFinal/raw")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(SinClaveTodosHastaElFinalDataset)->Name("BusquedaSinClaveTodosHastaElFinal/dataset")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(SinClaveTodosHastaElFinalRaw)->Name("BusquedaSinClaveTodosHastaElFinal/raw")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ConClaveTodosHastaElFinalDataset)->Name("BusquedaConClaveTodosHastaElFinal/dataset")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ConClaveTodosHastaElFinalRaw)->Name("BusquedaConClaveTodosHastaElFinal/raw")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(FoneticaDataset)->Name("FoneticaNada/dataset")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(FoneticaRaw)->Name("FoneticaNada/raw")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(AmpliadaDataset)->Name("AmpliadaDosColumnasNada/dataset")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(AmpliadaRaw)->Name("AmpliadaDosColumnasNada/raw")->Unit(benchmark::kMillisecond)->Iterations(1);
