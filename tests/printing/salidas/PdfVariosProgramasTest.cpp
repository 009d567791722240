#include "tests/printing/GenelimpFixture.h"

#include "platform/TextFile.h"
#include "tests/fixtures/ReportTestSupport.h"
#include "tests/fixtures/SecondProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>

#include <atomic>
#include <csignal>
#include <thread>

#include <unistd.h>

namespace {

// Page n of the PDF rendered at 20 dpi.
QImage Pagina(const QString& pdf, int n) {
  QProcess pdftoppm;
  const QString base = pdf + u"-pagina"_qs;
  pdftoppm.start(u"pdftoppm"_qs, {u"-r"_qs, u"20"_qs, u"-f"_qs, QString::number(n), u"-l"_qs, QString::number(n), u"-png"_qs,
                                  u"-singlefile"_qs, pdf, base});
  pdftoppm.waitForFinished(60000);
  const QImage imagen(base + u".png"_qs);
  QFile::remove(base + u".png"_qs);
  return imagen;
}

// Whether the left half of the page holds more ink than the right half.
bool TintaALaIzquierda(const QImage& pagina) {
  qint64 izquierda = 0;
  qint64 derecha = 0;
  for (int y = 0; y < pagina.height(); ++y)
    for (int x = 0; x < pagina.width(); ++x)
      if (qGray(pagina.pixel(x, y)) < 240) ++(x < pagina.width() / 2 ? izquierda : derecha);
  return izquierda > derecha;
}

// True while one of this program's files is open in the folder.
bool EscribeEn(const QString& carpeta) {
  const QString prefijo = QFileInfo(carpeta).canonicalFilePath() + u'/';
  for (const QFileInfo& enlace : QDir(u"/proc/self/fd"_qs).entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
    if (enlace.symLinkTarget().startsWith(prefijo)) return true;
  return false;
}

// Job "impreso-pdf": in the installation ZEM_CARPETA, prints the printout
// ZEM_IMPRESO over the temporary tables TEMPIMP<ZEM_MARCA> and
// LTEMPIMP<ZEM_MARCA> to the PDF ZEM_DESTINO once "go" arrives; reports
// "ready" before and "done" after. With ZEM_MATAR it kills itself as soon as
// it has a file open in the target's folder.
void impresoPdf() {
  QDir::setCurrent(qEnvironmentVariable("ZEM_CARPETA"));
  const ScriptedPresenter sinMensajes;
  TfGENEINIC servicios({});
  const QString marca = qEnvironmentVariable("ZEM_MARCA");
  const QString destino = qEnvironmentVariable("ZEM_DESTINO");
  TfGENELIMP formulario;
  for (auto [tabla, nombre] : {std::pair{formulario.Temporal, u"TEMPIMP"_qs}, std::pair{formulario.LTemporal, u"LTEMPIMP"_qs}}) {
    tabla->SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    tabla->SetTableName(nombre + marca);
  }
  formulario.LTemporal->SetIndexFieldNames(u"CodigoTemporal;Linea;LineaMemo"_qs);
  formulario.LTemporal->SetMasterFields(u"CodigoTemporal"_qs);
  formulario.Temporal->Open();
  formulario.LTemporal->Open();
  CodigoImpresoActual = qEnvironmentVariable("ZEM_IMPRESO");
  formulario.SalidaImpreso = u"PDF:"_qs + destino;
  SecondProcess::Report(u"ready"_qs);
  if (SecondProcess::NextLine() != u"go") return;
  std::atomic<bool> terminado{false};
  std::thread vigia;
  if (qEnvironmentVariableIsSet("ZEM_MATAR")) {
    vigia = std::thread([&terminado, carpeta = QFileInfo(destino).path()] {
      while (!terminado)
        if (EscribeEn(carpeta)) ::kill(::getpid(), SIGKILL);
    });
  }
  formulario.ImprimirImpreso();
  terminado = true;
  if (vigia.joinable()) vigia.join();
  SecondProcess::Report(u"done"_qs);
}

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"impreso-pdf"_qs, impresoPdf);

class PdfVariosProgramas : public Genelimp {
 protected:
  PdfVariosProgramas() { QDir(carpeta.Path()).mkdir(u"salida"_qs); }

