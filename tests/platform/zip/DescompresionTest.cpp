#include "platform/zip/ColocacionZip.h"
#include "platform/zip/Descompresion.h"
#include "tests/fixtures/SecondProcess.h"
#include "tests/platform/zip/ArchivoZipPrueba.h"
#include "tests/platform/zip/MontajePrueba.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <fcntl.h>
#include <grp.h>
#include <unistd.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdio>
#include <ostream>
#include <stdexcept>

// Readable texts in test failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QByteArray& bytes, std::ostream* out) { *out << '"' << bytes.toStdString() << '"'; }

namespace {

using Descompresion::Aviso;

// Extracts the archive of ZEM_ZIP into ZEM_DESTINO with every file replaced,
// killed once ZEM_MATAR files are in place.
void extraccionMatada() {
  const int matar = qEnvironmentVariableIntValue("ZEM_MATAR");
  ColocacionZip::GanchoColocacion() = [matar](int colocados) {
    if (colocados == matar) ::raise(SIGKILL);
  };
  Descompresion::Parametros p;
  p.archivo = qEnvironmentVariable("ZEM_ZIP");
  p.carpeta = qEnvironmentVariable("ZEM_DESTINO");
  p.nombresCarpetas = true;
  p.sobrescribir = true;
  Descompresion::Extraer(p);
}
[[maybe_unused]] const bool registrada = SecondProcess::RegisterJob(QStringLiteral("unzip-killed"), extraccionMatada);

// Killed at the ZEM_MATAR_RETIRADA-th name removed from a staging folder.
void matarAlRetirar() {
  const int matar = qEnvironmentVariableIntValue("ZEM_MATAR_RETIRADA");
  ColocacionZip::GanchoRetirada() = [matar](int borrados) {
    if (borrados == matar) ::raise(SIGKILL);
  };
}

// Extracts ZEM_ZIP into ZEM_DESTINO, failing after ZEM_FALLAR files are in
// place (0: never), and is killed while removing its staging folder.
void extraccionMatadaAlRetirar() {
  matarAlRetirar();
  const int fallar = qEnvironmentVariableIntValue("ZEM_FALLAR");
  ColocacionZip::GanchoColocacion() = [fallar](int colocados) {
    if (colocados == fallar) throw std::runtime_error("fallo");
  };
  Descompresion::Parametros p;
  p.archivo = qEnvironmentVariable("ZEM_ZIP");
  p.carpeta = qEnvironmentVariable("ZEM_DESTINO");
  p.nombresCarpetas = true;
  p.sobrescribir = true;
  try {
    Descompresion::Extraer(p);
  } catch (const std::runtime_error&) {
  }
}
[[maybe_unused]] const bool registradaRetirada =
    SecondProcess::RegisterJob(QStringLiteral("unzip-killed-removing"), extraccionMatadaAlRetirar);

// The recovery of ZEM_DESTINO, killed while removing a staging folder.
void recuperacionMatadaAlRetirar() {
  matarAlRetirar();
  (void)ColocacionZip::Recuperar(qEnvironmentVariable("ZEM_DESTINO"));
}
[[maybe_unused]] const bool registradaRecuperacion =
    SecondProcess::RegisterJob(QStringLiteral("recovery-killed-removing"), recuperacionMatadaAlRetirar);

// A target folder holding one old file, inside a parent folder of its own so
// that whatever is left beside it shows.
class Descomprimir : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(padre.isValid());
    QDir(padre.path()).mkdir(QStringLiteral("destino"));
    Escribir(QStringLiteral("viejo.txt"), "antiguo");
    Descompresion::LimitesArchivo() = {};
  }

  QString Destino() const { return padre.filePath(QStringLiteral("destino")); }
  QString Zip() const { return padre.filePath(QStringLiteral("paquete.zip")); }

  void Escribir(const QString& nombre, const QByteArray& contenido) {
    QFile archivo(QDir(Destino()).filePath(nombre));
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.write(contenido);
  }

  QByteArray Leer(const QString& nombre) const {
    QFile archivo(QDir(Destino()).filePath(nombre));
    return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray("<ninguno>");
  }

  // Every file and folder under the parent with its bytes.
  QMap<QString, QByteArray> Contenido() const {
    QMap<QString, QByteArray> todo;
    QDirIterator it(padre.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString ruta = it.next();
      QFile archivo(ruta);
      todo[QDir(padre.path()).relativeFilePath(ruta)] =
          QFileInfo(ruta).isFile() && archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray("<carpeta>");
    }
    return todo;
  }

  Descompresion::Parametros Parametros() {
    Descompresion::Parametros p;
    p.archivo = Zip();
    p.carpeta = Destino();
    p.nombresCarpetas = true;
    p.sobrescribir = true;
    p.llamada = [this](const Aviso& aviso) {
      avisos.push_back(aviso);
      return true;
    };
    return p;
  }

  // What lies under the parent outside the target folder.
  QMap<QString, QByteArray> FueraDelDestino() const {
    QMap<QString, QByteArray> fuera;
    for (const auto& [ruta, bytes] : Contenido().asKeyValueRange())
      if (!ruta.startsWith(u"destino/")) fuera.insert(ruta, bytes);
    return fuera;
  }

  // The parent as the file system names it, which reports name.
  QString Padre() const { return QFileInfo(padre.path()).canonicalFilePath(); }

  QStringList Mensajes() const {
    QStringList textos;
    for (const Aviso& aviso : avisos)
      if (aviso.accion == Aviso::Mensaje) textos.append(aviso.texto);
    return textos;
  }

  QTemporaryDir padre;
  std::vector<Aviso> avisos;
};

void EscribirEn(const QString& ruta, const QByteArray& contenido) {
  QDir().mkpath(QFileInfo(ruta).path());
  QFile archivo(ruta);
  ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
  archivo.write(contenido);
}

QByteArray LeerEn(const QString& ruta) {
  QFile archivo(ruta);
  return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray("<ninguno>");
}

