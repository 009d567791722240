// The embedded server's BACKUP and RESTORE of a company database of about
// 100 MB, as the program runs them, beside a plain copy of the same file
// (the database, then the backup): blocks read and written, nothing else;
// then beside the same copy synced to the disk, as BACKUP and RESTORE leave
// what they write.

#include "bench/support/RawSqlite.h"
#include "core/connections/Conexiones.h"
#include "core/connections/CopiasSQLServer.h"
#include "core/startup/Geneinic.h"
#include "platform/data/Database.h"
#include "tests/fixtures/InstallationBuilder.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

#include <unistd.h>
#include <memory>

namespace {

constexpr int kRows = 400000;

// An installation on the embedded server whose company database holds
// kRows rows of about 250 bytes, its WAL folded in.
class Installation {
 public:
  Installation() {
    QDir::setCurrent(folder_.path());
    InstallationBuilder(folder_.path()).Write();
    services_ = std::make_unique<TfGENEINIC>(QStringList{});
    {
      RawConnection raw(CompanyFile());
      raw.Execute("CREATE TABLE MOVIMIENTOS (Codigo INTEGER PRIMARY KEY, Concepto VARCHAR(240))");
      raw.Execute("BEGIN");
      RawStatement insert(raw, "INSERT INTO MOVIMIENTOS (Codigo, Concepto) VALUES (?, ?)");
      for (int codigo = 0; codigo < kRows; ++codigo) {
        insert.Bind(1, qint64(codigo));
        insert.Bind(2, QStringLiteral("Movimiento %1 ").arg(codigo).repeated(12).left(240));
        insert.Step();
        insert.Reset();
      }
      raw.Execute("COMMIT");
      raw.Execute("PRAGMA wal_checkpoint(TRUNCATE)");
    }
    Company().Close();
    QDir().mkpath(Backups());
  }
  ::Database& Company() { return *Conexiones(*services_).Database; }
  QString CompanyFile() { return Company().FileName(); }
  TfGENEINIC& Services() { return *services_; }
  QString Backups() const { return folder_.filePath(QStringLiteral("Copias")); }
  // The backup the last BACKUP wrote.
  QString Backup() const {
    const QStringList written = QDir(Backups()).entryList({QStringLiteral("*.bak")}, QDir::Files, QDir::Time);
    if (written.isEmpty()) std::abort();
    return QDir(Backups()).filePath(written.first());
  }
  void RemoveBackups() const {
    QDir(Backups()).removeRecursively();
    QDir().mkpath(Backups());
  }

 private:
  QTemporaryDir folder_;
  std::unique_ptr<TfGENEINIC> services_;
};

enum class Synced { No, Yes };

void PlainCopy(const QString& from, const QString& to, Synced synced = Synced::No) {
  QFile source(from);
  QFile target(to);
  if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered) ||
      !target.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
    std::abort();
  QByteArray block(1 << 20, Qt::Uninitialized);
  for (qint64 read; (read = source.read(block.data(), block.size())) > 0;)
    if (target.write(block.constData(), read) != read) std::abort();
  if (synced == Synced::Yes && ::fsync(target.handle()) != 0) std::abort();
}

void BackupDataset(benchmark::State& state) {
  Installation installation;
  for (auto _ : state) {
    if (!CopiaSeguridadSQLServer(installation.Services(), QString(), installation.Backups())) std::abort();
    state.PauseTiming();
    installation.RemoveBackups();
    state.ResumeTiming();
  }
}

void BackupRaw(benchmark::State& state, Synced synced) {
  Installation installation;
  const QString copy = QDir(installation.Backups()).filePath(QStringLiteral("copia.db"));
  for (auto _ : state) {
    PlainCopy(installation.CompanyFile(), copy, synced);
    state.PauseTiming();
    installation.RemoveBackups();
    state.ResumeTiming();
  }
}

void RestoreDataset(benchmark::State& state) {
  Installation installation;
  if (!CopiaSeguridadSQLServer(installation.Services(), QString(), installation.Backups())) std::abort();
  const QString backup = installation.Backup();
  for (auto _ : state)
    if (!RestaurarCopiaSQLServer(installation.Services(), QString(), backup))
      std::abort();
}

void RestoreRaw(benchmark::State& state, Synced synced) {
  Installation installation;
  if (!CopiaSeguridadSQLServer(installation.Services(), QString(), installation.Backups())) std::abort();
  const QString copy = installation.CompanyFile() + QStringLiteral(".copia");
  for (auto _ : state) PlainCopy(installation.Backup(), copy, synced);
}

}  // namespace

BENCHMARK(BackupDataset)->Name("BackupDatabase100MB/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BackupRaw, plain, Synced::No)->Name("BackupDatabase100MB/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(RestoreDataset)->Name("RestoreDatabase100MB/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RestoreRaw, plain, Synced::No)->Name("RestoreDatabase100MB/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BackupDataset)->Name("BackupDatabase100MBSynced/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BackupRaw, synced, Synced::Yes)
    ->Name("BackupDatabase100MBSynced/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(RestoreDataset)->Name("RestoreDatabase100MBSynced/dataset")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RestoreRaw, synced, Synced::Yes)
    ->Name("RestoreDatabase100MBSynced/raw")->Iterations(1)->Unit(benchmark::kMillisecond);
