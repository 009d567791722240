// The rebuild of a large table by the database update on the embedded
// server beside the same work on raw SQLite: in one transaction, the new
// table made, the rows copied by the engine, the old table dropped, the new
// one renamed and indexed.

#include "bench/support/BenchData.h"
#include "bench/support/RawSqlite.h"
#include "core/connections/Conexiones.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Geneinic.h"
#include "maintenance/actualizacion/EjecucionActualizacion.h"
#include "maintenance/actualizacion/OpcionesActualizacion.h"
#include "maintenance/actualizacion/ProcesoActualizacion.h"
#include "platform/data/Database.h"
#include "platform/sql/Collation.h"
#include "tests/fixtures/InstallationBuilder.h"

#include <benchmark/benchmark.h>

#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

const QString kDefinitions = QStringLiteral(
    "CLIENTES/C/1/Codigo/ftInteger/0/*/|01/06/2026\r\n"
    "CLIENTES/C/2/Nombre/ftString/40//\r\n"
    "CLIENTES/C/3/Telefono/ftString/20//\r\n"
    "CLIENTES/C/4/Nuevo/ftString/10//\r\n"
    "CLIENTES/I/1/<Primary>/Codigo//\r\n"
    "CLIENTES/I/2/Nombre/Nombre//\r\n");

// An installation on the embedded server, started as the program starts,
// whose company database holds the customers table of the old structure
// with the large table's number of rows.
class Installation {
 public:
  explicit Installation(const QString& name) {
    const QString folder = QDir(BenchData::Get().Root()).filePath(name);
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    QDir::setCurrent(folder);
    InstallationBuilder(folder).Write();
    services_ = std::make_unique<TfGENEINIC>(QStringList{});
    const QString error = EjecutarSQL(
        QStringLiteral("CREATE TABLE dbo.CLIENTES (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) NULL, Tlf VARCHAR(20) "
                       "NULL, Antiguo VARCHAR(10) NULL, CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo)) "
                       "CREATE INDEX CLIENTES_Nombre ON CLIENTES (Nombre)"),
        QStringLiteral("Database"), QStringLiteral("Silenciosa"));
    if (!error.isEmpty()) {
      std::fprintf(stderr, "%s\n", qPrintable(error));
      std::exit(1);
    }
    RawConnection raw(CompanyFile());
    raw.Execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                               "INSERT INTO CLIENTES SELECT i, 'Cliente ' || (i * 7919 % 1000003), i, 'x' FROM n")
                    .arg(BenchData::Get().Rows())
                    .toUtf8()
                    .constData());
  }
  QString CompanyName() { return Conexiones(*services_).Database->DatabaseName(); }
  QString CompanyFile() { return Conexiones(*services_).Database->FileName(); }

 private:
  std::unique_ptr<TfGENEINIC> services_;
};

void Rebuild(benchmark::State& state, const char* folder, bool checked) {
  Installation installation(QString::fromLatin1(folder));
  OpcionesActualizacion options;
  options.realizarCopiaSeguridad = false;
  options.comprobarEstadoTablas = checked;
  options.basesDatos = {installation.CompanyName()};
  options.tablas = {QStringLiteral("CLIENTES")};
  options.definiciones = kDefinitions;
  options.mapeado = QStringLiteral("CLIENTES=Tlf,Telefono\r\n");
  EjecucionActualizacion run;
  for (auto _ : state) RealizarActualizacion(run, options);
  if (run.HayErrores()) {
    std::fprintf(stderr, "%s\n", qPrintable(run.Errores()));
    std::exit(1);
  }
}

void RebuildDataset(benchmark::State& state) { Rebuild(state, "rebuild-dataset", false); }
// The same after the wizard's default check of the table.
void RebuildCheckedDataset(benchmark::State& state) { Rebuild(state, "rebuild-checked-dataset", true); }

void RebuildRaw(benchmark::State& state, const char* folder, bool checked) {
  Installation installation(QString::fromLatin1(folder));
  RawConnection raw(installation.CompanyFile());
  const QByteArray collate = QStringLiteral(" COLLATE \"%1\"").arg(Collation::kDefaultName).toUtf8();
  const QByteArray create = "CREATE TABLE TEMP_CLIENTES (Codigo INT NOT NULL, Nombre VARCHAR(40)" + collate +
                            ", Telefono VARCHAR(20)" + collate + ", Nuevo VARCHAR(10)" + collate +
                            ", CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo)) WITHOUT ROWID";
  for (auto _ : state) {
    if (checked) raw.Execute("PRAGMA quick_check(CLIENTES)");
    raw.Execute("BEGIN IMMEDIATE");
    raw.Execute(create.constData());
    raw.Execute("INSERT INTO TEMP_CLIENTES (Codigo, Nombre, Telefono) SELECT Codigo, Nombre, Tlf FROM CLIENTES");
    raw.Execute("DROP TABLE CLIENTES");
    raw.Execute("ALTER TABLE TEMP_CLIENTES RENAME TO CLIENTES");
    raw.Execute("CREATE INDEX CLIENTES_Nombre ON CLIENTES (Nombre)");
    raw.Execute("COMMIT");
  }
}

}  // namespace

BENCHMARK(RebuildDataset)->Name("ReconstruirTabla/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RebuildRaw, plain, "rebuild-raw", false)->Name("ReconstruirTabla/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(RebuildCheckedDataset)->Name("ReconstruirTablaComprobada/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RebuildRaw, checked, "rebuild-checked-raw", true)
    ->Name("ReconstruirTablaComprobada/raw")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