QString NoValidos(const QString& resto) { return QStringLiteral("Restos de descompresión no válidos en ") + resto; }

struct ArchivoHostil {
  const char* caso;
  std::vector<EntradaPrueba> entradas;
  Descompresion::CodigoError codigo;
};

TEST_F(Descomprimir, AHostileArchiveIsRefusedWholeAndLeavesTheTargetAndItsParentAsTheyWere) {
  const EntradaPrueba bueno = Archivo("bueno.txt", "bueno");
  const std::vector<ArchivoHostil> casos = {
      {"parent", {bueno, Archivo("../x", "fuera")}, Descompresion::ErrorEntrada},
      {"parent inside", {bueno, Archivo("a/../../x", "fuera")}, Descompresion::ErrorEntrada},
      {"absolute", {bueno, Archivo("/etc/x", "fuera")}, Descompresion::ErrorEntrada},
      {"drive", {bueno, Archivo("C:\\x", "fuera")}, Descompresion::ErrorEntrada},
      {"backslash parent", {bueno, Archivo("a\\..\\..\\x", "fuera")}, Descompresion::ErrorEntrada},
      {"backslash root", {bueno, Archivo("\\x", "fuera")}, Descompresion::ErrorEntrada},
      {"link", {bueno, {"enlace", "/etc/passwd", 0120777}}, Descompresion::ErrorEntrada},
      {"device", {bueno, {"disco", "", 0060644}}, Descompresion::ErrorEntrada},
      {"pipe", {bueno, {"tubo", "", 0010644}}, Descompresion::ErrorEntrada},
  };
  for (const ArchivoHostil& caso : casos) {
    SCOPED_TRACE(caso.caso);
    EscribirZip(Zip(), caso.entradas);
    const auto antes = Contenido();
    avisos.clear();
    EXPECT_EQ(Descompresion::Extraer(Parametros()), 0);
    EXPECT_EQ(Contenido(), antes);
    ASSERT_EQ(Mensajes().size(), 1);
    EXPECT_TRUE(std::any_of(avisos.begin(), avisos.end(), [&](const Aviso& a) { return a.codigoError == caso.codigo; }));
  }
}

TEST_F(Descomprimir, TheBoundsOfOneArchiveRefuseABombAndTooManyEntries) {
  Descompresion::LimitesArchivo().bytes = 1 << 20;
  EscribirZip(Zip(), {Archivo("a.txt", "a"), Archivo("ceros", QByteArray(3 << 20, '\0'))});
  auto antes = Contenido();
  EXPECT_EQ(Descompresion::Extraer(Parametros()), 0);
  EXPECT_EQ(Contenido(), antes);
  ASSERT_EQ(Mensajes().size(), 1);
  EXPECT_TRUE(Mensajes()[0].contains(QLatin1String("inflates to more than")));

  Descompresion::LimitesArchivo() = {};
  Descompresion::LimitesArchivo().entradas = 2;
  EscribirZip(Zip(), {Archivo("a", "1"), Archivo("b", "2"), Archivo("c", "3")});
  antes = Contenido();
  avisos.clear();
  EXPECT_EQ(Descompresion::Extraer(Parametros()), 0);
  EXPECT_EQ(Contenido(), antes);
  EXPECT_EQ(Mensajes().size(), 1);
}

TEST_F(Descomprimir, ATruncatedCentralDirectoryOrAFileThatIsNoZipIsRefused) {
  EscribirZip(Zip(), {Archivo("a.txt", "uno"), Archivo("b.txt", "dos")});
  QFile zip(Zip());
  ASSERT_TRUE(zip.resize(zip.size() - 30));
  const auto antes = Contenido();
  EXPECT_EQ(Descompresion::Extraer(Parametros()), 0);
  EXPECT_EQ(Contenido(), antes);
  EXPECT_EQ(Mensajes().size(), 1);
}

TEST_F(Descomprimir, EveryEntryGoesInPlaceWithItsFoldersPermissionsWithoutSetuidAndTime) {
  EscribirZip(Zip(), {{"bin/", "", 040755},
                      {"bin/programa", "#!", 0104755, 1600000000},
                      Archivo("viejo.txt", "nuevo"),
                      {"nombre\x82.txt", "cp437"}});
  EXPECT_EQ(Descompresion::Extraer(Parametros()), 3);
  EXPECT_EQ(Leer(QStringLiteral("bin/programa")), "#!");
  EXPECT_EQ(Leer(QStringLiteral("viejo.txt")), "nuevo");
  EXPECT_EQ(Leer(QStringLiteral("nombreé.txt")), "cp437");
  struct stat estado;
  ASSERT_EQ(::stat(QFile::encodeName(Destino() + QStringLiteral("/bin/programa")).constData(), &estado), 0);
  EXPECT_EQ(estado.st_mode & 07777, 0755u);
  EXPECT_EQ(estado.st_mtime, 1600000000);
  // Nothing stays beside the target.
  EXPECT_EQ(QDir(padre.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 2);
}

TEST_F(Descomprimir, TheOptionsDecideWhichFilesAreWritten) {
  struct Caso {
    const char* caso;
    bool sobrescribir, refrescar, actualizar, soloPrueba, nombresCarpetas;
    int cuenta;
    QByteArray viejo, reciente, nuevo;
    const char* nuevoEn;
  };
  // viejo.txt is older than its entry, reciente.txt newer, nuevo.txt missing.
  const std::vector<Caso> casos = {
      {"none", false, false, false, false, true, 1, "antiguo", "actual", "zip", "d/nuevo.txt"},
      {"overwrite", true, false, false, false, true, 3, "zip", "zip", "zip", "d/nuevo.txt"},
      {"freshen", false, true, false, false, true, 1, "zip", "actual", "<ninguno>", "d/nuevo.txt"},
      {"update", false, false, true, false, true, 2, "zip", "actual", "zip", "d/nuevo.txt"},
      {"update beats freshen", false, true, true, false, true, 2, "zip", "actual", "zip", "d/nuevo.txt"},
      {"test", true, false, false, true, true, 3, "antiguo", "actual", "<ninguno>", "d/nuevo.txt"},
      {"no folder names", false, false, false, false, false, 1, "antiguo", "actual", "zip", "nuevo.txt"},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.caso);
    QDir(Destino()).removeRecursively();
    QDir(padre.path()).mkdir(QStringLiteral("destino"));
    Escribir(QStringLiteral("viejo.txt"), "antiguo");
    Escribir(QStringLiteral("reciente.txt"), "actual");
    const std::time_t ahora = std::time(nullptr);
    const timespec antiguo[2] = {{ahora - 7200, 0}, {ahora - 7200, 0}};
    ::utimensat(AT_FDCWD, QFile::encodeName(Destino() + QStringLiteral("/viejo.txt")).constData(), antiguo, 0);
    EscribirZip(Zip(), {{"viejo.txt", "zip", 0100644, ahora - 3600},
                        {"reciente.txt", "zip", 0100644, ahora - 3 * 3600},
                        {"d/nuevo.txt", "zip", 0100644, ahora - 3600}});
    auto p = Parametros();
    p.sobrescribir = caso.sobrescribir;
    p.refrescar = caso.refrescar && !caso.actualizar;
    p.actualizar = caso.actualizar;
    p.soloPrueba = caso.soloPrueba;
    p.nombresCarpetas = caso.nombresCarpetas;
    EXPECT_EQ(Descompresion::Extraer(p), caso.cuenta);
    EXPECT_EQ(Leer(QStringLiteral("viejo.txt")), caso.viejo);
    EXPECT_EQ(Leer(QStringLiteral("reciente.txt")), caso.reciente);
    EXPECT_EQ(Leer(QString::fromLatin1(caso.nuevoEn)), caso.nuevo);
  }
}

