#include "platform/Exceptions.h"
#include "platform/zip/Descompresion.h"
#include "shell/ZipMstr.h"
#include "tests/core/system/MensajesSimples.h"
#include "tests/platform/zip/ArchivoZipPrueba.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace {

class ArchivoZip : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(carpeta.isValid());
    QDir(carpeta.path()).mkdir(QStringLiteral("destino"));
    zip.ExtrBaseDir = Destino();
  }
  void TearDown() override { zip.UnloadUnzDll(); }

  QString Ruta(const QString& nombre) const { return carpeta.filePath(nombre); }
  QString Destino() const { return Ruta(QStringLiteral("destino")); }

  // The archive's bytes after the given number of bytes of leading data.
  QString ConDatosDelante(const QString& nombre, qint64 delante) {
    const QString temporal = Ruta(QStringLiteral("base.zip"));
    EscribirZip(temporal, {Archivo("a.txt", "uno"), Archivo("b.txt", "dos")});
    QFile base(temporal);
    base.open(QIODevice::ReadOnly);
    QFile archivo(Ruta(nombre));
    archivo.open(QIODevice::WriteOnly);
    archivo.write(QByteArray(delante, 'x') + base.readAll());
    return archivo.fileName();
  }

  QTemporaryDir carpeta;
  MensajesSimples mensajes;
  QObject propietario;
  TZipMaster zip{&propietario};
};

TEST_F(ArchivoZip, TheHeaderScanCountsTheEntriesAndTellsWhatItCannotRead) {
  zip.SetZipFilename(QString());
  EXPECT_EQ(zip.Count(), 0);
  EXPECT_TRUE(mensajes.textos.isEmpty());

  QFile texto(Ruta(QStringLiteral("texto.zip")));
  texto.open(QIODevice::WriteOnly);
  texto.write("una linea de texto\r\n");
  texto.close();
  zip.SetZipFilename(texto.fileName());
  EXPECT_EQ(zip.Count(), 0);
  EXPECT_EQ(mensajes.textos, QStringList{QStringLiteral("No valid zip entries found")});

  struct Caso {
    const char* nombre;
    qint64 delante;
    int cuenta;
  };
  for (const Caso& caso : {Caso{"cerca.zip", 59990, 2}, Caso{"lejos.zip", 60010, 0}, Caso{"lejos.zip", 14000 + 59990, 0},
                           Caso{"auto.EXE", 14000 + 59990, 2}, Caso{"auto.exe", 14000 + 60010, 0}}) {
    SCOPED_TRACE(caso.delante);
    mensajes.textos.clear();
    zip.SetZipFilename(ConDatosDelante(QString::fromLatin1(caso.nombre), caso.delante));
    EXPECT_EQ(zip.Count(), caso.cuenta);
    EXPECT_EQ(mensajes.textos.size(), caso.cuenta == 0 ? 1 : 0);
  }
}

TEST_F(ArchivoZip, AnArchiveCutInsideItsSecondEntryRaisesAndKeepsTheEntryNamesAsStored) {
  const QString ruta = Ruta(QStringLiteral("cortado.zip"));
  EscribirZip(ruta, {Archivo("a.txt", "uno"), Archivo("b\x82.txt", QByteArray(4000, 'q'))});
  zip.SetZipFilename(ruta);
  ASSERT_EQ(zip.Count(), 2);
  EXPECT_EQ(zip.Entry(1).FileName, QByteArray("b\x82.txt"));
  QFile archivo(ruta);
  archivo.open(QIODevice::ReadWrite);
  archivo.resize(zip.Entry(0).FileName.size() + 30 + 3 + 30 + 7 + 10);
  archivo.close();
  try {
    zip.SetZipFilename(ruta);
    FAIL() << "no exception";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), QStringLiteral("Error 3 reading Zip file"));
  }
}

