// Data forms on 1,000,000 records of the embedded server: a master form of
// the record maintenance pattern moving through them, the field viewer
// (Ctrl+Z) over a grid, and the access history of a record among 1,000,000
// REGACCES rows; beside the same work on raw SQLite on the same file, its
// rows shown in plain Qt tables.

#include "bench/support/BenchData.h"
#include "bench/support/GridView.h"
#include "bench/support/RawSqlite.h"
#include "bench/support/ResidentMemory.h"
#include "core/connections/Conexiones.h"
#include "core/services/HistorialAccesos.h"
#include "core/services/VisorCampos.h"
#include "core/sql/BaseDatosSQL.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "dialogs/Genemlis.h"
#include "dialogs/Genevlis.h"
#include "dialogs/MantenimientoRegistros.h"
#include "platform/Variant.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/DataSource.h"
#include "platform/data/Dataset.h"
#include "platform/data/Database.h"
#include "platform/data/Table.h"
#include "tests/fixtures/InstallationBuilder.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kViews = 100;
// REGACCES: four tables' rows in turn, each record of a table five times.
constexpr int kTables = 4;
constexpr int kRecordsWithHistory = 50000;
const char* const kHistoryTables[kTables] = {"ARTICULOS", "CLIENTES", "PEDIDOS", "FACTURAS"};

void MustRun(const QString& sql) {
  const QString error = EjecutarSQL(sql, QStringLiteral("Database"), QStringLiteral("Silenciosa"));
  if (error.isEmpty()) return;
  std::fprintf(stderr, "%s\n", qPrintable(error));
  std::exit(1);
}

// An installation on the embedded server whose company database holds
// ARTICULOS as BenchData describes it and REGACCES with BenchData's row
// count; made by each benchmark's process, it lives until the program ends.
class ViewerInstallation {
 public:
  static ViewerInstallation& Get() {
    static ViewerInstallation* installation = nullptr;
    if (!installation) {
      installation = new ViewerInstallation();
      qAddPostRoutine([] {
        delete installation;
        installation = nullptr;
      });
    }
    return *installation;
  }
  const QString& File() const { return file_; }
  ~ViewerInstallation() {
    services_.reset();
    QDir(folder_).removeRecursively();
  }

 private:
  // A folder of the process's own: each side makes its copy of the data.
  ViewerInstallation()
      : folder_(QDir(BenchData::Get().Root())
                    .filePath(QStringLiteral("visores-%1").arg(QCoreApplication::applicationPid()))) {
    QDir().mkpath(folder_);
    QDir::setCurrent(folder_);
    InstallationBuilder(folder_).Write();
    services_ = std::make_unique<TfGENEINIC>(QStringList{});
    RegistrarGENEVLIS();
    RegistrarGENEMLIS();
    MustRun(QStringLiteral("CREATE TABLE ARTICULOS (Codigo INTEGER NOT NULL, Nombre VARCHAR(40) NULL, Precio FLOAT NULL, "
                           "Familia VARCHAR(10) NULL, CONSTRAINT ARTICULOS_Clave1 PRIMARY KEY (Codigo))"));
    // Made from the shipped definitions, with its index on table and key; it
    // answers its count, 0.
    if (EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM REGACCES"), QStringLiteral("Database")) != u"0") std::exit(1);
    file_ = Conexiones(*services_).Database->FileName();
    RawConnection raw(file_);
    raw.Execute("BEGIN");
    RawStatement article(raw, "INSERT INTO ARTICULOS (Codigo, Nombre, Precio, Familia) VALUES (?, ?, ?, ?)");
    RawStatement access(raw, "INSERT INTO REGACCES (NombreTabla, ClaveTabla, CodigoUsuario, Fecha, Datos, Accion, "
                             "Aplicacion) VALUES (?, ?, 'ANA', ?, 'Precio=1|Nombre=X', 'Modificacion', 'ZEMWIN|ANA')");
    for (int codigo = 1; codigo <= BenchData::Get().Rows(); ++codigo) {
      article.Bind(1, static_cast<qint64>(codigo));
      article.Bind(2, BenchData::ArticleName(codigo));
      article.Bind(3, BenchData::ArticlePrice(codigo));
      article.Bind(4, QStringLiteral("F%1").arg(codigo % 50));
      article.Step();
      article.Reset();
      const int row = codigo - 1;
      access.Bind(1, QString::fromLatin1(kHistoryTables[row % kTables]));
      access.Bind(2, QStringLiteral("%1|").arg(row / kTables % kRecordsWithHistory + 1));
      access.Bind(3, QStringLiteral("2024-%1-%2 10:00:00").arg(row % 12 + 1, 2, 10, QChar(u'0')).arg(row % 28 + 1, 2, 10, QChar(u'0')));
      access.Step();
      access.Reset();
    }
    raw.Execute("COMMIT");
    RegistroAccesosActivado = true;
  }

  QString folder_;
  std::unique_ptr<TfGENEINIC> services_;
  QString file_;
};

int SpreadKey(int view, int rows) { return static_cast<int>((static_cast<qint64>(view) * 104729) % rows) + 1; }

// ARTICULOS in a grid, as a master form shows it.
class ArticleGrid {
 public:
  ArticleGrid() {
    table_.SetDatabaseName(BaseDatosBDE(QStringLiteral("Database")));
    table_.SetTableName(QStringLiteral("ARTICULOS"));
    table_.Open();
    source_.SetDataSet(&table_);
    grid_.resize(600, 400);
    grid_.SetSource(&source_);
    grid_.show();
    ShowGrid(grid_);
  }
  Table& Articles() { return table_; }
  void GoTo(int codigo) {
    if (!table_.FindKey({Variant::Integer(codigo)})) std::abort();
    ShowGrid(grid_);
  }
  void Show() { ShowGrid(grid_); }

