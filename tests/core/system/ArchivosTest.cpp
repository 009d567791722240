#include "core/system/Archivos.h"
#include "platform/Exceptions.h"
#include "platform/TextFile.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

void crear(const TemporaryFolder& carpeta, const QStringList& nombres) {
  for (const QString& nombre : nombres) TextFile::Write(carpeta.File(nombre), QStringLiteral("x"));
}

QStringList quedan(const TemporaryFolder& carpeta) {
  return QDir(carpeta.Path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

TEST(CoincideConMascara, MatchesAsWindowsDoes) {
  struct Caso {
    const char* nombre;
    const char* patron;
    bool coincide;
  };
  const Caso casos[] = {
      {"_QS1234.TMP", "_QS*.*", true},
      {"_qs1234.tmp", "_QS*.*", true},  // without regard to case
      {"_QS1234", "_QS*.*", true},      // "*.*" also takes names without a dot
      {"README", "*.*", true},
      {"X_QS1.TMP", "_QS*.*", false},
      {"QRP12.TMP", "QRP*.TMP", true},
      {"qrp12.tmp", "QRP*.TMP", true},
      {"QRP12.TMPX", "QRP*.TMP", false},
      {"QRP12.TXT", "QRP*.TMP", false},
      {"TEMP1.DB", "TEMP?.DB", true},
      {"TEMP12.DB", "TEMP?.DB", false},
      {"DATOS", "*.", true},
      {"DATOS.DB", "*.", false},
      {"a.b.c", "*.c", true},
  };
  for (const Caso& caso : casos)
    EXPECT_EQ(CoincideConMascara(QLatin1String(caso.nombre), QLatin1String(caso.patron)), caso.coincide)
        << caso.nombre << " ~ " << caso.patron;
}

TEST(BorrarArchivos, DeletesTheMatchingFilesOnly) {
  TemporaryFolder carpeta;
  crear(carpeta, {"_QS1.TMP", "_qs2", "_QSX.DAT", "ZEMWIN.INI", "QS3.TMP"});
  EXPECT_TRUE(BorrarArchivos(carpeta.Path() + QStringLiteral("/_QS*.*")));
  EXPECT_EQ(quedan(carpeta), (QStringList{"QS3.TMP", "ZEMWIN.INI"}));
}

TEST(BorrarArchivos, TakesBackslashesAndRelativeMasks) {
  TemporaryFolder carpeta;
  QDir().mkdir(carpeta.File(QStringLiteral("SUB")));
  crear(carpeta, {"SUB/QRP1.TMP", "SUB/OTRO.TMP"});
  EXPECT_TRUE(BorrarArchivos(QStringLiteral("SUB\\QRP*.TMP")));
  EXPECT_FALSE(QFileInfo::exists(carpeta.File(QStringLiteral("SUB/QRP1.TMP"))));
  EXPECT_TRUE(QFileInfo::exists(carpeta.File(QStringLiteral("SUB/OTRO.TMP"))));
}

TEST(BorrarArchivos, FoldersMatchingTheMaskMakeItFail) {
  TemporaryFolder carpeta;
  crear(carpeta, {"A.TXT", "B"});
  // "." and ".." match "*.*" and cannot be deleted as files.
  EXPECT_FALSE(BorrarArchivos(carpeta.Path() + QStringLiteral("/*.*")));
  EXPECT_TRUE(quedan(carpeta).isEmpty());

  QDir().mkdir(carpeta.File(QStringLiteral("TEMP1")));
  crear(carpeta, {"TEMP2"});
  EXPECT_FALSE(BorrarArchivos(carpeta.Path() + QStringLiteral("/TEMP*")));
  EXPECT_EQ(quedan(carpeta), QStringList{"TEMP1"});
}

TEST(BorrarArchivos, AMissingFolderFails) {
  TemporaryFolder carpeta;
  EXPECT_FALSE(BorrarArchivos(carpeta.Path() + QStringLiteral("/NOEXISTE/*.TMP")));
}

TEST(DirectorioTemporal, IsTheTemporaryFolderWithItsSeparator) {
  TemporaryFolder carpeta;
  qputenv("TMPDIR", carpeta.Path().toLocal8Bit());
  EXPECT_EQ(DirectorioTemporal(), QDir(carpeta.Path()).canonicalPath() + u'/');
}

TEST(CopiarArchivo, CopiesTheWholeFileAndReplacesTheTarget) {
  TemporaryFolder carpeta;
  QByteArray contenido(3 * 1024 * 1024 + 17, '\0');  // more than one block, with NUL bytes
  for (qsizetype i = 0; i < contenido.size(); ++i) contenido[i] = static_cast<char>(i % 251);
  TextFile::WriteBytes(carpeta.File(QStringLiteral("ORIGEN.DAT")), contenido);
  TextFile::WriteBytes(carpeta.File(QStringLiteral("DESTINO.DAT")), QByteArray(5 * 1024 * 1024, 'x'));
  CopiarArchivo(carpeta.File(QStringLiteral("ORIGEN.DAT")), carpeta.File(QStringLiteral("DESTINO.DAT")));
  EXPECT_EQ(TextFile::ReadBytes(carpeta.File(QStringLiteral("DESTINO.DAT"))), contenido);

  // Onto itself, and with Windows separators.
  CopiarArchivo(QStringLiteral("ORIGEN.DAT"), QStringLiteral(".\\ORIGEN.DAT"));
  EXPECT_EQ(TextFile::ReadBytes(carpeta.File(QStringLiteral("ORIGEN.DAT"))), contenido);
}

TEST(CopiarArchivo, ItsErrorsReachTheCallerAndLeaveTheTargetAlone) {
  TemporaryFolder carpeta;
  TextFile::Write(carpeta.File(QStringLiteral("DESTINO.TXT")), QStringLiteral("anterior"));
  try {
    CopiarArchivo(carpeta.File(QStringLiteral("NOEXISTE.TXT")), carpeta.File(QStringLiteral("DESTINO.TXT")));
    ADD_FAILURE() << "a missing source was copied";
  } catch (const Exception& error) {
    EXPECT_TRUE(error.Message().startsWith(QStringLiteral("Cannot open file \"") +
                                           carpeta.File(QStringLiteral("NOEXISTE.TXT"))))
        << error.Message().toStdString();
  }
  EXPECT_EQ(TextFile::Read(carpeta.File(QStringLiteral("DESTINO.TXT"))), QStringLiteral("anterior"));

  EXPECT_THROW(
      CopiarArchivo(carpeta.File(QStringLiteral("DESTINO.TXT")), carpeta.File(QStringLiteral("NO/EXISTE.TXT"))),
      Exception);
  QDir().mkdir(carpeta.File(QStringLiteral("CARPETA")));
  EXPECT_THROW(CopiarArchivo(carpeta.File(QStringLiteral("DESTINO.TXT")), carpeta.File(QStringLiteral("CARPETA"))),
               Exception);
  EXPECT_TRUE(QFileInfo(carpeta.File(QStringLiteral("CARPETA"))).isDir());
}

TEST(BuscarArchivos, ListsTheFilesBelowTheMasksWithTheirFolders) {
  TemporaryFolder carpeta;
  const QString base = QDir(carpeta.Path()).canonicalPath();
  for (const char* ruta : {"COPIAS", "COPIAS/2023", "COPIAS/2023/enero", "COPIAS/dbb_otra", "COPIAS/.oculta", "OTRA"})
    QDir(base).mkpath(QLatin1String(ruta));
  crear(carpeta, {"COPIAS/dbb_EMP1_1.bak", "COPIAS/DBB_EMP1_2.BAK", "COPIAS/notas.txt", "COPIAS/2023/dbb_x.bak",
                  "COPIAS/2023/enero/leeme", "COPIAS/2023/.oculto", "COPIAS/dbb_otra/a.txt", "COPIAS/.oculta/dbb_y.bak",
                  "COPIAS/.dbb_oculto.bak", "OTRA/dbb_z.bak"});

  // At the first level the pattern picks files and folders; below, every file.
  // An absolute path lists every folder above it, from the one below the root.
  QStringList esperado;
  QString antecesora;
  for (const QString& pieza : base.split(u'/', Qt::SkipEmptyParts)) esperado.append(antecesora += u'/' + pieza);
  esperado << base + "/COPIAS" << base + "/COPIAS/dbb_EMP1_1.bak" << base + "/COPIAS/DBB_EMP1_2.BAK"
           << base + "/COPIAS/dbb_otra" << base + "/COPIAS/dbb_otra/a.txt";
  EXPECT_EQ(BuscarArchivos(base + QStringLiteral("/COPIAS/dbb_*.*")), esperado.join(QStringLiteral("\r\n")) + "\r\n");

  // Every file below a "*.*" mask; a relative mask gives relative paths.
  const QString todo = BuscarArchivos(QStringLiteral("COPIAS/2023/*.*\r\nOTRA\\*.bak"));
  EXPECT_EQ(todo, QStringLiteral("COPIAS\r\nCOPIAS/2023\r\nCOPIAS/2023/dbb_x.bak\r\nCOPIAS/2023/enero\r\n"
                                 "COPIAS/2023/enero/leeme\r\nOTRA\r\nOTRA/dbb_z.bak\r\n"));
  EXPECT_EQ(BuscarArchivos(QStringLiteral("COPIAS\\dbb_*.*")),
            QStringLiteral("COPIAS\r\nCOPIAS/dbb_EMP1_1.bak\r\nCOPIAS/DBB_EMP1_2.BAK\r\n"
                           "COPIAS/dbb_otra\r\nCOPIAS/dbb_otra/a.txt\r\n"));
}

TEST(BuscarArchivos, NothingFoundGivesTheEmptyText) {
  TemporaryFolder carpeta;
  crear(carpeta, {"a.txt"});
  EXPECT_EQ(BuscarArchivos(carpeta.Path() + QStringLiteral("/*.bak")), QString());
  EXPECT_EQ(BuscarArchivos(carpeta.Path() + QStringLiteral("/NOEXISTE/*.*")), QString());
  EXPECT_EQ(BuscarArchivos(QString()), QString());
}

TEST(BuscarArchivos, NamesThatDifferOnlyInCaseAreBothListed) {
  TemporaryFolder carpeta;
  crear(carpeta, {"dbb_a.bak", "DBB_A.bak"});
  EXPECT_EQ(BuscarArchivos(QStringLiteral("*.bak")), QStringLiteral("DBB_A.bak\r\ndbb_a.bak\r\n"));
}

TEST(BuscarArchivos, DoesNotFollowALinkedFolder) {
  TemporaryFolder carpeta;
  QDir().mkpath(QStringLiteral("A/B"));
  crear(carpeta, {"A/B/f.txt"});
  // A link back up would make the search endless.
  ASSERT_TRUE(QFile::link(carpeta.Path() + QStringLiteral("/A"), QStringLiteral("A/B/arriba")));
  EXPECT_EQ(BuscarArchivos(QStringLiteral("A/*.*")), QStringLiteral("A\r\nA/B\r\nA/B/f.txt\r\n"));
}