TEST_F(ArchivoZip, ExtractUnpacksIntoTheBaseFolderWithoutChangingTheCurrentFolderAndEmptiesThePatterns) {
  const QString ruta = Ruta(QStringLiteral("p.zip"));
  EscribirZip(ruta, {Archivo("a.txt", "uno"), Archivo("sub/b.txt", "dos")});
  const QString actual = QDir::currentPath();
  zip.SetZipFilename(ruta);
  zip.ExtrOptions = TZipMaster::ExtrDirNames | TZipMaster::ExtrOverWrite;
  zip.Extract();
  EXPECT_EQ(zip.SuccessCnt(), 2);
  EXPECT_TRUE(QFile::exists(Destino() + QStringLiteral("/sub/b.txt")));
  EXPECT_EQ(QDir::currentPath(), actual);
  EXPECT_EQ(zip.FSpecArgs.Count(), 0);
  EXPECT_FALSE(TZipMaster::UnzDllLoaded());  // loaded by Extract, so let go again

  zip.LoadUnzDll();
  zip.FSpecArgs.Add(QStringLiteral("*.txt"));
  zip.ExtrOptions = TZipMaster::ExtrOverWrite;
  zip.Extract();
  EXPECT_EQ(zip.SuccessCnt(), 2);
  EXPECT_EQ(zip.FSpecArgs.Count(), 0);
  EXPECT_TRUE(TZipMaster::UnzDllLoaded());

  zip.SetDLLDirectory(QStringLiteral("C:\\ZEM\\"));
  EXPECT_EQ(zip.DLLDirectory(), QStringLiteral("C:\\ZEM"));
  zip.SetZipFilename(Ruta(QStringLiteral("falta.zip")));
  zip.Extract();
  EXPECT_EQ(zip.SuccessCnt(), 0);
  EXPECT_EQ(mensajes.textos, QStringList{QStringLiteral("Error - no zip file specified")});
}

TEST_F(ArchivoZip, CancelStopsTheLibraryAndBusyRefusesASecondExtraction) {
  const QString ruta = Ruta(QStringLiteral("p.zip"));
  EscribirZip(ruta, {Archivo("a.txt", "uno"), Archivo("b.txt", "dos")});
  zip.SetZipFilename(ruta);
  zip.ExtrOptions = TZipMaster::ExtrOverWrite;
  QStringList progreso;
  zip.OnProgress = [&](QObject* emisor, int tipo, const QString& nombre, std::int64_t) {
    EXPECT_EQ(emisor, &zip);
    EXPECT_TRUE(zip.Busy());
    progreso.append(QString::number(tipo) + nombre);
    zip.Extract();  // busy: does nothing
    if (nombre == QLatin1String("b.txt")) zip.Cancel = true;
  };
  zip.Extract();
  EXPECT_EQ(progreso, (QStringList{u"0a.txt"_qs, u"1 "_qs, u"0b.txt"_qs}));
  EXPECT_EQ(zip.SuccessCnt(), 0);
  EXPECT_TRUE(QDir(Destino()).isEmpty());
  EXPECT_FALSE(zip.Busy());
  EXPECT_FALSE(zip.Cancel);

  zip.OnProgress = nullptr;
  zip.Extract();
  EXPECT_EQ(zip.SuccessCnt(), 2);
}

TEST_F(ArchivoZip, ARefusedArchiveIsToldThroughTheMessageEventWithoutItsLineEnds) {
  const QString ruta = Ruta(QStringLiteral("p.zip"));
  EscribirZip(ruta, {Archivo("a.txt", "uno"), Archivo("../fuera.txt", "dos")});
  zip.SetZipFilename(ruta);
  QStringList textos;
  zip.OnMessage = [&](QObject*, int codigo, const QString& texto) {
    EXPECT_EQ(codigo, Descompresion::ErrorEntrada);
    textos.append(texto);
  };
  zip.Extract();
  EXPECT_EQ(zip.SuccessCnt(), 0);
  EXPECT_EQ(textos, QStringList{QStringLiteral("Unsafe entry name: ../fuera.txt")});
  EXPECT_TRUE(QDir(Destino()).isEmpty());
}

}  // namespace

TEST(ZipMaster, ACreatedComponentHoldsItsDesignValues) {
  QObject propietario;
  const TZipMaster zip(&propietario);
  EXPECT_FALSE(zip.Verbose);
  EXPECT_FALSE(zip.Trace);
  EXPECT_EQ(zip.AddCompLevel, 9);
  EXPECT_EQ(zip.AddOptions, 0u);
  EXPECT_EQ(zip.ExtrOptions, TZipMaster::ExtrOptionSet());
  EXPECT_EQ(zip.SFXOptions, 0u);
  EXPECT_EQ(zip.SFXOverWrMode, TZipMaster::OvrConfirm);
  EXPECT_EQ(zip.SFXCaption, QStringLiteral("Self-extracting Archive"));
  EXPECT_EQ(zip.Password, QString());
}
