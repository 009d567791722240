// A printed form whose one line holds a memo of 20,000 paragraphs, printed
// to PDF twice on one engine form (the second run removes the first run's
// continuation rows and writes them again), beside the same work on raw
// SQLite on the same file: the rows removed by one statement and written one
// by one in one transaction, read back in order and drawn with
// QPainter::drawText on a QPdfWriter at the same places.

#include "bench/support/BenchData.h"
#include "bench/support/RawSqlite.h"
#include "core/connections/Conexiones.h"
#include "core/sql/BaseDatosSQL.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Geneinic.h"
#include "platform/data/Database.h"
#include "platform/data/Table.h"
#include "printing/Genelimp.h"
#include "tests/fixtures/InstallationBuilder.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kParagraphs = 20000;
constexpr int kLinesPerPage = 50;  // (FinLineas - InicioLineas) div AlturaLinea
const char* const kProgram =
    "[SISTEMA]\r\nInicioLineas=30\r\nFinLineas=280\r\nAlturaLinea=5\r\n[CABECERA]\r\nText=10;10;0;Factura\r\n"
    "[LINEAS]\r\nCamp=10;0;150;Notas";

void MustRun(const QString& sql) {
  const QString error = EjecutarSQL(sql, QStringLiteral("Database"), QStringLiteral("Silenciosa"));
  if (error.isEmpty()) return;
  std::fprintf(stderr, "%s\n", qPrintable(error));
  std::exit(1);
}

QString Paragraph(int n) { return QStringLiteral("Párrafo %1 de las condiciones de la factura").arg(n); }

// An installation on the embedded server of the benchmark's own process,
// with the printout and the caller's two temporary tables: one document, one
// line whose memo holds the paragraphs.
class MemoInstallation {
 public:
  static MemoInstallation& Get() {
    static MemoInstallation* installation = nullptr;
    if (!installation) {
      installation = new MemoInstallation();
      qAddPostRoutine([] {
        delete installation;
        installation = nullptr;
      });
    }
    return *installation;
  }
  const QString& File() const { return file_; }
  QString Pdf(const char* name) const { return QDir(folder_).filePath(QString::fromLatin1(name)); }
  ~MemoInstallation() {
    services_.reset();
    QDir(folder_).removeRecursively();
  }

 private:
  MemoInstallation()
      : folder_(QDir(BenchData::Get().Root()).filePath(QStringLiteral("impreso-%1").arg(QCoreApplication::applicationPid()))) {
    QDir().mkpath(folder_);
    QDir::setCurrent(folder_);
    InstallationBuilder(folder_).Write();
    services_ = std::make_unique<TfGENEINIC>(QStringList{});
    MustRun(QStringLiteral("CREATE TABLE IMPRESO (Codigo VARCHAR(10), Descripcion VARCHAR(40) NULL, TipoDocumento VARCHAR(40) NULL, "
                           "Modo VARCHAR(10) NULL, Instrucciones TEXT NULL, Formato VARCHAR(30) NULL, "
                           "ImpresoraPorDefecto VARCHAR(100) NULL, CONSTRAINT IMPRESO_Clave1 PRIMARY KEY (Codigo))"));
    MustRun(QStringLiteral("CREATE TABLE TEMPIMP (CodigoTemporal INTEGER, CONSTRAINT TEMPIMP_Clave1 PRIMARY KEY (CodigoTemporal))"));
    MustRun(QStringLiteral("CREATE TABLE LTEMPIMP (CodigoTemporal INTEGER, Linea SMALLINT, LineaMemo SMALLINT, Notas TEXT NULL, "
                           "CONSTRAINT LTEMPIMP_Clave1 PRIMARY KEY (CodigoTemporal, Linea, LineaMemo))"));
    MustRun(QStringLiteral("CREATE TABLE LRAW (CodigoTemporal INTEGER, Linea SMALLINT, LineaMemo SMALLINT, Notas TEXT NULL, "
                           "CONSTRAINT LRAW_Clave1 PRIMARY KEY (CodigoTemporal, Linea, LineaMemo))"));
    file_ = Conexiones(*services_).Database->FileName();
    QStringList paragraphs;
    for (int n = 1; n <= kParagraphs; ++n) paragraphs << Paragraph(n);
    RawConnection raw(file_);
    RawStatement printout(raw, "INSERT INTO IMPRESO (Codigo, Descripcion, Modo, Instrucciones, Formato) "
                               "VALUES ('FAC', 'Factura', 'Grafico', ?, 'A4')");
    printout.Bind(1, QString::fromUtf8(kProgram));
    printout.Step();
    raw.Execute("INSERT INTO TEMPIMP (CodigoTemporal) VALUES (1)");
    for (const char* table : {"LTEMPIMP", "LRAW"}) {
      RawStatement line(raw, QStringLiteral("INSERT INTO %1 (CodigoTemporal, Linea, LineaMemo, Notas) VALUES (1, 1, 0, ?)")
                                 .arg(QLatin1String(table))
                                 .toUtf8()
                                 .constData());
      line.Bind(1, paragraphs.join(QStringLiteral("\r\n")));
      line.Step();
    }
  }

