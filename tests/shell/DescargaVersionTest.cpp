#include "core/progress/Geneprog.h"
#include "platform/net/OpcionesRed.h"
#include "shell/DescargaVersion.h"
#include "shell/ZipMstr.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/fixtures/ServidorLocal.h"
#include "tests/platform/zip/ArchivoZipPrueba.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

// The maker's server on loopback, holding the packages, and an
// administrator's run of the program.
class Descarga : public ConexionesFixture {
 protected:
  void SetUp() override {
    Iniciar();
    modulo = std::make_unique<TModuloDatos>();
    ModuloDatos = modulo.get();
    CodigoUsuarioActual = u"ADMIN"_qs;
    ASSERT_TRUE(servidor.isValid());
    Poner(u"gene/Unzdll.dll"_qs, "biblioteca");
    EscribirZip(Ruta(u"estandar/AYUDA.zip"_qs), {Archivo("ZEMWIN.CHM", "ayuda")});
    EscribirZip(Ruta(u"estandar/DATABASE.zip"_qs), {Archivo("SCRIPT.CMM", "script")});
    EscribirZip(Ruta(u"estandar/TUVAWIN.zip"_qs), {Archivo("tuvawin", "nominas")});
    EscribirZip(Ruta(u"clientes/Cliente Uno/ESPECIAL.zip"_qs), {Archivo("esp1win", "especial")});
    previas = OpcionesRed::Actuales();
    InstalarEleccionPaquetes([this](const QString& opciones, const QString& lista) {
      ofrecidas = lista;
      opcionesEleccion = opciones;
      return elegir;
    });
  }
  void TearDown() override {
    InstalarEleccionPaquetes(nullptr);
    OpcionesRed::Actuales() = previas;
    CarpetaFTPClienteWebZEM.clear();
  }

  QString Ruta(const QString& relativa) const {
    const QString ruta = servidor.filePath(relativa);
    QDir().mkpath(QFileInfo(ruta).path());
    return ruta;
  }
  void Poner(const QString& relativa, const QByteArray& contenido) {
    QFile archivo(Ruta(relativa));
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.write(contenido);
  }

  void Arrancar(const QStringList& extra = {}) {
    ftp = std::make_unique<ServidorLocal>(u"ftp_prueba.py"_qs,
                                          QStringList{servidor.path(), u"ftpZEMDescargas"_qs, u"K%m7ub41"_qs} + extra);
    OpcionesRed::Actuales().redirecciones = {ServidorDescargas + u":21:127.0.0.1:"_qs + QString::number(ftp->Puerto())};
    OpcionesRed::Actuales().limiteSilencioSegundos = 5;
  }

  static QByteArray Leer(const QString& ruta) {
    QFile archivo(ruta);
    return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray("<ninguno>");
  }
  static QString Descargado(const QString& nombre) { return CarpetaPrograma + u"DOWNLOAD/"_qs + nombre; }

  std::unique_ptr<TModuloDatos> modulo;
  QTemporaryDir servidor;
  std::unique_ptr<ServidorLocal> ftp;
  OpcionesRed previas;
  QString elegir, ofrecidas, opcionesEleccion;
  QObject propietario;
  TZipMaster zip{&propietario};
};

TEST_F(Descarga, TheScriptsGoIntoTheGeneralFolderAndTheLibraryIsAlwaysFetchedButNeverOffered) {
  Arrancar();
  elegir = u"Archivos Script de BBDD (DATABASE.zip)"_qs;
  DescargarUltimaVersion(zip);
  EXPECT_EQ(ofrecidas, PaquetesDescarga.join(u"\r\n"_qs));
  EXPECT_EQ(PaquetesDescarga.size(), 32);
  EXPECT_FALSE(ofrecidas.contains(u"Unzdll"_qs));
  EXPECT_EQ(opcionesEleccion, u"Titulo=Seleccion de Descargas\r\nFormato=0,0,300,0\r\nModo=Multiple"_qs);
  EXPECT_EQ(Leer(Descargado(u"Unzdll.dll"_qs)), "biblioteca");
  EXPECT_EQ(Leer(CarpetaPrograma + u"Unzdll.dll"_qs), "biblioteca");
  EXPECT_EQ(Leer(QDir(PathBaseDatosGeneral).filePath(u"SCRIPT.CMM"_qs)), "script");
  EXPECT_EQ(Leer(CarpetaPrograma + u"SCRIPT.CMM"_qs), "<ninguno>");
  EXPECT_EQ(fGENEPROG, nullptr);
}

TEST_F(Descarga, TwoPackagesAreBothUnpackedAndTheSpecialOneNeedsTheCustomerFolder) {
  Arrancar();
  QDir().mkpath(CarpetaPrograma + u"DOWNLOAD"_qs);
  EscribirZip(Descargado(u"ESPECIAL.zip"_qs), {Archivo("viejo", "antiguo")});
  const QByteArray especialViejo = Leer(Descargado(u"ESPECIAL.zip"_qs));
  elegir = u"Archivos de Ayuda (AYUDA.zip)\r\nNóminas (TUVAWIN.zip)\r\nAplicaciones Especiales (ESPECIAL.zip)"_qs;
  DescargarUltimaVersion(zip);
  EXPECT_EQ(Leer(CarpetaPrograma + u"ZEMWIN.CHM"_qs), "ayuda");
  EXPECT_EQ(Leer(CarpetaPrograma + u"tuvawin"_qs), "nominas");
  EXPECT_EQ(Leer(Descargado(u"ESPECIAL.zip"_qs)), especialViejo);
  EXPECT_EQ(Leer(CarpetaPrograma + u"viejo"_qs), "<ninguno>");

  CarpetaFTPClienteWebZEM = u"Cliente Uno"_qs;
  elegir = u"Aplicaciones Especiales (ESPECIAL.zip)"_qs;
  DescargarUltimaVersion(zip);
  EXPECT_EQ(Leer(CarpetaPrograma + u"esp1win"_qs), "especial");
}