  // Each program its own temporary tables, of as many documents, and its
  // printout drawing a box on its own side of each page.
  void Preparar(const QString& marca, int documentos) {
    Ejecutar(u"CREATE TABLE TEMPIMP%1 (CodigoTemporal INTEGER, CodigoImpreso VARCHAR(20) NULL, NumeroCopias INTEGER NULL, "
             "CONSTRAINT TEMPIMP%1_Clave1 PRIMARY KEY (CodigoTemporal))"_qs.arg(marca));
    Ejecutar(u"CREATE TABLE LTEMPIMP%1 (CodigoTemporal INTEGER, Linea SMALLINT, LineaMemo SMALLINT, "
             "CONSTRAINT LTEMPIMP%1_Clave1 PRIMARY KEY (CodigoTemporal, Linea, LineaMemo))"_qs.arg(marca));
    QStringList filas;
    for (int n = 1; n <= documentos; ++n) filas << u"(%1)"_qs.arg(n);
    Ejecutar(u"INSERT INTO TEMPIMP%1 (CodigoTemporal) VALUES "_qs.arg(marca) + filas.join(u','));
    const bool izquierda = marca.startsWith(u'A');
    Impreso(u"F"_qs + marca, u"[CABECERA]\r\nRect=%1;20;%2;250;3"_qs.arg(izquierda ? 10 : 120).arg(izquierda ? 90 : 200));
  }

  std::unique_ptr<SecondProcess> Empezar(const QString& marca, QMap<QString, QString> mas = {}) {
    mas.insert(u"ZEM_CARPETA"_qs, carpeta.Path());
    mas.insert(u"ZEM_MARCA"_qs, marca);
    mas.insert(u"ZEM_IMPRESO"_qs, u"F"_qs + marca);
    if (!mas.contains(u"ZEM_DESTINO"_qs)) mas.insert(u"ZEM_DESTINO"_qs, Destino(marca));
    auto copia = std::make_unique<SecondProcess>(u"impreso-pdf"_qs, mas);
    EXPECT_EQ(copia->ReadReport(), u"ready"_qs);
    return copia;
  }

  QString Destino(const QString& marca) const { return carpeta.File(u"salida/"_qs + marca + u".pdf"_qs); }
  QStringList Salida() const { return QDir(carpeta.File(u"salida"_qs)).entryList(QDir::Files | QDir::Hidden | QDir::System); }
};

}  // namespace

TEST_F(PdfVariosProgramas, TwoProgramsWritingPdfsAtOnceEachGetTheirOwnPages) {
  Preparar(u"A"_qs, 20);
  Preparar(u"B"_qs, 15);
  auto a = Empezar(u"A"_qs);
  auto b = Empezar(u"B"_qs);
  a->Send(u"go"_qs);
  b->Send(u"go"_qs);
  for (auto* copia : {a.get(), b.get()}) {
    EXPECT_EQ(copia->ReadReport(), u"done"_qs);
    EXPECT_EQ(copia->Finish(), 0);
  }
  for (const auto& [marca, paginas] : {std::pair{u"A"_qs, 20}, std::pair{u"B"_qs, 15}}) {
    SCOPED_TRACE(marca.toStdString());
    EXPECT_EQ(PdfInfo(Destino(marca)).value(u"Pages"_qs).toInt(), paginas);
    for (const int n : {1, paginas}) EXPECT_EQ(TintaALaIzquierda(Pagina(Destino(marca), n)), marca == u"A") << n;
  }
  EXPECT_EQ(Salida(), QStringList({u"A.pdf"_qs, u"B.pdf"_qs}));
}

// The kill lands while the target is open only when the watching thread is
// given the processor in time; a run it misses must still leave a whole new
// file, and runs go on until one is killed.
TEST_F(PdfVariosProgramas, AProgramKilledWhileWritingLeavesTheEarlierFileWhole) {
  const QByteArray anterior = "%PDF-1.4 anterior\n%%EOF\n";
  bool muerto = false;
  for (int intento = 1; intento <= 20 && !muerto; ++intento) {
    SCOPED_TRACE(intento);
    // A printout empties its temporary tables: each run has its own.
    const QString marca = u"A"_qs + QString::number(intento);
    Preparar(marca, 25);
    TextFile::WriteBytes(Destino(u"A"_qs), anterior);
    auto a = Empezar(marca, {{u"ZEM_MATAR"_qs, u"1"_qs}, {u"ZEM_DESTINO"_qs, Destino(u"A"_qs)}});
    a->Send(u"go"_qs);
    a->Finish();
    muerto = a->Crashed();
    if (muerto) EXPECT_EQ(TextFile::ReadBytes(Destino(u"A"_qs)), anterior);
    else EXPECT_EQ(PdfInfo(Destino(u"A"_qs)).value(u"Pages"_qs).toInt(), 25) << "a run not killed wrote it whole";
    EXPECT_EQ(Salida(), QStringList({u"A.pdf"_qs}));
  }
  EXPECT_TRUE(muerto) << "no run was killed while writing";
}
