#include "platform/zip/ColocacionZip.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/fixtures/SecondProcess.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <new>
#include <optional>
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

// Recovers what an earlier run left in ZEM_DESTINO, places a new "viejo.txt"
// there ("nuevo" and the step) and is killed at the ZEM_MATAR_RETIRADA-th name removed from its staging folder.
void colocacionMatadaAlRetirar() {
  const QString destino = qEnvironmentVariable("ZEM_DESTINO");
  EXPECT_EQ(ColocacionZip::Recuperar(destino), QStringList());
  const int matar = qEnvironmentVariableIntValue("ZEM_MATAR_RETIRADA");
  ColocacionZip::GanchoRetirada() = [matar](int borrados) {
    if (borrados == matar) ::raise(SIGKILL);
  };
  ColocacionZip::Preparacion preparacion(destino);
  Escribir(preparacion.RutaNueva(u"viejo.txt"_qs), "nuevo " + QByteArray::number(matar));
  EXPECT_EQ(preparacion.Colocar({u"viejo.txt"_qs}, {}), std::nullopt);
}

[[maybe_unused]] const bool registrada =
    SecondProcess::RegisterJob(u"placing-killed-removing"_qs, colocacionMatadaAlRetirar);

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
// a file beside it: the start reports it once, not at the next start, and
// leaves both as they are.
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
  // Told once: the next start says nothing of it.
  Iniciar();
  EXPECT_EQ(mensajes.Texts(), QStringList{u"Restos de descompresión no válidos en "_qs + resto});
  EXPECT_TRUE(QFileInfo::exists(resto + u"/colocando"_qs));
}

// The program folder as an unpacking left it when killed while removing its
// staging folder, after every file was placed: the start finishes the
// removal without a word and the new files stay.
TEST_F(RestosDescompresion, AStagingFolderKilledWhileBeingRemovedIsFinishedAtStartWithoutAWord) {
  Escribir(carpeta.File(u"viejo.txt"_qs), "antiguo");
  for (int paso = 1; paso <= 3; ++paso) {
    SCOPED_TRACE(paso);
    SecondProcess colocacion(u"placing-killed-removing"_qs,
                             {{u"ZEM_DESTINO"_qs, carpeta.Path()}, {u"ZEM_MATAR_RETIRADA"_qs, QString::number(paso)}});
    colocacion.Finish();
    ASSERT_TRUE(colocacion.Crashed());
    ASSERT_EQ(Restos(carpeta.Path()).size(), 1);
  }
  EXPECT_EQ(Leer(carpeta.File(u"viejo.txt"_qs)), "nuevo 3");

  Iniciar();
  EXPECT_EQ(mensajes.Texts(), QStringList());
  EXPECT_EQ(Leer(carpeta.File(u"viejo.txt"_qs)), "nuevo 3");
  EXPECT_EQ(Restos(carpeta.Path()), QStringList());
}
