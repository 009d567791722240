// The transfer's reading of an older installation's table of 300,000 records
// with two memos (one of the database's character set, one of none), from a
// Firebird database, beside the same rows read raw from SQLite. Its memory
// must not grow with the rows: each side reports the growth of its peak.

#include "bench/support/BenchData.h"
#include "bench/support/RawSqlite.h"
#include "bench/support/ResidentMemory.h"
#include "platform/engine/EngineStatement.h"
#include "platform/firebird/FirebirdConnection.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdlib>

namespace {

constexpr int kRows = 300000;
const QString kMemo = QStringLiteral("línea €, Ñandú, ¿año? ").repeated(8);

QString Folder() {
  const QString folder = BenchData::Get().Root() + QStringLiteral("/traspaso");
  QDir().mkpath(folder);
  return folder;
}

QString FirebirdFile() {
  static const QString file = [] {
    const QString database = Folder() + QStringLiteral("/ORIGEN.FDB");
    if (QFileInfo::exists(database)) return database;
    const QString script = Folder() + QStringLiteral("/origen.sql");
    QFile text(script);
    if (!text.open(QIODevice::WriteOnly)) std::abort();
    text.write(QStringLiteral(
                   "SET NAMES UTF8;\nCREATE DATABASE '%1' USER 'SYSDBA' DEFAULT CHARACTER SET UTF8;\n"
                   "CREATE TABLE NOTAS (Codigo INTEGER NOT NULL PRIMARY KEY, Nombre VARCHAR(40) CHARACTER SET NONE, "
                   "Texto BLOB SUB_TYPE TEXT, Antiguo BLOB SUB_TYPE TEXT CHARACTER SET NONE);\nCOMMIT;\nSET TERM ^;\n"
                   "EXECUTE BLOCK AS DECLARE i INTEGER = 1; BEGIN WHILE (i <= %2) DO BEGIN INSERT INTO NOTAS VALUES "
                   "(:i, 'Nombre ' || :i, '%3' || :i, 'Antiguo ' || :i); i = i + 1; END END^\nSET TERM ;^\nCOMMIT;\n")
                   .arg(database)
                   .arg(kRows)
                   .arg(kMemo)
                   .toUtf8());
    text.close();
    QProcess isql;
    isql.start(QStringLiteral("isql-fb"), {QStringLiteral("-q"), QStringLiteral("-i"), script});
    if (!isql.waitForFinished(-1) || isql.exitCode() != 0) std::abort();
    return database;
  }();
  return file;
}

QString SqliteFile() {
  static const QString file = [] {
    const QString database = Folder() + QStringLiteral("/ORIGEN.SQLITE");
    if (QFileInfo::exists(database)) return database;
    RawConnection raw(database);
    raw.Execute("CREATE TABLE NOTAS (Codigo INTEGER NOT NULL PRIMARY KEY, Nombre VARCHAR(40), Texto TEXT, Antiguo TEXT)");
    raw.Execute("BEGIN");
    RawStatement insert(raw, "INSERT INTO NOTAS VALUES (?, ?, ?, ?)");
    for (int i = 1; i <= kRows; ++i) {
      insert.Bind(1, qint64(i));
      insert.Bind(2, QStringLiteral("Nombre %1").arg(i));
      insert.Bind(3, kMemo + QString::number(i));
      insert.Bind(4, QStringLiteral("Antiguo %1").arg(i));
      insert.Step();
      insert.Reset();
    }
    raw.Execute("COMMIT");
    return database;
  }();
  return file;
}

void TraspasoFirebirdDataset(benchmark::State& state) {
  const QString file = FirebirdFile();
  ResetPeakResident();
  const double before = ResidentMegabytes();
  for (auto _ : state) {
    FirebirdConnection origen(file, QStringLiteral("SYSDBA"), QString());
    const std::unique_ptr<EngineStatement> lectura = origen.Prepare(QStringLiteral("SELECT * FROM NOTAS"));
    qint64 caracteres = 0;
    int filas = 0;
    for (; lectura->Step(); ++filas)
      for (int columna = 0; columna < 4; ++columna) caracteres += lectura->Column(columna).toString().size();
    if (filas != kRows) std::abort();
    benchmark::DoNotOptimize(caracteres);
  }
  state.counters["rss_growth_MB"] = PeakResidentMegabytes() - before;
}

void TraspasoFirebirdRaw(benchmark::State& state) {
  RawConnection raw(SqliteFile());
  ResetPeakResident();
  const double before = ResidentMegabytes();
  for (auto _ : state) {
    RawStatement lectura(raw, "SELECT * FROM NOTAS");
    qint64 caracteres = 0;
    int filas = 0;
    for (; lectura.Step(); ++filas)
      caracteres += QString::number(lectura.Int64(0)).size() + lectura.Text(1).size() + lectura.Text(2).size() +
                    lectura.Text(3).size();
    if (filas != kRows) std::abort();
    benchmark::DoNotOptimize(caracteres);
  }
  state.counters["rss_growth_MB"] = PeakResidentMegabytes() - before;
}

}  // namespace

BENCHMARK(TraspasoFirebirdDataset)->Name("TraspasoFirebird/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(TraspasoFirebirdRaw)->Name("TraspasoFirebird/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
