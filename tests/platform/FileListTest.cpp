#include "platform/CommonDialogs.h"
#include "platform/FileList.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QSet>
#include <QSignalSpy>
#include <QTreeView>

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

namespace {

// Files whose sizes read out of order as texts and whose dates do as well,
// with two folders; sorted by the list as the dialog asks it.
class FileListOrder : public ::testing::Test {
 protected:
  FileListOrder() {
    const struct {
      const char* name;
      qint64 size;
      QDateTime modified;
    } files[] = {
        {"b10.txt", 10, QDateTime(QDate(2021, 1, 1), QTime(8, 0))},
        {"a95.txt", 95, QDateTime(QDate(2019, 6, 1), QTime(8, 0))},
        {"c2k.dat", 2048, QDateTime(QDate(2020, 3, 1), QTime(8, 0))},
        {"d900k.bin", 900 * 1024, QDateTime(QDate(2019, 12, 31), QTime(23, 59, 59))},
        {"e1m.bin", 1024 * 1024, QDateTime(QDate(2020, 1, 1), QTime(0, 0))},
    };
    for (const auto& file : files) {
      QFile made(carpeta.File(QString::fromLatin1(file.name)));
      made.open(QIODevice::WriteOnly);
      made.write(QByteArray(file.size, 'x'));
      made.flush();
      made.setFileTime(file.modified, QFileDevice::FileModificationTime);
    }
    for (const char* folder : {"Zeta", "Alfa"}) QDir(carpeta.Path()).mkdir(QString::fromLatin1(folder));
    QSignalSpy leida(&archivos, &QFileSystemModel::directoryLoaded);
    raiz = archivos.setRootPath(carpeta.Path());
    if (archivos.rowCount(raiz) < 7) leida.wait(10000);
    lista.setSourceModel(&archivos);
  }

  QStringList Sorted(int column, Qt::SortOrder order) {
    lista.sort(column, order);
    QStringList names;
    const QModelIndex inside = lista.mapFromSource(raiz);
    for (int row = 0; row < lista.rowCount(inside); ++row) names << lista.index(row, 0, inside).data().toString();
    return names;
  }

  TemporaryFolder carpeta;
  QFileSystemModel archivos;
  QModelIndex raiz;
  FileList lista;
};

}  // namespace

TEST_F(FileListOrder, FoldersComeFirstThenSizesByBytesAndDatesByTime) {
  const struct {
    int column;
    Qt::SortOrder order;
    QStringList names;
  } cases[] = {
      {0, Qt::AscendingOrder, {"Alfa", "Zeta", "a95.txt", "b10.txt", "c2k.dat", "d900k.bin", "e1m.bin"}},
      {1, Qt::AscendingOrder, {"Alfa", "Zeta", "b10.txt", "a95.txt", "c2k.dat", "d900k.bin", "e1m.bin"}},
      {1, Qt::DescendingOrder, {"Zeta", "Alfa", "e1m.bin", "d900k.bin", "c2k.dat", "a95.txt", "b10.txt"}},
      {2, Qt::AscendingOrder, {"Alfa", "Zeta", "d900k.bin", "e1m.bin", "c2k.dat", "a95.txt", "b10.txt"}},
      {3, Qt::AscendingOrder, {"a95.txt", "d900k.bin", "e1m.bin", "c2k.dat", "b10.txt"}},
      {3, Qt::DescendingOrder, {"b10.txt", "c2k.dat", "e1m.bin", "d900k.bin", "a95.txt"}},
  };
  for (const auto& [column, order, names] : cases) {
    QStringList sorted = Sorted(column, order);
    // Two folders made in the same second have no order of dates between them.
    if (column == 3) {
      EXPECT_EQ(QSet<QString>(sorted.begin(), sorted.begin() + 2), (QSet<QString>{"Alfa", "Zeta"}));
      sorted = sorted.mid(2);
    }
    EXPECT_EQ(sorted, names) << column << ' ' << order;
  }
}

// The dialog's details show a Spanish date, a size and a type whole.
TEST(FileListDialog, TheColumnsAreWideEnoughForTheirTexts) {
  QFileDialog dialogo;
  ListInSpanish(dialogo);
  auto* detalles = dialogo.findChild<QTreeView*>(u"treeView"_qs);
  ASSERT_NE(detalles, nullptr);
  const QFontMetrics letra(detalles->font());
  const std::pair<int, QString> textos[] = {
      {1, u"1.023,99 KiB"_qs}, {2, u"Archivo XLSX"_qs}, {3, u"28/12/2026 23:59:59"_qs}};
  for (const auto& [columna, texto] : textos)
    EXPECT_GT(detalles->header()->sectionSize(columna), letra.horizontalAdvance(texto)) << texto.toStdString();
}
