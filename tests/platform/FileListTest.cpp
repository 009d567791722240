#include "platform/CommonDialogs.h"
#include "platform/FileList.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// A folder with a Windows program, a Linux one, a script marked executable,
// a text and a subfolder, listed by a dialog's file model once it is read.
class FileListTest : public ::testing::Test {
 protected:
  FileListTest() {
    const QDateTime momento(QDate(2026, 12, 8), QTime(9, 5, 7));
    for (const char* nombre : {"TUVAWIN.EXE", "tuvawin", "copia.sh", "notas.txt", "Otro.Exe"}) {
      QFile archivo(carpeta.File(QString::fromLatin1(nombre)));
      archivo.open(QIODevice::WriteOnly);
      archivo.write(QByteArray(1536, 'x'));
      archivo.flush();
      archivo.setFileTime(momento, QFileDevice::FileModificationTime);
    }
    QFile(carpeta.File(u"copia.sh"_qs)).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QDir(carpeta.Path()).mkdir(u"Copias"_qs);
    QSignalSpy leida(&archivos, &QFileSystemModel::directoryLoaded);
    raiz = archivos.setRootPath(carpeta.Path());
    if (archivos.rowCount(raiz) < 6) leida.wait(10000);
    lista.setSourceModel(&archivos);
  }

  QStringList Nombres() {
    QStringList nombres;
    const QModelIndex dentro = lista.mapFromSource(raiz);
    for (int fila = 0; fila < lista.rowCount(dentro); ++fila) nombres << lista.index(fila, 0, dentro).data().toString();
    nombres.sort();
    return nombres;
  }
  QString Columna(const char* nombre, int columna) {
    const QModelIndex entrada = lista.mapFromSource(archivos.index(carpeta.File(QString::fromLatin1(nombre))));
    return entrada.siblingAtColumn(columna).data().toString();
  }

  TemporaryFolder carpeta;
  QFileSystemModel archivos;
  QModelIndex raiz;
  FileList lista;
};

}  // namespace

TEST_F(FileListTest, TypesDatesAndSizesReadSpanish) {
  EXPECT_EQ(Columna("Copias", 2), u"Carpeta"_qs);
  EXPECT_EQ(Columna("notas.txt", 2), u"Archivo TXT"_qs);
  EXPECT_EQ(Columna("tuvawin", 2), u"Archivo"_qs);
  EXPECT_EQ(Columna("notas.txt", 3), u"08/12/2026 09:05:07"_qs);
  EXPECT_EQ(Columna("notas.txt", 1), u"1,50 KiB"_qs);
  EXPECT_EQ(Columna("notas.txt", 0), u"notas.txt"_qs);
}

TEST_F(FileListTest, AProgramsFilterShowsThisPlatformsProgramsBesideTheExeFiles) {
  const std::pair<QString, QStringList> casos[] = {
      {u"Archivos Ejecutables (*.EXE *.exe)"_qs, {"Copias", "Otro.Exe", "TUVAWIN.EXE", "copia.sh", "tuvawin"}},
      {u"Archivos de Texto (*.TXT *.txt)"_qs, {"Copias", "notas.txt"}},
      {u"Todos los Archivos (*)"_qs, {"Copias", "Otro.Exe", "TUVAWIN.EXE", "copia.sh", "notas.txt", "tuvawin"}},
  };
  for (const auto& [filtro, nombres] : casos) {
    lista.SetPatterns(filtro.mid(filtro.indexOf(u'(') + 1).chopped(1).split(u' '));
    EXPECT_EQ(Nombres(), nombres) << filtro.toStdString();
  }
}

// A dialog lists through it, its own model showing every name to it.
TEST(FileListDialog, TheDialogListsThroughIt) {
  QFileDialog dialogo;
  SetFilter(dialogo, u"Archivos Ejecutables (*.EXE)|*.EXE|Todos los Archivos (*.*)|*.*"_qs);
  ListInSpanish(dialogo);
  auto* lista = qobject_cast<FileList*>(dialogo.proxyModel());
  ASSERT_NE(lista, nullptr);
  EXPECT_TRUE(dialogo.testOption(QFileDialog::DontUseNativeDialog));
  ListInSpanish(dialogo);
  EXPECT_EQ(dialogo.proxyModel(), lista) << "once";
  auto* archivos = qobject_cast<QFileSystemModel*>(lista->sourceModel());
  ASSERT_NE(archivos, nullptr);
  EXPECT_TRUE(archivos->nameFilters().isEmpty()) << "the list matches the names itself";
}
