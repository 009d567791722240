// The translation of a text of many dotted numbers, each full stop a word
// of its own, at four lengths: its time grows as the text does. Beside it,
// the least a translation by words does on raw SQLite: each word looked for
// once among the language's texts.

#include "bench/support/BenchData.h"
#include "bench/support/RawSqlite.h"
#include "core/connections/Conexiones.h"
#include "core/datamodule/Traduccion.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "platform/data/Database.h"
#include "tests/fixtures/InstallationBuilder.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int kTexts = 2000;

// An installation whose general database holds kTexts English texts, some
// with a variable part, many with full stops; made afresh by each process.
class TranslationInstallation {
 public:
  static TranslationInstallation& Get() {
    static TranslationInstallation* installation = nullptr;
    if (!installation) {
      installation = new TranslationInstallation();
      qAddPostRoutine([] {
        delete installation;
        installation = nullptr;
      });
    }
    return *installation;
  }
  QString GeneralFile() const { return Conexiones(*services_).DatabaseGeneral->FileName(); }

 private:
  TranslationInstallation() {
    const QString folder =
        QDir(BenchData::Get().Root()).filePath(QStringLiteral("traduccion-%1").arg(QCoreApplication::applicationPid()));
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    QDir::setCurrent(folder);
    InstallationBuilder(folder).Write();
    services_ = std::make_unique<TfGENEINIC>(QStringList{});
    QString rows = QStringLiteral("('EN', 'Total \\X1.', 'Sum: \\X1.')");
    for (int i = 0; i < kTexts; ++i)
      rows += i % 10 ? QStringLiteral(", ('EN', 'Mensaje número %1 del programa.', 'Message number %1 of the program.')").arg(i)
                     : QStringLiteral(", ('EN', 'Aviso %1: \\X1 del programa', 'Warning %1: \\X1 of the program')").arg(i);
    const QString error = EjecutarSQL(QStringLiteral("INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) VALUES ") + rows,
                                      QStringLiteral("DatabaseGeneral"), QStringLiteral("Silenciosa"));
    if (!error.isEmpty()) {
      std::fprintf(stderr, "%s\n", qPrintable(error));
      std::exit(1);
    }
    IdiomaActual = QStringLiteral("EN");
  }

  std::unique_ptr<TfGENEINIC> services_;
};

QString DottedNumbers(int count) {
  QStringList numbers;
  for (int i = 0; i < count; ++i) numbers.append(QString::number(1000 + i) + u'.');
  return numbers.join(u' ');
}

void TranslateDataset(benchmark::State& state, int numbers) {
  TranslationInstallation::Get();
  const QString text = DottedNumbers(numbers);
  for (auto _ : state) benchmark::DoNotOptimize(Traducir(text));
}

// Each word and full stop of the text looked for once, as LIKE patterns.
void TranslateRaw(benchmark::State& state, int numbers) {
  RawConnection raw(TranslationInstallation::Get().GeneralFile());
  RawStatement select(raw, "SELECT ClaveTexto FROM TXIDIOMA WHERE Idioma = 'EN' AND ClaveTexto LIKE ? LIMIT 1");
  const QStringList words = DottedNumbers(numbers).replace(u'.', QStringLiteral(" .")).split(u' ');
  for (auto _ : state)
    for (const QString& word : words) {
      select.Bind(1, u'%' + word + u'%');
      while (select.Step()) benchmark::DoNotOptimize(select.Text(0));
      select.Reset();
    }
}

// One work for each length, so that each prints its own ratio.
[[maybe_unused]] const bool registered = [] {
  for (const int numbers : {30, 60, 120, 240}) {
    const std::string work = "Traducir" + std::to_string(numbers) + "NumerosConPunto";
    benchmark::RegisterBenchmark((work + "/dataset").c_str(), TranslateDataset, numbers)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((work + "/raw").c_str(), TranslateRaw, numbers)->Iterations(1)->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