 private:
  Table table_;
  DataSource source_;
  DBGrid grid_;
};

// The viewer's window is closed as soon as it is on screen.
void CloseOnceShown() {
  QTimer::singleShot(0, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
}

QList<QStringList> ReadAll(RawStatement& select) {
  QList<QStringList> rows;
  while (select.Step()) {
    QStringList row;
    for (int column = 0; column < 4; ++column) row.append(select.Text(column));
    rows.append(row);
  }
  select.Reset();
  return rows;
}

// The rows as the table's items, one row each.
void Fill(QTableWidget& table, const QList<QStringList>& rows) {
  table.setRowCount(static_cast<int>(rows.size()));
  for (int row = 0; row < rows.size(); ++row)
    for (int column = 0; column < table.columnCount(); ++column)
      table.setItem(row, column, new QTableWidgetItem(rows[row].value(column)));
}

// The rows in a grid of a modal dialog, closed as soon as it is on screen.
void ShowPlainDialog(const QList<QStringList>& rows) {
  QDialog dialog;
  auto* layout = new QVBoxLayout(&dialog);
  auto* table = new QTableWidget(0, 4, &dialog);
  layout->addWidget(table);
  Fill(*table, rows);
  CloseOnceShown();
  dialog.exec();
}

// A grid on ARTICULOS on raw SQLite: the record read by its key, its place
// in the table (as the grid's rows and scroll bar need it) once, and the
// rows in view from it shown in a plain Qt table of the master grid's size,
// its current row the record's.
class RawArticleGrid {
 public:
  explicit RawArticleGrid(const RawConnection& raw)
      : record_(raw, "SELECT Codigo, Nombre, Precio, Familia FROM ARTICULOS WHERE Codigo = ?"),
        place_(raw, "SELECT COUNT(*) FROM ARTICULOS WHERE Codigo < ?"),
        window_(raw, "SELECT Codigo, Nombre, Precio, Familia FROM ARTICULOS WHERE Codigo >= ? ORDER BY Codigo LIMIT 41") {
    view_.setColumnCount(4);
    view_.resize(600, 400);
    view_.show();
    QApplication::processEvents();
  }
  QStringList GoTo(int codigo) {
    place_.Bind(1, static_cast<qint64>(codigo));
    place_.Step();
    benchmark::DoNotOptimize(place_.Int64(0));
    place_.Reset();
    return Show(codigo);
  }
  // The record read again and the rows in view painted.
  QStringList Show(int codigo) {
    record_.Bind(1, static_cast<qint64>(codigo));
    const QStringList record = ReadAll(record_).value(0);
    window_.Bind(1, static_cast<qint64>(codigo));
    Fill(view_, ReadAll(window_));
    view_.setCurrentCell(0, 0);
    Paint();
    return record;
  }
  // The grid painted again as it is, as the master's is after a dialog.
  void Paint() { QApplication::processEvents(); }

 private:
  RawStatement record_;
  RawStatement place_;
  RawStatement window_;
  QTableWidget view_;
};

// Each of 100 records spread over the first ones given found in the grid
// and viewed, the viewer's window closed once on screen, the grid painted again.
void ViewRecords(benchmark::State& state, int records, void (*view)(Dataset&)) {
  ViewerInstallation::Get();
  ArticleGrid grid;
  const double before = ResidentMegabytes();
  for (auto _ : state)
    for (int i = 0; i < kViews; ++i) {
      grid.GoTo(SpreadKey(i, records));
      CloseOnceShown();
      view(grid.Articles());
      grid.Show();
    }
  state.counters["rss_growth_MB"] = ResidentMegabytes() - before;
}

// Ctrl+Z on 100 records spread over the table: the viewer refreshes the
// record and shows its fields.

void CtrlZDataset(benchmark::State& state) { ViewRecords(state, BenchData::Get().Rows(), &VisorCampos); }

// Found in the grid, read again by the refresh (the grid's rows with it),
// its fields in the dialog.
void CtrlZRaw(benchmark::State& state) {
  RawConnection raw(ViewerInstallation::Get().File());
  RawArticleGrid grid(raw);
  for (auto _ : state)
    for (int i = 0; i < kViews; ++i) {
      const int codigo = SpreadKey(i, BenchData::Get().Rows());
      grid.GoTo(codigo);
      const QStringList record = grid.Show(codigo);
      QList<QStringList> fields;
      for (const QString& value : record) fields.append({QStringLiteral("Campo"), value});
      ShowPlainDialog(fields);
      grid.Paint();
    }
}

// The access history of 100 records, each with its five rows among the
// 1,000,000 of REGACCES.

void HistorialDataset(benchmark::State& state) { ViewRecords(state, kRecordsWithHistory, &HistorialAccesos); }

// Found in the grid, its history read by the same statement and shown in
// the dialog.
void HistorialRaw(benchmark::State& state) {
  RawConnection raw(ViewerInstallation::Get().File());
  RawArticleGrid grid(raw);
  RawStatement history(raw, "SELECT CodigoUsuario, Fecha, Accion, Datos FROM REGACCES WHERE NombreTabla = 'ARTICULOS' "
                            "AND ((ClaveTabla = ?) OR (ClaveTabla = ?)) ORDER BY Fecha DESC");
  for (auto _ : state)
    for (int i = 0; i < kViews; ++i) {
      const int codigo = SpreadKey(i, kRecordsWithHistory);
      grid.GoTo(codigo);
      history.Bind(1, QStringLiteral("%1|").arg(codigo));
      history.Bind(2, QString::number(codigo));
      ShowPlainDialog(ReadAll(history));
      grid.Paint();
    }
}

// A grid master of the maintenance pattern on ARTICULOS, as the masters
// open: opened, moved to the last record, refreshed, back to the first,
// its grid painted at each step.
class ArticleMaster : public MantenimientoRegistros {
 public:
  ArticleMaster() : MantenimientoRegistros(Rejilla) {
    auto* layout = new QVBoxLayout(Datos());
    grid_ = new DBGrid(Datos());
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    layout->addWidget(grid_);
    AsignarRejilla(grid_);
    Table1->SetTableName(QStringLiteral("ARTICULOS"));
    Iniciar(QStringLiteral("Artículos"), QStringLiteral("Codigo"));
    resize(700, 500);
    show();
    ShowGrid(*grid_);
  }
  void Show() { ShowGrid(*grid_); }

 private:
  DBGrid* grid_;
};

void MasterFormDataset(benchmark::State& state) {
  ViewerInstallation::Get();
  for (auto _ : state) {
    ArticleMaster master;
    master.pbUltimoClick();
    master.Show();
    master.pbRefrescarClick();
    master.Show();
    master.pbPrimeroClick();
    master.Show();
  }
}

// The same rows read on raw SQLite: the count the grid's scroll bar needs
// (once: the refresh finds the data unchanged), the first rows in view, the
// last, both again after the refresh.
void MasterFormRaw(benchmark::State& state) {
  RawConnection raw(ViewerInstallation::Get().File());
  RawStatement count(raw, "SELECT COUNT(*) FROM ARTICULOS");
  RawStatement first(raw, "SELECT Codigo, Nombre, Precio, Familia FROM ARTICULOS ORDER BY Codigo LIMIT 41");
  RawStatement last(raw, "SELECT Codigo, Nombre, Precio, Familia FROM ARTICULOS ORDER BY Codigo DESC LIMIT 41");
  for (auto _ : state) {
    for (RawStatement* step : {&count, &first, &last, &last, &first}) benchmark::DoNotOptimize(ReadAll(*step));
  }
}

}  // namespace

BENCHMARK(MasterFormDataset)->Name("MaestroArticulos/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(MasterFormRaw)->Name("MaestroArticulos/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(CtrlZDataset)->Name("VisorCampos100/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(CtrlZRaw)->Name("VisorCampos100/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(HistorialDataset)->Name("HistorialAccesos100/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(HistorialRaw)->Name("HistorialAccesos100/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
