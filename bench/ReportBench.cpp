// Reports to PDF through the report engine beside the same rows read with raw
// SQLite and drawn with QPainter::drawText at the same places.

#include "bench/support/BenchData.h"
#include "bench/support/RawSqlite.h"
#include "bench/support/ResidentMemory.h"
#include "platform/data/Table.h"
#include "platform/report/DatasetSource.h"
#include "platform/report/PdfSink.h"
#include "platform/report/ReportEngine.h"

#include <QPainter>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kRowHeight = 20;

struct Column {
  const char* field;
  double left;
  double width;
  bool right;
};
constexpr Column kColumns[] = {{"Codigo", 0, 80, true}, {"Nombre", 100, 300, false}, {"Precio", 420, 100, true}};

QString PdfTarget() { return BenchData::Get().Root() + QStringLiteral("/informe.pdf"); }

// The first rows of the dataset.
class FirstRows : public DatasetSource {
 public:
  FirstRows(Dataset& dataset, int rows) : DatasetSource(dataset), rows_(rows) {}
  void First() override {
    DatasetSource::First();
    read_ = 0;
  }
  void Next() override {
    DatasetSource::Next();
    ++read_;
  }
  bool Eof() const override { return read_ >= rows_ || DatasetSource::Eof(); }

 private:
  int rows_;
  int read_ = 0;
};

void ReportPdfDataset(benchmark::State& state, int rows) {
  BenchData::Get().FilterFolder();  // made once, outside the timing
  double peak = 0;
  double before = 0;
  for (auto _ : state) {
    before = ResidentMegabytes();
    Table table;
    table.SetDatabaseName(BenchData::Get().FilterFolder());
    table.SetTableName(QStringLiteral("ARTICULOS"));
    table.Open();
    FirstRows source(table, rows);
    ReportEngine report;
    report.Source = &source;
    Band& detail = report.AddBand(BandKind::Detail, QStringLiteral("Detalle"));
    detail.Height = kRowHeight;
    for (const Column& column : kColumns) {
      ReportItem& item = detail.Add(ItemKind::DataText, QLatin1String(column.field));
      item.DataField = QLatin1String(column.field);
      item.Left = column.left;
      item.Width = column.width;
      if (column.right) item.Alignment = Qt::AlignRight | Qt::AlignTop;
    }
    detail.Item(QStringLiteral("Precio"))->DisplayMask = QStringLiteral("#,##0.00");
    report.OnPage = [&peak](int) { peak = std::max(peak, ResidentMegabytes()); };
    PdfSink sink(PdfTarget());
    benchmark::DoNotOptimize(report.Run(sink));
  }
  state.counters["rss_MB"] = peak;
  state.counters["rss_growth_MB"] = peak - before;
}

void ReportPdfRaw(benchmark::State& state, int rows) {
  RawConnection raw(BenchData::DataFile(BenchData::Get().FilterFolder()));
  const PageSetup page;
  const int rowsPerPage = static_cast<int>(std::floor((page.BottomEdge() - page.TopEdge()) / kRowHeight));
  const QFont font = ReportItem().Font;
  double peak = 0;
  double before = 0;
  for (auto _ : state) {
    before = ResidentMegabytes();
    RawStatement select(raw, "SELECT Codigo, Nombre, Precio FROM ARTICULOS ORDER BY Codigo LIMIT ?");
    select.Bind(1, static_cast<qint64>(rows));
    QPdfWriter writer(PdfTarget());
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter(&writer);
    painter.scale(kPdfScale, kPdfScale);
    painter.setFont(font);
    for (int row = 0; select.Step(); ++row) {
      if (row > 0 && row % rowsPerPage == 0) {
        writer.newPage();
        peak = std::max(peak, ResidentMegabytes());
      }
      const double top = page.TopEdge() + (row % rowsPerPage) * kRowHeight;
      const QString texts[] = {QString::number(select.Int64(0)), select.Text(1), QString::number(select.Double(2), 'f', 2)};
      for (int column = 0; column < 3; ++column) {
        const Column& place = kColumns[column];
        painter.drawText(QRectF(page.LeftEdge() + place.left, top, place.width, 17),
                         place.right ? Qt::AlignRight | Qt::AlignTop : Qt::AlignLeft | Qt::AlignTop, texts[column]);
      }
    }
    painter.end();
  }
  state.counters["rss_MB"] = peak;
  state.counters["rss_growth_MB"] = peak - before;
}

}  // namespace

BENCHMARK_CAPTURE(ReportPdfDataset, 10000, 10000)->Name("ReportPdf10000/dataset")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(ReportPdfRaw, 10000, 10000)->Name("ReportPdf10000/raw")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(ReportPdfDataset, 100000, 100000)->Name("ReportPdf100000/dataset")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(ReportPdfRaw, 100000, 100000)->Name("ReportPdf100000/raw")->Unit(benchmark::kMillisecond)->Iterations(1);
