// The program's start to its login question, on a made installation, beside
// a bare Qt window's start: each a fresh process, the median of several
// starts.

#include "tests/fixtures/InstallationBuilder.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kArranques = 9;

// Seconds of one start of the program, run in the folder.
double Arranque(const QString& programa, const QString& carpeta) {
  QProcess proceso;
  proceso.setWorkingDirectory(carpeta);
  proceso.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  QElapsedTimer reloj;
  reloj.start();
  proceso.start(programa, {});
  if (!proceso.waitForFinished(120000) || proceso.exitStatus() != QProcess::NormalExit || proceso.exitCode() != 0) {
    std::fprintf(stderr, "%s did not start as expected\n", qPrintable(programa));
    std::exit(1);
  }
  return reloj.nsecsElapsed() / 1e9;
}

void Medir(benchmark::State& state, const QString& programa, const QString& carpeta) {
  Arranque(programa, carpeta);  // the first start makes the databases
  for (auto _ : state) {
    std::vector<double> tiempos;
    for (int n = 0; n < kArranques; ++n) tiempos.push_back(Arranque(programa, carpeta));
    std::nth_element(tiempos.begin(), tiempos.begin() + kArranques / 2, tiempos.end());
    state.SetIterationTime(tiempos[kArranques / 2]);
  }
}

// The program is started as ZEMWIN, the name it answers to.
void InicioPrograma(benchmark::State& state) {
  QTemporaryDir carpeta;
  InstallationBuilder(carpeta.path()).Program(QStringLiteral("ZEMWIN")).Write();
  const QString programa = carpeta.filePath(QStringLiteral("ZEMWIN"));
  if (!QFile::link(QStringLiteral(ZEM_BENCH_HASTA_LOGIN), programa)) {
    std::fprintf(stderr, "cannot link %s\n", qPrintable(programa));
    std::exit(1);
  }
  Medir(state, programa, carpeta.path());
}

void InicioVentanaQt(benchmark::State& state) {
  QTemporaryDir carpeta;
  Medir(state, QStringLiteral(ZEM_BENCH_VENTANA_QT), carpeta.path());
}

}  // namespace

BENCHMARK(InicioPrograma)->Name("InicioHastaLogin/dataset")->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(InicioVentanaQt)->Name("InicioHastaLogin/raw")->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
