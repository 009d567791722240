// Loading a list of 100,000 lines into the list maintenance table, beside
// the same inserts on raw SQLite, on the same file.

#include "bench/support/BenchData.h"
#include "bench/support/RawSqlite.h"
#include "core/services/CargaLista.h"
#include "platform/data/Database.h"
#include "platform/data/Table.h"

#include <QDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kLineas = 100000;
const QString kTabla = QStringLiteral("LISTAMLIS");

// The list table as MantenimientoLista makes it, empty, in a folder of its own.
const QString& CarpetaLista() {
  static const QString carpeta = [] {
    const QString folder = QDir(BenchData::Get().Root()).filePath(QStringLiteral("lista"));
    QDir().mkpath(folder);
    Table tabla;
    tabla.SetDatabaseName(folder);
    tabla.SetTableName(kTabla);
    tabla.FieldDefs().Add(QStringLiteral("GENEMLISLinea"), ftInteger);
    tabla.FieldDefs().Add(QStringLiteral("Codigo"), ftInteger);
    tabla.FieldDefs().Add(QStringLiteral("Nombre"), ftString, 40);
    tabla.FieldDefs().Add(QStringLiteral("Precio"), ftFloat);
    tabla.IndexDefs().Add(QString(), QStringLiteral("GENEMLISLinea"), ixPrimary);
    tabla.CreateTable();
    return folder;
  }();
  return carpeta;
}

const QString& Lista() {
  static const QString lista = [] {
    QString texto;
    for (int i = 1; i <= kLineas; ++i)
      texto += QString::number(i) + u'|' + BenchData::ArticleName(i) + u'|' +
               QString::number(BenchData::ArticlePrice(i)).replace(u'.', u',') + QStringLiteral("\r\n");
    return texto;
  }();
  return lista;
}

void Vaciar(const QString& carpeta, benchmark::State& state) {
  state.PauseTiming();
  RawConnection(BenchData::DataFile(carpeta)).Execute("DELETE FROM LISTAMLIS");
  state.ResumeTiming();
}

void CargaListaDataset(benchmark::State& state) {
  const QString& carpeta = CarpetaLista();
  const QString& lista = Lista();
  Database base;  // the connection the load's transaction runs on
  base.SetDatabaseName(carpeta);
  Table tabla;
  tabla.SetDatabaseName(carpeta);
  tabla.SetTableName(kTabla);
  tabla.Open();
  for (auto _ : state) {
    CargarLineasLista(tabla, lista, 3);
    tabla.Close();
    Vaciar(carpeta, state);
    tabla.Open();
  }
}

void CargaListaRaw(benchmark::State& state) {
  const QString& carpeta = CarpetaLista();
  const QString& lista = Lista();
  RawConnection raw(BenchData::DataFile(carpeta));
  RawStatement insert(raw, "INSERT INTO LISTAMLIS (GENEMLISLinea, Codigo, Nombre, Precio) VALUES (?, ?, ?, ?)");
  for (auto _ : state) {
    raw.Execute("BEGIN");
    const QStringList lineas = lista.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    for (int fila = 0; fila < lineas.size(); ++fila) {
      const QStringList valores = lineas[fila].split(u'|');
      insert.Bind(1, static_cast<qint64>(fila + 1));
      insert.Bind(2, valores.value(0).toLongLong());
      insert.Bind(3, valores.value(1));
      insert.Bind(4, QString(valores.value(2)).replace(u',', u'.').toDouble());
      insert.Step();
      insert.Reset();
    }
    raw.Execute("COMMIT");
    Vaciar(carpeta, state);
  }
}

}  // namespace

BENCHMARK(CargaListaDataset)->Name("ListLoad100000/dataset")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(CargaListaRaw)->Name("ListLoad100000/raw")->Unit(benchmark::kMillisecond)->Iterations(1);
