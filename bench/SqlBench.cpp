// The SQL execution layer on the embedded server beside the same literal
// statements run on raw SQLite; its compiling of a statement beside SQLite's
// prepare of the text it gives; and a record's analysis groups read among
// as many assignments as the large table has records.

#include "bench/support/BenchData.h"
#include "bench/support/RawSqlite.h"
#include "core/connections/Conexiones.h"
#include "core/datamodule/GruposAnalisis.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Geneinic.h"
#include "platform/data/Database.h"
#include "platform/sql/MappingCache.h"
#include "platform/sql/SqlMapper.h"
#include "platform/sql/SqlParser.h"
#include "platform/sqlite/Connection.h"
#include "tests/fixtures/InstallationBuilder.h"

#include <benchmark/benchmark.h>

#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kStatements = 1000;
const QString kDatabase = QStringLiteral("Database");

// An installation on the embedded server, started as the program starts,
// with an empty table of articles in the company database; it lives while
// its benchmark runs, so it is gone before the application object.
class Installation {
 public:
  explicit Installation(const QString& name) {
    static int made = 0;  // Google Benchmark calls a benchmark several times
    const QString folder = QDir(BenchData::Get().Root()).filePath(name + QString::number(++made));
    QDir(folder).removeRecursively();  // left by an earlier run in a kept data folder
    QDir().mkpath(folder);
    QDir::setCurrent(folder);
    InstallationBuilder(folder).Write();
    services_ = std::make_unique<TfGENEINIC>(QStringList{});
    const QString error = EjecutarSQL(
        QStringLiteral("CREATE TABLE BENCHSQL (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) NULL, Precio FLOAT NULL, "
                       "CONSTRAINT BENCHSQL_Clave1 PRIMARY KEY (Codigo))"),
        kDatabase, QStringLiteral("Silenciosa"));
    if (!error.isEmpty()) {
      std::fprintf(stderr, "%s\n", qPrintable(error));
      std::exit(1);
    }
  }
  ::Database& Company() { return *Conexiones(*services_).Database; }
  QString CompanyFile() { return Company().FileName(); }

 private:
  std::unique_ptr<TfGENEINIC> services_;
};

// A third each of inserts, updates and selects, each one literal. Each round
// has texts of its own, as a program's statements carry other values each
// time: no round finds its texts already mapped.
QStringList Statements(int round) {
  QStringList statements;
  const int first = round * kStatements;
  for (int i = first + 1; i <= first + kStatements / 3; ++i) {
    statements << QStringLiteral("INSERT INTO BENCHSQL (Codigo, Nombre, Precio) VALUES (%1, 'ARTICULO %1', %2)")
                      .arg(i)
                      .arg(BenchData::ArticlePrice(i))
               << QStringLiteral("UPDATE BENCHSQL SET Precio = Precio + 1 WHERE Codigo = %1").arg(i)
               << QStringLiteral("SELECT Nombre, Precio FROM BENCHSQL WHERE Codigo = %1").arg(i);
  }
  return statements;
}

void EjecutarSQLDataset(benchmark::State& state) {
  Installation installation(QStringLiteral("sql-dataset"));
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const QStringList statements = Statements(round++);
    state.ResumeTiming();
    installation.Company().StartTransaction();
    for (const QString& statement : statements) benchmark::DoNotOptimize(EjecutarSQL(statement, kDatabase));
    state.PauseTiming();
    installation.Company().Rollback();
    state.ResumeTiming();
  }
}

int CollectRow(void* result, int columns, char** values, char**) {
  auto& text = *static_cast<QString*>(result);
  for (int i = 0; i < columns; ++i) text += QString::fromUtf8(values[i] ? values[i] : "") + u'|';
  return 0;
}

void EjecutarSQLRaw(benchmark::State& state) {
  Installation installation(QStringLiteral("sql-raw"));
  RawConnection raw(installation.CompanyFile());
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    QList<QByteArray> statements;
    for (const QString& statement : Statements(round++)) statements << statement.toUtf8();
    state.ResumeTiming();
    raw.Execute("BEGIN");
    for (const QByteArray& statement : statements) {
      QString result;
      if (sqlite3_exec(raw.Handle(), statement.constData(), CollectRow, &result, nullptr) != SQLITE_OK) std::abort();
      benchmark::DoNotOptimize(result);
    }
    state.PauseTiming();
    raw.Execute("ROLLBACK");
    state.ResumeTiming();
  }
}

// What the embedded server does to a statement before SQLite runs it: the
// grammar's parse, then the mapper's binding and SQLite's text, of texts not
// seen before (the columns of their table known already) ...
class CompiledStatements {
 public:
  explicit CompiledStatements(const QString& name) : installation_(name) {
    connection_ = OpenConnection(installation_.CompanyFile());
    SqlContext context = SqlContext::ForConnection(*connection_, QStringLiteral("mm/dd/yyyy"));
    context.cache = std::make_shared<MappingCache>(*connection_);
    mapper_ = std::make_unique<SqlMapper>(std::move(context));
  }
  QString Compile(const QString& statement) const {
    benchmark::DoNotOptimize(SqlParser::ParseStatement(statement));
    return mapper_->Map(statement);
  }
  Installation& Files() { return installation_; }
  // The connection the texts are mapped for, with the functions and
  // collations they call.
  sqlite3* Handle() const { return connection_->Handle(); }