  QString folder_;
  std::unique_ptr<TfGENEINIC> services_;
  QString file_;
};

void ImpresoMemoDataset(benchmark::State& state) {
  MemoInstallation& installation = MemoInstallation::Get();
  CodigoImpresoActual = QStringLiteral("FAC");
  VisualizarEnPantalla = false;
  for (auto _ : state) {
    TfGENELIMP form;
    for (auto [table, name] : {std::pair{form.Temporal, QStringLiteral("TEMPIMP")}, std::pair{form.LTemporal, QStringLiteral("LTEMPIMP")}}) {
      table->SetDatabaseName(BaseDatosBDE(QStringLiteral("Database")));
      table->SetTableName(name);
    }
    form.LTemporal->SetIndexFieldNames(QStringLiteral("CodigoTemporal;Linea;LineaMemo"));
    form.LTemporal->SetMasterFields(QStringLiteral("CodigoTemporal"));
    form.Temporal->Open();
    form.LTemporal->Open();
    for (const char* pdf : {"memo1.pdf", "memo2.pdf"}) {
      form.SalidaImpreso = QStringLiteral("PDF:") + installation.Pdf(pdf);
      form.ImprimirImpreso();
    }
    state.counters["rows"] = form.LTemporal->RecordCount();
    state.counters["pages"] = form.NumeroPaginas();
  }
}

// 150 pixels an inch, as the printout's PDF pages.
int Pixels(double millimetres) { return qRound(millimetres * 150 / 25.4); }

void ImpresoMemoRaw(benchmark::State& state) {
  MemoInstallation& installation = MemoInstallation::Get();
  RawConnection raw(installation.File());
  QStringList paragraphs;
  {
    RawStatement memo(raw, "SELECT Notas FROM LRAW WHERE LineaMemo = 0");
    memo.Step();
    paragraphs = memo.Text(0).split(QStringLiteral("\r\n"));
  }
  for (auto _ : state) {
    for (const char* pdf : {"raw1.pdf", "raw2.pdf"}) {
      raw.Execute("DELETE FROM LRAW WHERE CodigoTemporal = 1 AND LineaMemo > 0");
      raw.Execute("BEGIN");
      {
        RawStatement insert(raw, "INSERT INTO LRAW (CodigoTemporal, Linea, LineaMemo, Notas) VALUES (1, 1, ?, ?)");
        for (int n = 1; n < paragraphs.size(); ++n) {
          insert.Bind(1, static_cast<qint64>(n));
          insert.Bind(2, paragraphs[n]);
          insert.Step();
          insert.Reset();
        }
      }
      raw.Execute("COMMIT");
      QPdfWriter writer(installation.Pdf(pdf));
      writer.setResolution(150);
      writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
      QPainter painter(&writer);
      QFont font(QStringLiteral("Arial"), 8);
      painter.setFont(font);
      RawStatement lines(raw, "SELECT LineaMemo, Notas FROM LRAW WHERE CodigoTemporal = 1 ORDER BY Linea, LineaMemo");
      int line = 0;
      while (lines.Step()) {
        const QString text = lines.Int64(0) == 0 ? lines.Text(1).section(QStringLiteral("\r\n"), 0, 0) : lines.Text(1);
        if (line == kLinesPerPage) {
          writer.newPage();
          line = 0;
        }
        if (line == 0) painter.drawText(Pixels(10), Pixels(10) + painter.fontMetrics().ascent(), QStringLiteral("Factura"));
        painter.drawText(Pixels(10), Pixels(30 + 5 * line) + painter.fontMetrics().ascent(), text);
        ++line;
      }
    }
  }
}

}  // namespace

BENCHMARK(ImpresoMemoDataset)->Name("PrintedFormMemo20000/dataset")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ImpresoMemoRaw)->Name("PrintedFormMemo20000/raw")->Unit(benchmark::kMillisecond)->Iterations(1);
