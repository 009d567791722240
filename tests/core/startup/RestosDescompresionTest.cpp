#include "platform/zip/ColocacionZip.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QDir>
#include <QFile>

#include <new>
#include <stdexcept>

namespace {

using RestosDescompresion = ConexionesFixture;

QByteArray Leer(const QString& ruta) {
  QFile archivo(ruta);
  return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray("<ninguno>");
}

void Escribir(const QString& ruta, const QByteArray& contenido) {
  QFile archivo(ruta);
  ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
  archivo.write(contenido);
}

QStringList Restos(const QString& carpeta) {
  const QFileInfo destino(carpeta);
  return QDir(destino.absolutePath())
      .entryList({u'.' + destino.fileName() + u".descomprimiendo-*"_qs}, QDir::Dirs | QDir::Hidden);
}

}  // namespace

// The program folder as a download's unpacking left it when killed after its
// last file was placed: the program's start puts the old files back.
TEST_F(RestosDescompresion, AnUnpackingKilledInTheProgramFolderIsUndoneAtStart) {
  Escribir(carpeta.File(u"viejo.txt"_qs), "antiguo");
  // Never destroyed, as a killed program's is not; reachable, so no leak.
  alignas(ColocacionZip::Preparacion) static unsigned char sitio[sizeof(ColocacionZip::Preparacion)];
  auto* preparacion = new (sitio) ColocacionZip::Preparacion(carpeta.Path() + u'/');
  Escribir(preparacion->RutaNueva(u"viejo.txt"_qs), "nuevo");
  QDir().mkpath(QFileInfo(preparacion->RutaNueva(u"sub/nuevo.txt"_qs)).path());
  Escribir(preparacion->RutaNueva(u"sub/nuevo.txt"_qs), "nuevo");
  ColocacionZip::GanchoColocacion() = [](int colocados) {
    if (colocados == 2) throw std::runtime_error("muerto");
  };
  EXPECT_THROW((void)preparacion->Colocar({u"viejo.txt"_qs, u"sub/nuevo.txt"_qs}, {}), std::runtime_error);
  ColocacionZip::GanchoColocacion() = nullptr;
  ASSERT_EQ(Leer(carpeta.File(u"viejo.txt"_qs)), "nuevo");
  ASSERT_EQ(Restos(carpeta.Path()).size(), 1);

  Iniciar();
  EXPECT_EQ(Leer(carpeta.File(u"viejo.txt"_qs)), "antiguo");
  EXPECT_FALSE(QFileInfo::exists(carpeta.File(u"sub"_qs)));
  EXPECT_EQ(Restos(carpeta.Path()), QStringList());
}

// A staging folder someone planted beside the program folder, its list naming
// a file beside it: the start reports it once and leaves both as they are.
TEST_F(RestosDescompresion, APlantedStagingFolderIsReportedAtStartAndLeftAsItIs) {
  const QFileInfo programa(QFileInfo(carpeta.Path()).canonicalFilePath());
  const QString victima = programa.absolutePath() + u'/' + programa.fileName() + u".victima"_qs;
  const QString resto = programa.absolutePath() + u"/."_qs + programa.fileName() + u".descomprimiendo-Ab12Cd"_qs;
  const struct Limpieza {
    QString victima, resto;
    ~Limpieza() {
      QFile::remove(victima);
      QDir(resto).removeRecursively();
    }
  } limpieza{victima, resto};
  Escribir(victima, "victima");
  ASSERT_TRUE(QDir().mkpath(resto));
  const QByteArray lista = "A..%2F" + (programa.fileName() + u".victima"_qs).toUtf8().toPercentEncoding() + '\n';
  Escribir(resto + u"/colocando"_qs, lista);
  mensajes.Expect(u"A"_qs);

  Iniciar();
  EXPECT_EQ(mensajes.Texts(), QStringList{u"Restos de descompresión no válidos en "_qs + resto});
  EXPECT_EQ(Leer(victima), "victima");
  EXPECT_EQ(Leer(resto + u"/colocando"_qs), lista);
}