 private:
  Installation installation_;
  std::shared_ptr<Connection> connection_;
  std::unique_ptr<SqlMapper> mapper_;
};

void CompilarSQLDataset(benchmark::State& state) {
  CompiledStatements compiled(QStringLiteral("compile-dataset"));
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const QStringList statements = Statements(round++);
    state.ResumeTiming();
    for (const QString& statement : statements) benchmark::DoNotOptimize(compiled.Compile(statement));
  }
}

// ... beside sqlite3_prepare_v2 of the text it gives.
void CompilarSQLRaw(benchmark::State& state) {
  CompiledStatements compiled(QStringLiteral("compile-raw"));
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    QList<QByteArray> texts;
    for (const QString& statement : Statements(round++)) texts << compiled.Compile(statement).toUtf8();
    state.ResumeTiming();
    for (const QByteArray& text : texts) {
      sqlite3_stmt* prepared = nullptr;
      if (sqlite3_prepare_v2(compiled.Handle(), text.constData(), -1, &prepared, nullptr) != SQLITE_OK) std::abort();
      sqlite3_finalize(prepared);
    }
  }
}

constexpr int kRecords = 1000;  // whose groups are read
constexpr int kGroupsPerRecord = 3;

// GRANTAB with BenchData's Rows() assignments, three groups to a record of
// CLIENTES, and GRANALIS with the groups' categories.
void AssignGroups(Installation& installation) {
  // Both tables come from the structure definitions at their first use.
  for (const char* table : {"GRANTAB", "GRANALIS"})
    EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(table), kDatabase, QStringLiteral("Silenciosa"));
  RawConnection raw(installation.CompanyFile());
  raw.Execute("BEGIN");
  raw.Execute("INSERT INTO GRANALIS (Codigo, CategoriaGrupo) VALUES ('G0', 'ZONA'), ('G1', 'TIPO'), ('G2', 'RUTA')");
  RawStatement insert(raw, "INSERT INTO GRANTAB (NombreTabla, ClaveTabla, GrupoAnalisis) VALUES ('CLIENTES', ?, ?)");
  for (int i = 0; i < BenchData::Get().Rows(); ++i) {
    insert.Bind(1, QString::number(i / kGroupsPerRecord) + u';');
    insert.Bind(2, u'G' + QString::number(i % kGroupsPerRecord));
    insert.Step();
    insert.Reset();
  }
  raw.Execute("COMMIT");
}

QString RecordKey(int record) {
  return QString::number(record * (BenchData::Get().Rows() / kGroupsPerRecord / kRecords)) + u';';
}

void GruposAnalisisDataset(benchmark::State& state) {
  Installation installation(QStringLiteral("grupos-dataset"));
  AssignGroups(installation);
  for (auto _ : state)
    for (int record = 0; record < kRecords; ++record)
      benchmark::DoNotOptimize(GruposAnalisisRegistro(QStringLiteral("CLIENTES"), QStringLiteral("Todas"), RecordKey(record)));
}

void GruposAnalisisRaw(benchmark::State& state) {
  Installation installation(QStringLiteral("grupos-raw"));
  AssignGroups(installation);
  RawConnection raw(installation.CompanyFile());
  for (auto _ : state)
    for (int record = 0; record < kRecords; ++record) {
      const QByteArray statement =
          (QStringLiteral("SELECT T.GrupoAnalisis FROM GRANTAB T JOIN GRANALIS G ON T.GrupoAnalisis = G.Codigo "
                          "WHERE T.NombreTabla = 'CLIENTES' AND T.ClaveTabla = '") +
           RecordKey(record) + QStringLiteral("' ORDER BY T.GrupoAnalisis"))
              .toUtf8();
      QString result;
      if (sqlite3_exec(raw.Handle(), statement.constData(), CollectRow, &result, nullptr) != SQLITE_OK) std::abort();
      benchmark::DoNotOptimize(result);
    }
}

}  // namespace

BENCHMARK(GruposAnalisisDataset)->Name("GruposAnalisis1000/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(GruposAnalisisRaw)->Name("GruposAnalisis1000/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(EjecutarSQLDataset)->Name("EjecutarSQL1000/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(EjecutarSQLRaw)->Name("EjecutarSQL1000/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(CompilarSQLDataset)->Name("CompilarSQL1000/dataset")->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(CompilarSQLRaw)->Name("CompilarSQL1000/raw")->Iterations(3)->Unit(benchmark::kMillisecond);
