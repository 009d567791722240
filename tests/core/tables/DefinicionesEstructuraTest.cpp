#include "core/startup/Configuracion.h"
#include "core/tables/DefinicionesEstructura.h"
#include "platform/TextFile.h"
#include "tests/fixtures/ScriptedPresenter.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

QString crlf(const QStringList& lineas) { return lineas.join(u"\r\n"_qs) + u"\r\n"_qs; }

const QString kBase = crlf({"A/C/1/Codigo/ftInteger/0/*/|01/01/2024", "A/C/2/Nombre/ftString/40//", "A/I/1/<Primary>/Codigo//",
                            "B/C/1/Codigo/ftInteger/0/*/|01/01/2024"});

}  // namespace

TEST(DefinicionesEstructura, MergesBySections) {
  const QString aAmpliada = crlf({"A/C/1/Codigo/ftInteger/0/*/|01/01/2024", "A/C/2/Nombre/ftString/40//",
                                  "A/C/3/Alta/ftDateTime/0//|02/02/2024", "A/I/1/<Primary>/Codigo//"});
  const std::tuple<QString, QString> casos[] = {
      // Complementary lines join their table's base block, in front of the untouched base.
      {crlf({"[Definiciones Complementarias]", "A/C/3/Alta/ftDateTime/0//|02/02/2024"}), aAmpliada + kBase},
      // Without a header: new or substitutive definitions before the base.
      {crlf({"B/C/1/Otro/ftString/5//|03/03/2024"}), crlf({"B/C/1/Otro/ftString/5//|03/03/2024", "", ""}) + kBase},
      // The second header switches back to substitutive definitions.
      {crlf({"[Definiciones Complementarias]", "A/C/3/Alta/ftDateTime/0//|02/02/2024", "",
             "[Definiciones Nuevas o Sustitutivas]", "C/C/1/X/ftMemo/0//|04/04/2024"}),
       aAmpliada + crlf({"C/C/1/X/ftMemo/0//|04/04/2024", "", ""}) + kBase},
  };
  for (const auto& [fusion, esperado] : casos)
    EXPECT_EQ(DefinicionesEstructura(kBase, fusion), esperado) << fusion.toStdString();
  // A reader takes the first block: the substituted B has one field.
  const QString sustituida = DefinicionesEstructura(kBase, std::get<0>(casos[1]));
  EXPECT_EQ(ListaCamposDefinidos(u"B"_qs, sustituida), u"Otro\r\nCodigo\r\n"_qs);  // every block
  EXPECT_EQ(DefinicionTabla(u"B"_qs, sustituida, u"Campos"_qs), u"B/C/1/Otro/ftString/5//|03/03/2024\r\n"_qs);
}

TEST(DefinicionesEstructura, ListsTablesFieldsAndParts) {
  QString texto = kBase;
  texto.replace(u"B/C/1"_qs, u"A/SQL/1/x/UPDATE A SET Nombre = ''//\r\nB/C/1"_qs);
  texto += u"A/C/9/Tarde/ftString/1//|09/09/2024\r\n"_qs;
  EXPECT_EQ(DefinicionTabla(u"A"_qs, texto, u"Indices"_qs), u"A/I/1/<Primary>/Codigo//\r\n"_qs);
  EXPECT_EQ(DefinicionTabla(u"A"_qs, texto, u"SQL,Campos"_qs),
            crlf({"A/C/1/Codigo/ftInteger/0/*/|01/01/2024", "A/C/2/Nombre/ftString/40//", "A/SQL/1/x/UPDATE A SET Nombre = ''//"}));
  EXPECT_EQ(ListaCamposDefinidos(u"A"_qs, texto, u"IncluirTipo"_qs),
            u"Codigo/ftInteger\r\nNombre/ftString\r\nTarde/ftString\r\n"_qs);
  EXPECT_EQ(ListaTablasDefinidas(texto + u"C/C/1/Sin/ftString/1//\r\n"_qs), u"A\r\nB\r\n"_qs);
  EXPECT_EQ(ListaTablasDefinidas(texto, u"IncluirFecha"_qs), u"A|01/01/2024\r\nB|01/01/2024\r\n"_qs);
  EXPECT_EQ(ListaTablasDefinidas(u"A/C/1/Codigo/ftInteger/0/*/\r\n"_qs), QString());
}

TEST(DefinicionesEstructura, ReadsTheThreeFilesBesideTheGeneralDatabase) {
  ScriptedPresenter mensajes;
  TemporaryFolder carpeta;
  PathBaseDatosGeneral = carpeta.Path() + u'/';
  CarpetaPrograma = carpeta.Path() + u"/programa/"_qs;
  const QString txt = RutaDatabaseTxt();
  EXPECT_EQ(txt, carpeta.File(u"DATABASE.TXT"_qs));
  // Without DATABASE.TXT the other files still count, after a warning.
  mensajes.Expect(u"A"_qs);
  TextFile::Write(carpeta.File(u"database.esp"_qs), crlf({"B/C/1/Propio/ftString/9//|05/05/2024"}));
  EXPECT_EQ(ArchivoDefinicionesTabla(), u"B\r\n"_qs);
  EXPECT_TRUE(mensajes.Texts().value(0).startsWith(u"No está disponible el archivo "_qs + txt + u". Motivo: "_qs));

  // The program folder's copy is taken; DATABASE.ESP hides the base B.
  QDir().mkpath(CarpetaPrograma);
  TextFile::Write(CarpetaPrograma + u"DATABASE.TXT"_qs, kBase);
  TextFile::Write(carpeta.File(u"DATABASE.VRT"_qs), crlf({"[Definiciones Complementarias]", "A/C/3/Alta/ftDateTime/0//|02/02/2024"}));
  const QString estandar = DefinicionesEstandar();
  EXPECT_EQ(ListaCamposDefinidos(u"B"_qs, DefinicionTabla(u"B"_qs, estandar, u"Campos"_qs)), u"Propio\r\n"_qs);
  EXPECT_EQ(ListaCamposDefinidos(u"A"_qs, DefinicionTabla(u"A"_qs, estandar, u"Campos"_qs)), u"Codigo\r\nNombre\r\nAlta\r\n"_qs);
  EXPECT_TRUE(QFileInfo::exists(txt));

  EXPECT_EQ(ArchivoDefinicionesTabla(u"ExcluirTablasBDGeneral"_qs), u"A\r\nB\r\n"_qs);
  TextFile::Write(carpeta.File(u"database.esp"_qs), crlf({"EMPRESA/C/1/Codigo/ftSmallint/0/*/|05/05/2024"}));
  EXPECT_EQ(ArchivoDefinicionesTabla(u"ExcluirTablasBDGeneral"_qs), u"A\r\nB\r\n"_qs);
  EXPECT_EQ(ArchivoDefinicionesTabla(u"ExcluirTablasBDGeneral,Otra"_qs), u"A\r\nB\r\nEMPRESA\r\n"_qs);
}