TEST_F(Descomprimir, ThePatternsChooseEntriesWithoutRegardToCaseAndNoneMeansAll) {
  EscribirZip(Zip(), {Archivo("a.TXT", "a"), Archivo("b.dat", "b"), Archivo("sub/c.txt", "c")});
  auto p = Parametros();
  p.patronesArchivo = QStringList{QStringLiteral("*.txt")};
  EXPECT_EQ(Descompresion::Extraer(p), 2);
  EXPECT_EQ(Leer(QStringLiteral("b.dat")), "<ninguno>");
  p.patronesArchivo.clear();
  EXPECT_EQ(Descompresion::Extraer(p), 3);
  EXPECT_EQ(Leer(QStringLiteral("b.dat")), "b");
}

TEST_F(Descomprimir, ACancelOrAWriteFailureLeavesTheTargetAsItWas) {
  EscribirZip(Zip(), {Archivo("viejo.txt", "nuevo"), Archivo("grande", QByteArray(2 << 20, 'x'))});
  const auto antes = Contenido();
  auto p = Parametros();
  p.llamada = [](const Aviso& aviso) { return aviso.texto != QLatin1String("grande"); };
  EXPECT_EQ(Descompresion::Extraer(p), 0);
  EXPECT_EQ(Contenido(), antes);

  // A file-size limit stands for a full disk.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit limite{1 << 20, RLIM_INFINITY};
  rlimit previo;
  ::getrlimit(RLIMIT_FSIZE, &previo);
  ::setrlimit(RLIMIT_FSIZE, &limite);
  const int cuenta = Descompresion::Extraer(Parametros());
  ::setrlimit(RLIMIT_FSIZE, &previo);
  EXPECT_EQ(cuenta, 0);
  EXPECT_EQ(Contenido(), antes);
  ASSERT_EQ(Mensajes().size(), 1);
  EXPECT_TRUE(Mensajes()[0].startsWith(QLatin1String("Error writing grande")));
}

TEST_F(Descomprimir, AFailureAfterTheFirstFileIsPlacedPutsEveryReplacedFileBack) {
  Escribir(QStringLiteral("a.txt"), "viejo a");
  // A folder where the archive has a file: its rename cannot succeed.
  QDir(Destino()).mkpath(QStringLiteral("b.txt/dentro"));
  EscribirZip(Zip(), {Archivo("a.txt", "nuevo a"), Archivo("viejo.txt", "nuevo"), Archivo("b.txt", "nuevo b"),
                      Archivo("nueva/c.txt", "c")});
  const auto antes = Contenido();
  EXPECT_EQ(Descompresion::Extraer(Parametros()), 0);
  EXPECT_EQ(Contenido(), antes);
  ASSERT_EQ(Mensajes().size(), 1);
  EXPECT_TRUE(Mensajes()[0].startsWith(QLatin1String("Error writing b.txt")));
}

