#include "core/system/Archivos.h"
#include "platform/Exceptions.h"
#include "platform/TextFile.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

void crear(const QStringList& nombres) {
  for (const QString& nombre : nombres) TextFile::Write(nombre, u"x"_qs);
}

QStringList quedan() { return QDir().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name); }

}  // namespace

TEST(CoincideConMascara, MatchesAsWindowsDoes) {
  const std::tuple<const char*, const char*, bool> casos[] = {
      {"_qs1234.tmp", "_QS*.*", true}, {"_QS1234", "_QS*.*", true},     {"README", "*.*", true},
      {"X_QS1.TMP", "_QS*.*", false},  {"QRP12.TMPX", "QRP*.TMP", false}, {"QRP12.TXT", "QRP*.TMP", false},
      {"TEMP1.DB", "TEMP?.DB", true},  {"TEMP12.DB", "TEMP?.DB", false},  {"DATOS", "*.", true},
      {"DATOS.DB", "*.", false},       {"a.b.c", "*.c", true},
  };
  for (const auto& [nombre, patron, coincide] : casos)
    EXPECT_EQ(CoincideConMascara(QLatin1String(nombre), QLatin1String(patron)), coincide) << nombre << " ~ " << patron;
}

TEST(BorrarArchivos, DeletesTheMatchingFilesAndFailsOnFolders) {
  TemporaryFolder carpeta;
  QDir().mkpath(u"SUB/TEMP1"_qs);
  crear({"_QS1.TMP", "_qs2", "_QSX.DAT", "QS3.TMP", "SUB/QRP1.TMP", "SUB/OTRO.TMP", "SUB/TEMP2"});
  EXPECT_TRUE(BorrarArchivos(carpeta.Path() + u"/_QS*.*"_qs));
  EXPECT_EQ(quedan(), (QStringList{"QS3.TMP", "SUB"}));
  EXPECT_TRUE(BorrarArchivos(u"SUB\\QRP*.TMP"_qs));  // relative, with backslashes
  EXPECT_FALSE(BorrarArchivos(u"SUB/TEMP*"_qs));     // the folder TEMP1 cannot go
  EXPECT_EQ(QDir(u"SUB"_qs).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), (QStringList{"OTRO.TMP", "TEMP1"}));
  // "." and ".." match "*.*" and cannot be deleted as files.
  EXPECT_FALSE(BorrarArchivos(u"SUB/*.*"_qs));
  EXPECT_EQ(QDir(u"SUB"_qs).entryList(QDir::Files), QStringList());
  EXPECT_FALSE(BorrarArchivos(u"NOEXISTE/*.TMP"_qs));
}

TEST(DirectorioTemporal, IsTheTemporaryFolderWithItsSeparator) {
  TemporaryFolder carpeta;
  qputenv("TMPDIR", carpeta.Path().toLocal8Bit());
  EXPECT_EQ(DirectorioTemporal(), QDir(carpeta.Path()).canonicalPath() + u'/');
}

