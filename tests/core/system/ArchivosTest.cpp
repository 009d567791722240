#include "core/system/Archivos.h"
#include "platform/TextFile.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QDir>
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
