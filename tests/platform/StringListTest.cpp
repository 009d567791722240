#include "platform/Exceptions.h"
#include "platform/StringList.h"
#include "platform/TextFile.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/data/DataFixture.h"

#include <gtest/gtest.h>

TEST(StringList, NameValueAccessTakesTheFirstLineOfANameWithoutRegardToCase) {
  StringList list({u"Titulo=Primero"_qs, u"Formato=0,0,400,500"_qs, u"titulo=Segundo"_qs, u"sin igual"_qs,
                   u"Vacio="_qs, u"Expr=a=b"_qs});
  EXPECT_EQ(QStringList({list.Values(u"TITULO"_qs), list.Values(u"Expr"_qs), list.Values(u"Vacio"_qs),
                         list.Values(u"sin igual"_qs)}),
            QStringList({"Primero", "a=b", "", ""}));
  EXPECT_EQ(list.IndexOfName(u"vacio"_qs), 4);
  EXPECT_EQ(list.Names(3), QString());
}

TEST(StringList, TextEndsEveryLineWithCrLfAndSplitsOnAnyLineEnd) {
  StringList list;
  list.SetText(u"uno\r\ndos\nres\rcuatro\r\n"_qs);
  EXPECT_EQ(list.Lines(), QStringList({u"uno"_qs, u"dos"_qs, u"res"_qs, u"cuatro"_qs}));
  EXPECT_EQ(list.Text(), u"uno\r\ndos\r\nres\r\ncuatro\r\n"_qs);
  list.SetText(u"a\r\n\r\nb"_qs);
  EXPECT_EQ(list.Lines(), QStringList({u"a"_qs, QString(), u"b"_qs}));
  list.SetText(QString());
  EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, ASortedListIgnoringDuplicatesKeepsOneOfEachInOrder) {
  StringList list;
  list.SetSorted(true);
  list.SetIgnoreDuplicates(true);
  for (const char* line : {"fGENEMENU.Panel1", "fGENEBUSQ.pbAceptar", "FGENEMENU.PANEL1", "Árbol"}) list.Add(line);
  EXPECT_EQ(list.Lines(), QStringList({u"fGENEBUSQ.pbAceptar"_qs, u"fGENEMENU.Panel1"_qs, u"Árbol"_qs}));
}

TEST(StringList, FilesAreWindows1252AndAMissingOneRaisesWithItsName) {
  TemporaryFolder folder;
  const QString path = folder.File("INSTALACION.CFG");
  TextFile::WriteBytes(path, "TipoBaseDatos=Microsoft SQL Server\r\nNombre=Compa\xF1\xED" "a \x80\r\n");
  StringList list;
  list.LoadFromFile(path);
  EXPECT_EQ(list.Values(u"Nombre"_qs), u"Compañía €"_qs);
  list.SetValue(u"Nombre"_qs, u"Año"_qs);
  list.SaveToFile(path);
  EXPECT_EQ(TextFile::ReadBytes(path), QByteArray("TipoBaseDatos=Microsoft SQL Server\r\nNombre=A\xF1o\r\n"));
  EXPECT_TRUE(MessageOf([&] { list.LoadFromFile(folder.File("NOEXISTE.CFG")); }).contains(u"NOEXISTE.CFG"_qs));
}