TEST(CopiarArchivo, CopiesTheWholeFileAndOnFailureLeavesTheTargetAlone) {
  TemporaryFolder carpeta;
  QByteArray contenido(3 * 1024 * 1024 + 17, '\0');  // more than one block, with NUL bytes
  for (qsizetype i = 0; i < contenido.size(); ++i) contenido[i] = static_cast<char>(i % 251);
  TextFile::WriteBytes(u"ORIGEN.DAT"_qs, contenido);
  TextFile::WriteBytes(u"DESTINO.DAT"_qs, QByteArray(5 * 1024 * 1024, 'x'));
  CopiarArchivo(carpeta.File(u"ORIGEN.DAT"_qs), carpeta.File(u"DESTINO.DAT"_qs));
  EXPECT_EQ(TextFile::ReadBytes(u"DESTINO.DAT"_qs), contenido);
  CopiarArchivo(u"ORIGEN.DAT"_qs, u".\\ORIGEN.DAT"_qs);  // onto itself
  EXPECT_EQ(TextFile::ReadBytes(u"ORIGEN.DAT"_qs), contenido);

  TextFile::Write(u"DESTINO.TXT"_qs, u"anterior"_qs);
  try {
    CopiarArchivo(u"NOEXISTE.TXT"_qs, u"DESTINO.TXT"_qs);
    ADD_FAILURE() << "a missing source was copied";
  } catch (const Exception& error) {
    EXPECT_TRUE(error.Message().startsWith(u"Cannot open file \"NOEXISTE.TXT"_qs)) << error.what();
  }
  EXPECT_EQ(TextFile::Read(u"DESTINO.TXT"_qs), u"anterior"_qs);
  QDir().mkdir(u"CARPETA"_qs);
  for (const char* destino : {"NO/EXISTE.TXT", "CARPETA"})
    EXPECT_THROW(CopiarArchivo(u"DESTINO.TXT"_qs, QLatin1String(destino)), Exception) << destino;
  EXPECT_TRUE(QFileInfo(u"CARPETA"_qs).isDir());
}

TEST(BuscarArchivos, ListsTheFilesBelowTheMasksWithTheirFolders) {
  TemporaryFolder carpeta;
  const QString base = QDir(carpeta.Path()).canonicalPath();
  for (const char* ruta : {"COPIAS/2023/enero", "COPIAS/dbb_otra", "COPIAS/.oculta", "OTRA", "A/B"})
    QDir().mkpath(QLatin1String(ruta));
  crear({"COPIAS/dbb_EMP1_1.bak", "COPIAS/DBB_EMP1_2.BAK", "COPIAS/notas.txt", "COPIAS/2023/dbb_x.bak",
         "COPIAS/2023/enero/leeme", "COPIAS/2023/.oculto", "COPIAS/dbb_otra/a.txt", "COPIAS/.oculta/dbb_y.bak",
         "COPIAS/.dbb_oculto.bak", "OTRA/dbb_z.bak", "OTRA/DBB_Z.bak", "A/B/f.txt"});
  // A link back up would make the search endless: it is not followed.
  ASSERT_TRUE(QFile::link(base + u"/A"_qs, u"A/B/arriba"_qs));

  // At the first level the pattern picks files and folders; below, every file.
  // An absolute path lists every folder above it, from the one below the root.
  const QString copias = u"COPIAS\r\nCOPIAS/dbb_EMP1_1.bak\r\nCOPIAS/DBB_EMP1_2.BAK\r\n"
                         "COPIAS/dbb_otra\r\nCOPIAS/dbb_otra/a.txt\r\n"_qs;
  QString antecesoras, camino;
  for (const QString& pieza : base.split(u'/', Qt::SkipEmptyParts)) antecesoras += (camino += u'/' + pieza) + "\r\n";
  QString absoluto = copias;
  absoluto.replace(u"COPIAS"_qs, base + u"/COPIAS"_qs);
  EXPECT_EQ(BuscarArchivos(base + u"/COPIAS/dbb_*.*"_qs), antecesoras + absoluto);
  EXPECT_EQ(BuscarArchivos(u"COPIAS\\dbb_*.*"_qs), copias);
  // Names that differ only in case are different files and both are listed.
  EXPECT_EQ(BuscarArchivos(u"COPIAS/2023/*.*\r\nOTRA\\*.bak\r\nA/*.*"_qs),
            u"A\r\nA/B\r\nA/B/f.txt\r\nCOPIAS\r\nCOPIAS/2023\r\nCOPIAS/2023/dbb_x.bak\r\n"
            "COPIAS/2023/enero\r\nCOPIAS/2023/enero/leeme\r\nOTRA\r\nOTRA/DBB_Z.bak\r\nOTRA/dbb_z.bak\r\n"_qs);
  for (const char* nada : {"OTRA/*.txt", "NOEXISTE/*.*", ""}) EXPECT_EQ(BuscarArchivos(QLatin1String(nada)), QString());
}