TEST_F(Descarga, AServerKilledMidTransferLeavesTheOldZipAndTheProgramFolderAndRaises) {
  QByteArray grande(2 << 20, '\0');
  for (char& byte : grande) byte = char(QRandomGenerator::global()->generate());
  EscribirZip(Ruta(u"estandar/TUVAWIN.zip"_qs), {Archivo("tuvawin", grande)});
  Arrancar({u"300000"_qs});
  QDir().mkpath(CarpetaPrograma + u"DOWNLOAD"_qs);
  EscribirZip(Descargado(u"TUVAWIN.zip"_qs), {Archivo("tuvawin", "antiguo")});
  const QByteArray viejo = Leer(Descargado(u"TUVAWIN.zip"_qs));
  elegir = u"Nóminas (TUVAWIN.zip)"_qs;
  EXPECT_THROW(DescargarUltimaVersion(zip), Exception);
  EXPECT_EQ(Leer(Descargado(u"TUVAWIN.zip"_qs)), viejo);
  EXPECT_EQ(QDir(CarpetaPrograma + u"DOWNLOAD"_qs).entryList(QDir::Files | QDir::Hidden), QStringList{u"TUVAWIN.zip"_qs});
  EXPECT_EQ(Leer(CarpetaPrograma + u"tuvawin"_qs), "<ninguno>");
  EXPECT_EQ(fGENEPROG, nullptr);
}

TEST_F(Descarga, AFailedLoginRaisesBeforeAnythingIsFetched) {
  ftp = std::make_unique<ServidorLocal>(u"ftp_prueba.py"_qs,
                                        QStringList{servidor.path(), u"ftpZEMDescargas"_qs, u"otra"_qs});
  OpcionesRed::Actuales().redirecciones = {ServidorDescargas + u":21:127.0.0.1:"_qs + QString::number(ftp->Puerto())};
  elegir = u"Archivos de Ayuda (AYUDA.zip)"_qs;
  EXPECT_THROW(DescargarUltimaVersion(zip), Exception);
  EXPECT_EQ(Leer(Descargado(u"AYUDA.zip"_qs)), "<ninguno>");
  EXPECT_EQ(fGENEPROG, nullptr);
}

TEST_F(Descarga, ARefusedArchiveIsToldAndChangesNothing) {
  EscribirZip(Ruta(u"estandar/AYUDA.zip"_qs), {Archivo("ZEMWIN.CHM", "ayuda"), Archivo("../fuera", "x")});
  Arrancar();
  elegir = u"Archivos de Ayuda (AYUDA.zip)"_qs;
  mensajes.Expect(u"A"_qs);
  DescargarUltimaVersion(zip);
  EXPECT_EQ(mensajes.Texts(),
            QStringList{u"¡No se ha podido descomprimir el archivo AYUDA.zip! Motivo: Unsafe entry name: ../fuera"_qs});
  EXPECT_EQ(Leer(CarpetaPrograma + u"ZEMWIN.CHM"_qs), "<ninguno>");
}

// A staging folder someone planted beside the program folder: every package
// is unpacked, and the folder is told of once at the end, not as a failure.
TEST_F(Descarga, APlantedStagingFolderIsToldOnceAndThePackagesAreUnpackedAnyway) {
  const QFileInfo programa(QFileInfo(CarpetaPrograma).canonicalFilePath());
  const QString resto = programa.absolutePath() + u"/."_qs + programa.fileName() + u".descomprimiendo-Ab12Cd"_qs;
  const struct Limpieza {
    QString resto;
    ~Limpieza() { QDir(resto).removeRecursively(); }
  } limpieza{resto};
  ASSERT_TRUE(QDir().mkpath(resto));
  QFile lista(resto + u"/colocando"_qs);
  ASSERT_TRUE(lista.open(QIODevice::WriteOnly));
  lista.write("A..%2Fvictima\n");
  lista.close();
  Arrancar();
  elegir = u"Archivos de Ayuda (AYUDA.zip)\r\nNóminas (TUVAWIN.zip)"_qs;
  mensajes.Expect(u"A"_qs);
  DescargarUltimaVersion(zip);
  EXPECT_EQ(mensajes.Texts(), QStringList{u"Restos de descompresión no válidos en "_qs + resto});
  EXPECT_EQ(Leer(CarpetaPrograma + u"ZEMWIN.CHM"_qs), "ayuda");
  EXPECT_EQ(Leer(CarpetaPrograma + u"tuvawin"_qs), "nominas");
  EXPECT_TRUE(QFileInfo::exists(resto + u"/colocando"_qs));
}

TEST_F(Descarga, OnlyAnAdministratorIsOfferedThePackages) {
  CodigoUsuarioActual = u"NADIE"_qs;
  mensajes.Expect(u"A"_qs);
  DescargarUltimaVersion(zip);
  EXPECT_TRUE(ofrecidas.isEmpty());
}

TEST_F(Descarga, WithoutAnotherChoiceThePackagesAreChosenInTheSelectionList) {
  // No selection form is registered in this program: the routine says so.
  InstalarEleccionPaquetes(nullptr);
  Arrancar();
  EXPECT_THROW(
      try { DescargarUltimaVersion(zip); } catch (const Exception& error) {
        EXPECT_TRUE(QString::fromUtf8(error.what()).contains(u"no está disponible"_qs)) << error.what();
        throw;
      },
      Exception);
  EXPECT_EQ(Leer(Descargado(u"AYUDA.zip"_qs)), "<ninguno>");
}

}  // namespace