TEST_F(Descomprimir, ATargetEndingInASlashHasItsStagingBesideIt) {
  EscribirZip(Zip(), {Archivo("viejo.txt", "nuevo"), Archivo("otro.txt", "otro")});
  QStringList dentro;
  QStringList alLado;
  ColocacionZip::GanchoColocacion() = [&](int) {
    dentro = QDir(Destino()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    alLado = QDir(padre.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  };
  auto p = Parametros();
  p.carpeta = Destino() + u'/';
  EXPECT_EQ(Descompresion::Extraer(p), 2);
  ColocacionZip::GanchoColocacion() = nullptr;
  for (const QString& nombre : dentro) EXPECT_FALSE(nombre.startsWith(u'.')) << nombre.toStdString();
  EXPECT_EQ(alLado.filter(QStringLiteral(".destino.descomprimiendo-")).size(), 1);
  EXPECT_EQ(Leer(QStringLiteral("viejo.txt")), "nuevo");
  // What an earlier version staged inside such a target goes at the next run.
  QDir(Destino()).mkpath(QStringLiteral("..descomprimiendo-AbC123/sub"));
  Escribir(QStringLiteral("..descomprimiendo-AbC123/sub/x"), "resto");
  EXPECT_EQ(Descompresion::Extraer(p), 2);
  EXPECT_FALSE(QFileInfo::exists(Destino() + QStringLiteral("/..descomprimiendo-AbC123")));
  EXPECT_EQ(QDir(padre.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 2);
}

// A run killed halfway through placing leaves half the files new; the next
// run into the same target, or the recovery at start, leaves it wholly old
// or wholly new and nothing beside it.
TEST_F(Descomprimir, ARunKilledWhilePlacingIsUndoneBeforeAnythingElseIsDoneThere) {
  constexpr int Archivos = 300;
  std::vector<EntradaPrueba> entradas;
  for (int i = 0; i < Archivos; ++i) {
    const QByteArray nombre = QByteArray("f") + QByteArray::number(i).rightJustified(3, '0');
    if (i % 3 != 0) Escribir(QString::fromLatin1(nombre), "viejo " + nombre);
    entradas.push_back({i % 3 == 0 ? "nueva/" + nombre : nombre, "nuevo " + nombre});
  }
  EscribirZip(Zip(), entradas);
  const auto antes = Contenido();
  struct Caso {
    const char* caso;
    std::function<void()> siguiente;
    bool queda;
  };
  const std::vector<Caso> casos = {
      {"refused archive", [&] {
         EscribirZip(padre.filePath(QStringLiteral("malo.zip")), {Archivo("../fuera", "x")});
         auto p = Parametros();
         p.archivo = padre.filePath(QStringLiteral("malo.zip"));
         EXPECT_EQ(Descompresion::Extraer(p), 0);
         QFile::remove(p.archivo);
       }, true},
      {"recovery at start", [&] { EXPECT_EQ(ColocacionZip::Recuperar(Destino() + u'/'), QStringList()); }, true},
      {"successful archive", [&] { EXPECT_EQ(Descompresion::Extraer(Parametros()), Archivos); }, false},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.caso);
    SecondProcess segundo(QStringLiteral("unzip-killed"), {{QStringLiteral("ZEM_ZIP"), Zip()},
                                                          {QStringLiteral("ZEM_DESTINO"), Destino()},
                                                          {QStringLiteral("ZEM_MATAR"), QString::number(Archivos / 2)}});
    segundo.Finish();
    ASSERT_TRUE(segundo.Crashed());
    int nuevos = 0;
    for (const auto& [ruta, bytes] : Contenido().asKeyValueRange())
      nuevos += ruta.startsWith(u"destino/") && bytes.startsWith("nuevo f");
    EXPECT_EQ(nuevos, Archivos / 2);

    caso.siguiente();
    if (caso.queda) {
      EXPECT_EQ(Contenido(), antes);
    } else {
      for (int i = 0; i < Archivos; ++i) {
        const QString nombre = QStringLiteral("f%1").arg(i, 3, 10, QLatin1Char('0'));
        EXPECT_EQ(Leer(i % 3 == 0 ? QStringLiteral("nueva/") + nombre : nombre), "nuevo " + nombre.toLatin1());
      }
      EXPECT_EQ(QDir(padre.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 2);
    }
  }
}

// Removing the staging folder, after every file was placed or after a failure
// undid them, may be killed at any name: the next recovery (itself killed
// once more on the way, or not) finishes it, reports nothing and leaves the
// target wholly new or wholly old.
TEST_F(Descomprimir, AKillAtAnyStepOfTheStagingFoldersRemovalLeavesNothingToReport) {
  const std::vector<EntradaPrueba> entradas = {Archivo("viejo.txt", "nuevo"), Archivo("sub/nuevo.txt", "nuevo"),
                                               Archivo("sub/otro.txt", "nuevo"), Archivo("b/c/d.txt", "nuevo")};
  EscribirZip(Zip(), entradas);
  const auto inicial = [&] {
    QDir(Destino()).removeRecursively();
    EscribirEn(Destino() + QStringLiteral("/viejo.txt"), "antiguo");
    EscribirEn(Destino() + QStringLiteral("/sub/otro.txt"), "antiguo");
  };
  inicial();
  const auto antes = Contenido();
  for (const int fallar : {0, 3}) {
    // How many names the removal takes, counted on a run of this process.
    inicial();
    int pasos = 0;
    ColocacionZip::GanchoRetirada() = [&pasos](int borrados) { pasos = borrados; };
    ColocacionZip::GanchoColocacion() = [fallar](int colocados) {
      if (colocados == fallar) throw std::runtime_error("fallo");
    };
    EXPECT_EQ(fallar == 0, [&] {
      try {
        return Descompresion::Extraer(Parametros()) == int(entradas.size());
      } catch (const std::runtime_error&) {
        return false;
      }
    }());
    ColocacionZip::GanchoRetirada() = nullptr;
    ColocacionZip::GanchoColocacion() = nullptr;
    const auto despues = Contenido();
    ASSERT_EQ(despues == antes, fallar != 0) << QStringList(despues.keys()).join(u' ').toStdString();
    ASSERT_GE(pasos, 5);
    for (int paso = 1; paso <= pasos; ++paso) {
      SCOPED_TRACE(testing::Message() << "failing at " << fallar << ", killed at " << paso);
      inicial();
      const QMap<QString, QString> ajustes{{QStringLiteral("ZEM_ZIP"), Zip()},
                                           {QStringLiteral("ZEM_DESTINO"), Destino()},
                                           {QStringLiteral("ZEM_FALLAR"), QString::number(fallar)},
                                           {QStringLiteral("ZEM_MATAR_RETIRADA"), QString::number(paso)}};
      SecondProcess extraccion(QStringLiteral("unzip-killed-removing"), ajustes);
      extraccion.Finish();
      ASSERT_TRUE(extraccion.Crashed());
      if (paso % 2 == 0) {
        QMap<QString, QString> primerPaso = ajustes;
        primerPaso[QStringLiteral("ZEM_MATAR_RETIRADA")] = QStringLiteral("1");
        SecondProcess recuperacion(QStringLiteral("recovery-killed-removing"), primerPaso);
        recuperacion.Finish();
      }
      EXPECT_EQ(ColocacionZip::Recuperar(Destino()), QStringList());
      EXPECT_EQ(Contenido(), despues);
    }
  }
}

// A list longer than the program writes is no list of its own: it is
// reported without being read (a read of this one would take 64 GiB).
TEST_F(Descomprimir, AListLongerThanTheProgramWritesIsReportedUnread) {
  const QString resto = Padre() + QStringLiteral("/.destino.descomprimiendo-Largo1");
  ASSERT_TRUE(QDir().mkpath(resto));
  struct stat destino;
  ASSERT_EQ(::stat(QFile::encodeName(Destino()).constData(), &destino), 0);
  QFile lista(resto + QStringLiteral("/colocando"));
  ASSERT_TRUE(lista.open(QIODevice::WriteOnly));
  lista.write("colocacion 1 .destino.descomprimiendo-Largo1 " + QByteArray::number(quint64(destino.st_dev)) + ' ' +
              QByteArray::number(quint64(destino.st_ino)) + "\nAviejo.txt\n");
  ASSERT_TRUE(lista.resize(qint64{64} << 30));
  lista.close();
  EXPECT_EQ(ColocacionZip::Recuperar(Destino()), QStringList{resto});
  EXPECT_EQ(Leer(QStringLiteral("viejo.txt")), "antiguo");
}

// The recovery itself may be killed after putting some replaced files back:
// the next one must keep those, not take them for new files and remove them.
TEST_F(Descomprimir, ARecoveryCutShortIsFinishedByTheNextWithoutLosingTheFilesItPutBack) {
  constexpr int Archivos = 30;
  std::vector<EntradaPrueba> entradas;
  for (int i = 0; i < Archivos; ++i) {
    const QByteArray nombre = QByteArray("f") + QByteArray::number(i).rightJustified(2, '0');
    if (i % 2 == 0) Escribir(QString::fromLatin1(nombre), "viejo " + nombre);
    entradas.push_back({nombre, "nuevo " + nombre});
  }
  EscribirZip(Zip(), entradas);
  const auto antes = Contenido();
  SecondProcess segundo(QStringLiteral("unzip-killed"), {{QStringLiteral("ZEM_ZIP"), Zip()},
                                                        {QStringLiteral("ZEM_DESTINO"), Destino()},
                                                        {QStringLiteral("ZEM_MATAR"), QString::number(Archivos / 2)}});
  segundo.Finish();
  ASSERT_TRUE(segundo.Crashed());
  const QStringList restos = QDir(padre.path()).entryList({QStringLiteral(".destino.descomprimiendo-*")},
                                                          QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
  ASSERT_EQ(restos.size(), 1);
  // Undoing goes from the last file placed back: the cut-short recovery had
  // put back the last replaced ones, f14 and f12, before it stopped.
  for (const QString& nombre : {QStringLiteral("f14"), QStringLiteral("f12")})
    ASSERT_EQ(std::rename(QFile::encodeName(padre.filePath(restos[0] + QStringLiteral("/anteriores/") + nombre)),
                          QFile::encodeName(QDir(Destino()).filePath(nombre))),
              0);
  ASSERT_EQ(Leer(QStringLiteral("f12")), "viejo f12");
  EXPECT_EQ(ColocacionZip::Recuperar(Destino()), QStringList());
  EXPECT_EQ(Contenido(), antes);
}

// A target reached through a link, on another disk than the link: its
// staging goes beside the folder itself, where its files can be moved.
TEST_F(Descomprimir, ATargetReachedThroughALinkToAnotherDiskIsFilled) {
  QTemporaryDir otroDisco(QStringLiteral("/dev/shm/zem-destino-XXXXXX"));
  ASSERT_TRUE(otroDisco.isValid());
  struct stat aqui;
  struct stat alli;
  ASSERT_EQ(::stat(QFile::encodeName(padre.path()).constData(), &aqui), 0);
  ASSERT_EQ(::stat(QFile::encodeName(otroDisco.path()).constData(), &alli), 0);
  if (aqui.st_dev == alli.st_dev) GTEST_SKIP() << "/dev/shm is on the same disk here";
  const QString real = otroDisco.filePath(QStringLiteral("destino"));
  ASSERT_TRUE(QDir().mkpath(real));
  ASSERT_TRUE(QFile::link(real, padre.filePath(QStringLiteral("enlace"))));
  EscribirZip(Zip(), {Archivo("viejo.txt", "nuevo"), Archivo("sub/otro.txt", "otro")});
  for (const QString& carpeta : {padre.filePath(QStringLiteral("enlace")), padre.filePath(QStringLiteral("enlace/"))}) {
    SCOPED_TRACE(carpeta.toStdString());
    auto p = Parametros();
    p.carpeta = carpeta;
    EXPECT_EQ(Descompresion::Extraer(p), 2);
    EXPECT_EQ(Mensajes(), QStringList());
    QFile otro(real + QStringLiteral("/sub/otro.txt"));
    EXPECT_TRUE(otro.open(QIODevice::ReadOnly));
    EXPECT_EQ(otro.readAll(), "otro");
    EXPECT_EQ(QDir(otroDisco.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("destino")});
  }
}

// Staging folders someone else left beside the target, their lists naming
// files outside it or reached through links: neither an extraction nor the
// recovery at start acts on them; each is reported and left as it is.
TEST_F(Descomprimir, APlantedStagingFolderIsLeftAsItIsAndNothingOutsideTheTargetChanges) {
  const QString fuera = Padre();
  ASSERT_TRUE(QDir(Destino()).mkdir(QStringLiteral("sub")));
  ASSERT_TRUE(QFile::link(fuera + QStringLiteral("/otra"), Destino() + QStringLiteral("/enlace")));
  EscribirZip(Zip(), {Archivo("nuevo.txt", "nuevo")});
  const QString resto = fuera + QStringLiteral("/.destino.descomprimiendo-Ab12Cd");
  const QByteArray absoluta = (fuera + QStringLiteral("/victima.txt")).toUtf8();
  struct Caso {
    const char* caso;
    QByteArray lista;
    const char* plantado;  // a file planted in the staging folder
    const char* enlace;    // a link to the other folder planted there
  };
  const std::vector<Caso> casos = {
      {"parent", "A../victima.txt\nA../otra/.bashrc\n", nullptr, nullptr},
      {"encoded parent", "A..%2Fvictima.txt\nAsub%2F..%2F..%2Fotra%2F.bashrc\n", nullptr, nullptr},
      {"absolute", "A" + absoluta.toPercentEncoding() + "\nA" + absoluta + "\n", nullptr, nullptr},
      {"link in the target", "Renlace%2F.bashrc\n", "anteriores/enlace/.bashrc", nullptr},
      {"link in the staging folder", "Rsub%2F.bashrc\n", nullptr, "anteriores/sub"},
  };
  const std::vector<std::pair<const char*, std::function<void()>>> caminos = {
      {"extraction", [&] {
         avisos.clear();
         EXPECT_EQ(Descompresion::Extraer(Parametros()), 1);
         EXPECT_EQ(Mensajes(), QStringList{NoValidos(resto)});
       }},
      {"recovery at start", [&] { EXPECT_EQ(ColocacionZip::Recuperar(Destino()), QStringList{resto}); }},
  };
  for (const Caso& caso : casos) {
    for (const auto& [camino, recorrer] : caminos) {
      SCOPED_TRACE(std::string(caso.caso) + ", " + camino);
      EscribirEn(fuera + QStringLiteral("/victima.txt"), "victima");
      EscribirEn(fuera + QStringLiteral("/otra/.bashrc"), "original");
      QDir(resto).removeRecursively();
      EscribirEn(resto + QStringLiteral("/colocando"), caso.lista);
      if (caso.plantado) EscribirEn(resto + u'/' + QString::fromLatin1(caso.plantado), "plantado");
      if (caso.enlace) {
        QDir().mkpath(QFileInfo(resto + u'/' + QString::fromLatin1(caso.enlace)).path());
        ASSERT_TRUE(QFile::link(fuera + QStringLiteral("/otra"), resto + u'/' + QString::fromLatin1(caso.enlace)));
      }
      const auto antes = FueraDelDestino();
      recorrer();
      EXPECT_EQ(LeerEn(fuera + QStringLiteral("/victima.txt")), "victima");
      EXPECT_EQ(LeerEn(fuera + QStringLiteral("/otra/.bashrc")), "original");
      EXPECT_EQ(FueraDelDestino(), antes);
    }
  }
}

// A list planted as a pipe would hold the program's start until someone
// wrote to it: it is reported at once instead.
// Whoever may write beside the target swaps the staging folder for a link
// to another folder while the files are placed: the clean-up empties the
// folder it made, through its descriptor, and never the linked one.
TEST_F(Descomprimir, AStagingFolderSwappedForALinkIsRemovedWithoutFollowingIt) {
  QTemporaryDir otra;
  ASSERT_TRUE(otra.isValid());
  EscribirEn(otra.filePath(QStringLiteral("datos.txt")), "ajeno");
  EscribirEn(otra.filePath(QStringLiteral("sub/x.txt")), "ajeno x");
  EscribirZip(Zip(), {Archivo("viejo.txt", "nuevo"), Archivo("a/otro.txt", "otro")});
  ColocacionZip::GanchoColocacion() = [&](int colocados) {
    if (colocados != 1) return;
    QDir lugar(padre.path());
    const QStringList restos = lugar.entryList({QStringLiteral(".destino.descomprimiendo-*")},
                                               QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    ASSERT_EQ(restos.size(), 1);
    ASSERT_TRUE(lugar.rename(restos.front(), QStringLiteral("apartada")));
    ASSERT_TRUE(QFile::link(otra.path(), lugar.filePath(restos.front())));
  };
  EXPECT_EQ(Descompresion::Extraer(Parametros()), 2);
  ColocacionZip::GanchoColocacion() = nullptr;
  EXPECT_EQ(Leer(QStringLiteral("viejo.txt")), "nuevo");
  EXPECT_EQ(LeerEn(otra.filePath(QStringLiteral("datos.txt"))), "ajeno");
  EXPECT_EQ(LeerEn(otra.filePath(QStringLiteral("sub/x.txt"))), "ajeno x");
}

TEST_F(Descomprimir, AListPlantedAsAPipeIsReportedWithoutWaitingForAWriter) {
  const QString resto = Padre() + QStringLiteral("/.destino.descomprimiendo-Tubo01");
  ASSERT_TRUE(QDir().mkpath(resto));
  ASSERT_EQ(::mkfifo(QFile::encodeName(resto + QStringLiteral("/colocando")).constData(), 0600), 0);
  EXPECT_EQ(ColocacionZip::Recuperar(Destino()), QStringList{resto});
  EXPECT_TRUE(QFileInfo::exists(resto + QStringLiteral("/colocando")));
}

// Extracts the archive of ZEM_ZIP into ZEM_DESTINO, killed halfway, and
// returns the staging folder it left.
QString RestoDeUnaExtraccionMatada(const QString& zip, const QString& destino, int matar) {
  SecondProcess segundo(QStringLiteral("unzip-killed"), {{QStringLiteral("ZEM_ZIP"), zip},
                                                        {QStringLiteral("ZEM_DESTINO"), destino},
                                                        {QStringLiteral("ZEM_MATAR"), QString::number(matar)}});
  segundo.Finish();
  EXPECT_TRUE(segundo.Crashed());
  const QFileInfo info(QFileInfo(destino).canonicalFilePath());
  const QStringList restos = QDir(info.absolutePath())
                                 .entryList({u'.' + info.fileName() + QStringLiteral(".descomprimiendo-*")},
                                            QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
  return restos.size() == 1 ? info.absolutePath() + u'/' + restos[0] : QString();
}

// The list of a run this program really made and left, changed afterwards to
// reach outside the target: the recovery leaves it, and the folder, alone.
TEST_F(Descomprimir, TheRecoveryRefusesARealListChangedToReachOutsideTheTarget) {
  constexpr int Archivos = 10;
  const QString fuera = Padre();
  std::vector<EntradaPrueba> entradas;
  for (int i = 0; i < Archivos; ++i) {
    const QByteArray nombre = "sub/f" + QByteArray::number(i);
    entradas.push_back({nombre, "nuevo"});
    EscribirEn(fuera + QStringLiteral("/otra/f%1").arg(i), "ajeno");
  }
  EscribirZip(Zip(), entradas);
  EscribirEn(fuera + QStringLiteral("/victima.txt"), "victima");
  const auto anadir = [](const QByteArray& linea) {
    return [linea](const QString& resto) {
      QFile lista(resto + QStringLiteral("/colocando"));
      ASSERT_TRUE(lista.open(QIODevice::Append));
      lista.write(linea);
    };
  };
  const auto enlazar = [fuera](const QString& carpeta) {
    ASSERT_EQ(std::rename(QFile::encodeName(carpeta).constData(), QFile::encodeName(carpeta + u'_').constData()), 0);
    ASSERT_TRUE(QFile::link(fuera + QStringLiteral("/otra"), carpeta));
  };
  const std::vector<std::pair<const char*, std::function<void(const QString&)>>> casos = {
      {"parent added", anadir("A..%2Fvictima.txt\n")},
      {"parent added unencoded", anadir("Asub/../../victima.txt\n")},
      {"absolute added", anadir("A" + (fuera + QStringLiteral("/victima.txt")).toUtf8().toPercentEncoding() + '\n')},
      {"link in the target", [&](const QString&) { enlazar(Destino() + QStringLiteral("/sub")); }},
      {"link in the staging folder", [&](const QString& resto) { enlazar(resto + QStringLiteral("/anteriores/sub")); }},
  };
  for (const auto& [caso, cambiar] : casos) {
    SCOPED_TRACE(caso);
    QDir(Destino()).removeRecursively();
    for (int i = 0; i < Archivos; ++i) EscribirEn(Destino() + QStringLiteral("/sub/f%1").arg(i), "viejo");
    const QString resto = RestoDeUnaExtraccionMatada(Zip(), Destino(), Archivos / 2);
    ASSERT_FALSE(resto.isEmpty());
    cambiar(resto);
    const auto antes = FueraDelDestino();
    EXPECT_EQ(ColocacionZip::Recuperar(Destino()), QStringList{resto});
    EXPECT_EQ(LeerEn(fuera + QStringLiteral("/victima.txt")), "victima");
    for (int i = 0; i < Archivos; ++i) EXPECT_EQ(LeerEn(fuera + QStringLiteral("/otra/f%1").arg(i)), "ajeno");
    EXPECT_EQ(FueraDelDestino(), antes);
    QDir(resto).removeRecursively();
  }
}

// A link in the target is the target's own business, but no file is placed
// through it: it could lead anywhere.
TEST_F(Descomprimir, NoFileIsPlacedThroughALinkInTheTarget) {
  EscribirEn(Padre() + QStringLiteral("/otra/.bashrc"), "original");
  ASSERT_TRUE(QFile::link(Padre() + QStringLiteral("/otra"), Destino() + QStringLiteral("/enlace")));
  EscribirZip(Zip(), {Archivo("viejo.txt", "nuevo"), Archivo("enlace/.bashrc", "plantado")});
  const auto antes = Contenido();
  EXPECT_EQ(Descompresion::Extraer(Parametros()), 0);
  EXPECT_EQ(Contenido(), antes);
  ASSERT_EQ(Mensajes().size(), 1);
  EXPECT_TRUE(Mensajes()[0].startsWith(QLatin1String("Error writing enlace/.bashrc"))) << Mensajes()[0].toStdString();
}

// A target that is a file system of its own (a mounted disk or share): every
// file is placed, with or without a final "/", or none when one fails.
TEST_F(Descomprimir, AnExtractionOntoAMountPointPlacesEveryFileOrNone) {
  const MontajePrueba montaje = MontajePrueba::Tmpfs(Destino());
  if (!montaje.Error().empty()) GTEST_SKIP() << montaje.Error();
  for (const QString& carpeta : {Destino(), Destino() + u'/'}) {
    SCOPED_TRACE(carpeta.toStdString());
    Escribir(QStringLiteral("viejo.txt"), "antiguo");
    EscribirZip(Zip(), {Archivo("viejo.txt", "nuevo"), Archivo("sub/otro.txt", "otro")});
    auto p = Parametros();
    p.carpeta = carpeta;
    avisos.clear();
    EXPECT_EQ(Descompresion::Extraer(p), 2);
    EXPECT_EQ(Mensajes(), QStringList());
    EXPECT_EQ(Leer(QStringLiteral("viejo.txt")), "nuevo");
    EXPECT_EQ(Leer(QStringLiteral("sub/otro.txt")), "otro");
    EXPECT_EQ(QDir(Destino()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("sub"), QStringLiteral("viejo.txt")}));

    // A folder where the archive has a file: nothing of the archive stays.
    QDir(Destino()).mkpath(QStringLiteral("b.txt/dentro"));
    EscribirZip(Zip(), {Archivo("viejo.txt", "otra vez"), Archivo("nueva/c.txt", "c"), Archivo("b.txt", "b")});
    const auto antes = Contenido();
    avisos.clear();
    EXPECT_EQ(Descompresion::Extraer(p), 0);
    EXPECT_EQ(Contenido(), antes);
    ASSERT_EQ(Mensajes().size(), 1);
    EXPECT_TRUE(Mensajes()[0].startsWith(QLatin1String("Error writing b.txt")));
    QDir(Destino() + QStringLiteral("/b.txt")).removeRecursively();
  }
}

TEST_F(Descomprimir, ARunKilledOnAMountPointIsUndoneByTheRecovery) {
  const MontajePrueba montaje = MontajePrueba::Tmpfs(Destino());
  if (!montaje.Error().empty()) GTEST_SKIP() << montaje.Error();
  constexpr int Archivos = 20;
  std::vector<EntradaPrueba> entradas;
  for (int i = 0; i < Archivos; ++i) {
    const QByteArray nombre = "f" + QByteArray::number(i);
    if (i % 2 == 0) Escribir(QString::fromLatin1(nombre), "viejo");
    entradas.push_back({i % 4 == 1 ? "nueva/" + nombre : nombre, "nuevo"});
  }
  EscribirZip(Zip(), entradas);
  const auto antes = Contenido();
  SecondProcess segundo(QStringLiteral("unzip-killed"), {{QStringLiteral("ZEM_ZIP"), Zip()},
                                                        {QStringLiteral("ZEM_DESTINO"), Destino() + u'/'},
                                                        {QStringLiteral("ZEM_MATAR"), QString::number(Archivos / 2)}});
  segundo.Finish();
  ASSERT_TRUE(segundo.Crashed());
  ASSERT_NE(Contenido(), antes);
  EXPECT_EQ(ColocacionZip::Recuperar(Destino()), QStringList());
  EXPECT_EQ(Contenido(), antes);
}

// A program folder its user owns, under a folder of the system's that user
// may not write: the user's update places every file, staged inside the
// target, and leaves nothing there or beside it.
TEST_F(Descomprimir, UnderAParentItsUserMayNotWriteEveryFileIsPlaced) {
  if (::geteuid() != 0) GTEST_SKIP() << "another user's identity cannot be taken";
  constexpr uid_t Nadie = 65534;
  EscribirEn(Destino() + QStringLiteral("/sub/viejo.txt"), "antiguo");
  EscribirZip(Zip(), {Archivo("viejo.txt", "nuevo"), Archivo("sub/viejo.txt", "nuevo 2"), Archivo("a/b/c.txt", "c")});
  ASSERT_EQ(::chmod(QFile::encodeName(padre.path()).constData(), 0755), 0);
  ASSERT_EQ(::chmod(QFile::encodeName(Zip()).constData(), 0644), 0);
  for (const QString& ruta : {Destino(), Destino() + QStringLiteral("/viejo.txt"), Destino() + QStringLiteral("/sub"),
                              Destino() + QStringLiteral("/sub/viejo.txt")})
    ASSERT_EQ(::chown(QFile::encodeName(ruta).constData(), Nadie, Nadie), 0);
  const auto fuera = FueraDelDestino();
  SecondProcess nadie(QStringLiteral("unzip-killed"), {{QStringLiteral("ZEM_ZIP"), Zip()}, {QStringLiteral("ZEM_DESTINO"), Destino()}},
                      [] {
                        const gid_t grupo = Nadie;
                        if (::setgroups(1, &grupo) != 0 || ::setgid(Nadie) != 0 || ::setuid(Nadie) != 0) ::_exit(77);
                      });
  EXPECT_NE(nadie.Finish(), 77) << "the identity was not taken";
  EXPECT_FALSE(nadie.Crashed());
  EXPECT_EQ(Leer(QStringLiteral("viejo.txt")), "nuevo");
  EXPECT_EQ(Leer(QStringLiteral("sub/viejo.txt")), "nuevo 2");
  EXPECT_EQ(Leer(QStringLiteral("a/b/c.txt")), "c");
  EXPECT_EQ(QDir(Destino()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            (QStringList{QStringLiteral("a"), QStringLiteral("sub"), QStringLiteral("viejo.txt")}));
  EXPECT_EQ(FueraDelDestino(), fuera);
}

TEST_F(Descomprimir, AReadOnlyTargetIsSaidToBeReadOnly) {
  const MontajePrueba montaje = MontajePrueba::SoloLectura(Destino());
  if (!montaje.Error().empty()) GTEST_SKIP() << montaje.Error();
  EscribirZip(Zip(), {Archivo("viejo.txt", "nuevo")});
  const auto antes = Contenido();
  for (const QString& carpeta : {Destino(), Destino() + u'/'}) {
    auto p = Parametros();
    p.carpeta = carpeta;
    avisos.clear();
    EXPECT_EQ(Descompresion::Extraer(p), 0);
    EXPECT_EQ(Mensajes(), QStringList{QStringLiteral("La carpeta %1 es de solo lectura").arg(carpeta)});
  }
  EXPECT_EQ(Contenido(), antes);
}


// Entry names as archivers write them: "//" is one "/", a "." piece is none,
// "\\" a separator too; "./" is the target itself. A run of them killed
// halfway is undone by the recovery, which reports nothing.
TEST_F(Descomprimir, DoubledSeparatorsAndDotPiecesNameTheSameFolders) {
  EscribirZip(Zip(), {Archivo("./", ""), Archivo("a//b.txt", "b"), Archivo("c/./d.txt", "d"), Archivo("e\\\\f.txt", "f"),
                      Archivo("./g.txt", "g"), Archivo("h//", ""), Archivo("viejo.txt", "nuevo")});
  const auto antes = Contenido();
  const QString resto = RestoDeUnaExtraccionMatada(Zip(), Destino(), 3);
  EXPECT_FALSE(resto.isEmpty());
  EXPECT_EQ(ColocacionZip::Recuperar(Destino()), QStringList());
  EXPECT_EQ(Contenido(), antes);
  EXPECT_EQ(Descompresion::Extraer(Parametros()), 5);
  EXPECT_EQ(Mensajes(), QStringList());
  const std::pair<const char*, QByteArray> esperados[] = {
      {"a/b.txt", "b"}, {"c/d.txt", "d"}, {"e/f.txt", "f"}, {"g.txt", "g"}, {"viejo.txt", "nuevo"}};
  for (const auto& [nombre, contenido] : esperados) EXPECT_EQ(Leer(QLatin1String(nombre)), contenido) << nombre;
  EXPECT_TRUE(QFileInfo(Destino() + QStringLiteral("/h")).isDir());
}

}  // namespace
