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
