// The programmable listing of the large table into the pages the preview
// shows, beside the same rows read with raw SQLite and written as lines to a
// temporary file: the listing's pages go to their file as they are made, so
// its memory must not grow with the rows.

#include "bench/support/BenchData.h"
#include "bench/support/RawSqlite.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/report/RecordedPages.h"
#include "platform/report/ReportEngine.h"
#include "printing/Genelpro.h"

#include <QTemporaryFile>
#include <QTextStream>

#include <benchmark/benchmark.h>

namespace {

void ListadoDataset(benchmark::State& state) {
  const QString& carpeta = BenchData::Get().LargeFolder();
  for (auto _ : state) {
    Table tabla;
    tabla.SetDatabaseName(carpeta);
    tabla.SetTableName(QStringLiteral("ARTICULOS"));
    tabla.Open();
    for (int i = 0; i < tabla.FieldCount(); ++i) tabla.Fields(i).SetTag(i + 1);
    TfGENELPRO informe;
    informe.Titulo = QStringLiteral("Artículos");
    informe.SetDataSet(&tabla);
    RecordedPages paginas;
    informe.QuickReport().Run(paginas);
    state.counters["pages"] = paginas.PageCount();
  }
}

void ListadoRaw(benchmark::State& state) {
  RawConnection raw(BenchData::DataFile(BenchData::Get().LargeFolder()));
  for (auto _ : state) {
    QTemporaryFile archivo;
    archivo.open();
    QTextStream lineas(&archivo);
    RawStatement select(raw, "SELECT Codigo, Nombre, Precio, Familia FROM ARTICULOS ORDER BY Codigo");
    while (select.Step())
      lineas << select.Int64(0) << '\t' << select.Text(1) << '\t' << QString::number(select.Double(2), 'f', 2) << '\t'
             << select.Text(3) << '\n';
  }
}

}  // namespace

BENCHMARK(ListadoDataset)->Name("ProgrammableListing/dataset")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ListadoRaw)->Name("ProgrammableListing/raw")->Unit(benchmark::kMillisecond)->Iterations(1);
