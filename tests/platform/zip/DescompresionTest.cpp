#include "platform/zip/Descompresion.h"
#include "tests/platform/zip/ArchivoZipPrueba.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

namespace {

using Descompresion::Aviso;

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

  QStringList Mensajes() const {
    QStringList textos;
    for (const Aviso& aviso : avisos)
      if (aviso.accion == Aviso::Mensaje) textos.append(aviso.texto);
    return textos;
  }

  QTemporaryDir padre;
  std::vector<Aviso> avisos;
};

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

}  // namespace
