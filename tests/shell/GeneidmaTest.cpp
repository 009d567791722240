#include "shell/Geneidma.h"

#include "core/forms/GanchosFormulario.h"
#include "core/services/RutinasBusqueda.h"
#include "core/startup/Configuracion.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString kGeneral = u"DatabaseGeneral"_qs;

QString General(const QString& sql) { return EjecutarSQL(sql, kGeneral).trimmed(); }

// The languages master on an installation of the engine given, used by an
// administrator, with English (500 texts) and French (3 texts).
class Idiomas : public ConexionesFixture, public ModuloConUsuarios, public ::testing::WithParamInterface<const char*> {
 protected:
  Idiomas() {
    instalacion.Engine(QString::fromLatin1(GetParam()));
    Iniciar();
    CrearUsuarios(u"Codigo, Categoria"_qs, u"('ANA', 'Administrador')"_qs);
    CodigoUsuarioActual = u"ANA"_qs;
    Ejecutar(u"INSERT INTO IDIOMA (Idioma, FormatoFecha) VALUES ('Inglés', 'mm/dd/yyyy')"_qs, kGeneral);
    Ejecutar(u"INSERT INTO IDIOMA (Idioma, FormatoFecha) VALUES ('Francés', 'dd/mm/yyyy')"_qs, kGeneral);
    QStringList lineas;
    for (int n = 1; n <= 500; ++n) lineas << u"('Inglés', 'Texto %1', 'Text %1')"_qs.arg(n);
    lineas << u"('Francés', '1', 'Un')"_qs << u"('Francés', '7', 'Sept')"_qs << u"('Francés', 'Hola', 'Salut')"_qs;
    for (const QString& linea : lineas)
      Ejecutar(u"INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) VALUES "_qs + linea, kGeneral);
  }
  static QString Lineas(const QString& idioma) {
    return General(u"SELECT COUNT(*) FROM TXIDIOMA WHERE Idioma = '%1'"_qs.arg(idioma));
  }
  static void Ir(TfGENEIDMA& f, const QString& idioma, const QString& clave = QString()) {
    ASSERT_TRUE(f.Table1->Locate(u"Idioma"_qs, Variant::String(idioma)));
    if (!clave.isEmpty()) {
      ASSERT_TRUE(f.Table2->Locate(u"ClaveTexto"_qs, Variant::String(clave)));
    }
  }
  void TablasNoAccesibles(const QString& tablas) {
    Ejecutar(u"UPDATE USUARIO SET Configuracion = 'TablasNoAccesibles=%1' WHERE Codigo = 'ANA'"_qs.arg(tablas), kGeneral);
    usuario.Refresh();
  }
};

}  // namespace

TEST_P(Idiomas, ALanguageGoesWithAllItsLinesOrNotAtAll) {
  TfGENEIDMA f;
  EXPECT_EQ(f.Caption(), u"Configuración de Internacionalización"_qs);
  Ir(f, u"Inglés"_qs);
  // A user who may not change the table: nothing goes, and nothing is said.
  TablasNoAccesibles(u"CLIENTES, idioma"_qs);
  mensajes.Expect(u"C"_qs, u"SI"_qs);
  f.Eliminar1Click();
  EXPECT_EQ(mensajes.Texts(), QStringList{u"¿Está seguro de querer eliminar el registro y todas sus líneas?"_qs});
  EXPECT_EQ(Lineas(u"Inglés"_qs), u"500"_qs);
  EXPECT_EQ(General(u"SELECT COUNT(*) FROM IDIOMA"_qs), u"2"_qs);
  EXPECT_EQ(f.Table2->FieldByName(u"Idioma"_qs).AsString(), u"Inglés"_qs) << "the grid still shows the lines";

  TablasNoAccesibles(u"IDIOMAS"_qs);
  mensajes.Expect(u"C"_qs, u"SI"_qs);
  f.Eliminar1Click();
  EXPECT_EQ(Lineas(u"Inglés"_qs), u"0"_qs);
  EXPECT_EQ(General(u"SELECT Idioma FROM IDIOMA"_qs), u"Francés"_qs);
  EXPECT_EQ(Lineas(u"Francés"_qs), u"3"_qs);
  EXPECT_EQ(mensajes.Messages().size(), 2);
}

TEST_P(Idiomas, DuplicationCopiesTheCurrentLineUnderTheNextNumber) {
  TfGENEIDMA f;
  Ir(f, u"Francés"_qs, u"7"_qs);
  f.findChild<QAction*>(u"Agregar"_qs)->setText(u"&Agregar con Duplicación"_qs);
  f.Table2->Append();
  EXPECT_EQ(f.Table2->FieldByName(u"Idioma"_qs).AsString(), u"Francés"_qs);
  EXPECT_EQ(f.Table2->FieldByName(u"ClaveTexto"_qs).AsString(), u"8"_qs) << "text codes are no numbers";
  EXPECT_EQ(f.Table2->FieldByName(u"Texto"_qs).AsString(), u"Sept"_qs);
  f.pbConformeClick();
  EXPECT_EQ(General(u"SELECT Texto FROM TXIDIOMA WHERE Idioma = 'Francés' AND ClaveTexto = '8'"_qs), u"Sept"_qs);
  EXPECT_EQ(f.Table2->State(), dsInsert) << "the next line follows";
  EXPECT_EQ(f.Rejilla()->model()->index(0, 1).data().toString(), u"Un"_qs) << "below the lines, which still show";
  f.pbCancelarClick();

  // A language starts with no date format, duplicated or not.
  f.findChild<QAction*>(u"Agregar"_qs)->setText(u"&Agregar"_qs);
  f.AgregarClick();
  EXPECT_EQ(f.Table1->State(), dsInsert);
  EXPECT_TRUE(f.Table1->FieldByName(u"FormatoFecha"_qs).AsString().isEmpty());
  f.Table1->FieldByName(u"Idioma"_qs).SetAsString(u"Alemán"_qs);
  f.pbConformeClick();
  EXPECT_EQ(General(u"SELECT COUNT(*) FROM IDIOMA WHERE Idioma = 'Alemán'"_qs), u"1"_qs);
  f.Table2->Append();
  EXPECT_EQ(f.Table2->FieldByName(u"ClaveTexto"_qs).AsString(), u"1"_qs);
  f.pbCancelarClick();
}

TEST_P(Idiomas, ALanguageWithoutTextsTakesItsFirstLineFromTheGrid) {
  Ejecutar(u"INSERT INTO IDIOMA (Idioma) VALUES ('Alemán')"_qs, kGeneral);
  TfGENEIDMA f;
  f.show();
  Ir(f, u"Alemán"_qs);
  DBGrid* rejilla = f.Rejilla();
  rejilla->setFocus();
  const auto empezada = [&f](const char* como) {
    EXPECT_EQ(f.Table2->State(), dsInsert) << como;
    EXPECT_EQ(f.Table2->FieldByName(u"Idioma"_qs).AsString(), u"Alemán"_qs) << como;
    f.pbCancelarClick();
  };
  QTest::keyClick(rejilla, Qt::Key_Insert);
  empezada("Insert");
  QTest::keyClick(rejilla, Qt::Key_Down);
  empezada("Down");
  QTest::mouseDClick(rejilla->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
  empezada("double-click");

  QTest::keyClick(rejilla, Qt::Key_H);
  ASSERT_EQ(f.Table2->State(), dsInsert);
  auto* celda = rejilla->findChild<QLineEdit*>();
  ASSERT_NE(celda, nullptr) << "the key opened the cell";
  QTest::keyClicks(celda, u"allo"_qs);
  QTest::keyClick(celda, Qt::Key_Return);
  EXPECT_EQ(f.Table2->FieldByName(u"ClaveTexto"_qs).AsString(), u"hallo"_qs);
  f.pbConformeClick();
  EXPECT_EQ(General(u"SELECT ClaveTexto FROM TXIDIOMA WHERE Idioma = 'Alemán'"_qs), u"hallo"_qs);
  f.pbCancelarClick();

  // Down past the last line starts the next one; above it, it only moves.
  Ir(f, u"Francés"_qs, u"1"_qs);
  QTest::keyClick(rejilla, Qt::Key_Down);
  EXPECT_EQ(f.Table2->State(), dsBrowse);
  EXPECT_EQ(f.Table2->FieldByName(u"ClaveTexto"_qs).AsString(), u"7"_qs);
  Ir(f, u"Francés"_qs, u"Hola"_qs);
  QTest::keyClick(rejilla, Qt::Key_Down);
  EXPECT_EQ(f.Table2->State(), dsInsert);
  f.pbCancelarClick();
  EXPECT_EQ(Lineas(u"Francés"_qs), u"3"_qs);
}

TEST_P(Idiomas, CancelUndoesTheLineThenTheLanguage) {
  TfGENEIDMA f;
  Ir(f, u"Francés"_qs, u"Hola"_qs);
  f.Table1->Edit();
  f.Table1->FieldByName(u"FormatoFecha"_qs).SetAsString(u"yyyy-mm-dd"_qs);
  f.Table2->Edit();
  f.Table2->FieldByName(u"Texto"_qs).SetAsString(u"Bonjour"_qs);
  EXPECT_FALSE(f.findChild<QAction*>(u"Buscar"_qs)->isEnabled());
  f.pbCancelarClick();
  EXPECT_EQ(f.Table1->State(), dsBrowse);
  EXPECT_EQ(f.Table2->State(), dsBrowse);
  EXPECT_TRUE(f.findChild<QAction*>(u"Buscar"_qs)->isEnabled());
  EXPECT_EQ(f.Table2->FieldByName(u"Texto"_qs).AsString(), u"Salut"_qs);
  EXPECT_EQ(General(u"SELECT FormatoFecha FROM IDIOMA WHERE Idioma = 'Francés'"_qs), u"dd/mm/yyyy"_qs);
}

TEST_P(Idiomas, CtrlDeleteInTheGridTakesTheLineOnceConfirmed) {
  TfGENEIDMA f;
  Ir(f, u"Francés"_qs, u"Hola"_qs);
  QKeyEvent suprimir(QEvent::KeyPress, Qt::Key_Delete, Qt::ControlModifier);
  mensajes.Expect(u"C"_qs, u"NO"_qs).Expect(u"C"_qs, u"SI"_qs);
  QApplication::sendEvent(f.Rejilla(), &suprimir);
  EXPECT_EQ(Lineas(u"Francés"_qs), u"3"_qs);
  QApplication::sendEvent(f.Rejilla(), &suprimir);
  EXPECT_EQ(Lineas(u"Francés"_qs), u"2"_qs);
  EXPECT_EQ(General(u"SELECT COUNT(*) FROM TXIDIOMA WHERE ClaveTexto = 'Hola'"_qs), u"0"_qs);
}

TEST_P(Idiomas, TheOnlyLanguageIsSearchedStraightAwayUnderItsQuotedName) {
  Ejecutar(u"DELETE FROM IDIOMA"_qs, kGeneral);
  Ejecutar(u"INSERT INTO IDIOMA (Idioma) VALUES ('Gaélico d''Irlanda')"_qs, kGeneral);
  Ejecutar(u"INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) VALUES ('Gaélico d''Irlanda', 'Adiós', 'Slán')"_qs,
           kGeneral);
  QStringList busquedas;
  RutinasBusqueda rutinas;
  rutinas.BuscarDatoFiltrado = [&busquedas](const QString& tabla, int, const QString& condicion) {
    busquedas << tabla + u' ' + condicion;
    return Variant::Array({Variant::String(u"Gaélico d'Irlanda"_qs), Variant::String(u"Adiós"_qs)});
  };
  InstalarRutinasBusqueda(rutinas);
  TfGENEIDMA f;
  f.Buscar1Click();
  EXPECT_EQ(busquedas, QStringList{u"TXIDIOMA Idioma='Gaélico d''Irlanda'"_qs});
  EXPECT_EQ(f.Table1->FieldByName(u"Idioma"_qs).AsString(), u"Gaélico d'Irlanda"_qs);
  EXPECT_EQ(f.Table2->FieldByName(u"Texto"_qs).AsString(), u"Slán"_qs);
}

// The copy to other companies takes the language shown with its lines.
TEST_P(Idiomas, TheCopyToOtherCompaniesTakesTheLanguageWithItsLines) {
  QStringList copiadas;
  Ganchos().CopiarRegistrosAOtrasEmpresasConDetalle = [&copiadas](Dataset& tabla, Dataset& detalle) {
    copiadas << static_cast<Table&>(tabla).TableName() + u' ' + tabla.FieldByName(u"Idioma"_qs).AsString()
             << static_cast<Table&>(detalle).TableName() + u' ' + QString::number(detalle.RecordCount());
  };
  TfGENEIDMA f;
  Ir(f, u"Francés"_qs);
  QAction* copia = f.findChild<QAction*>(u"CopiarRegistrosaOtrasEmpresas1"_qs);
  ASSERT_NE(copia, nullptr);
  EXPECT_TRUE(copia->isEnabled() && copia->isVisible());
  copia->trigger();
  RestablecerGanchosFormulario();
  EXPECT_EQ(copiadas, (QStringList{u"IDIOMA Francés"_qs, u"TXIDIOMA 3"_qs}));
}

// After a text line is saved the next one waits in the grid; F11 and F12
// give it up while it is untouched, then search or filter the languages.
TEST_P(Idiomas, SearchKeysGiveUpTheUntouchedLineAfterASavedText) {
  Ejecutar(u"DELETE FROM IDIOMA WHERE Idioma = 'Inglés'"_qs, kGeneral);
  QStringList llamadas;
  RutinasBusqueda rutinas;
  rutinas.BuscarDatoFiltrado = [&llamadas](const QString& tabla, int, const QString& condicion) {
    llamadas << tabla + u' ' + condicion;
    return Variant::Array({Variant::String(u"Francés"_qs), Variant::String(u"7"_qs)});
  };
  InstalarRutinasBusqueda(rutinas);
  Ganchos().FiltrarTabla = [&llamadas](Dataset& tabla) { llamadas << u"Filtrar "_qs + tabla.objectName(); };
  TfGENEIDMA f;
  f.show();
  QApplication::setActiveWindow(&f);
  const struct {
    Qt::Key tecla;
    const char* texto;
    const char* llamada;
  } casos[] = {{Qt::Key_F11, "Huit", "TXIDIOMA Idioma='Francés'"}, {Qt::Key_F12, "Neuf", "Filtrar Table1"}};
  for (const auto& caso : casos) {
    llamadas.clear();
    Ir(f, u"Francés"_qs);
    f.Rejilla()->setFocus();
    QTest::keyClick(f.Rejilla(), Qt::Key_Insert);
    ASSERT_EQ(f.Table2->State(), dsInsert);
    f.Table2->FieldByName(u"Texto"_qs).SetAsString(QString::fromLatin1(caso.texto));
    QTest::mouseClick(f.findChild<QPushButton*>(u"pbConforme"_qs), Qt::LeftButton);
    ASSERT_EQ(f.Table2->State(), dsInsert) << "the next line waits";
    f.Rejilla()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), caso.tecla);
    EXPECT_EQ(llamadas, QStringList{QString::fromUtf8(caso.llamada)});
    EXPECT_EQ(f.Table2->State(), dsBrowse);
    EXPECT_EQ(General(u"SELECT COUNT(*) FROM TXIDIOMA WHERE Texto = '%1'"_qs.arg(QLatin1String(caso.texto))), u"1"_qs);
  }
  EXPECT_EQ(Lineas(u"Francés"_qs), u"5"_qs);
  // A line typed into stays with its text.
  llamadas.clear();
  QTest::keyClick(f.Rejilla(), Qt::Key_Insert);
  f.Table2->FieldByName(u"Texto"_qs).SetAsString(u"Dix"_qs);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
  EXPECT_TRUE(llamadas.isEmpty());
  EXPECT_EQ(f.Table2->State(), dsInsert);
  f.pbCancelarClick();
  RestablecerGanchosFormulario();
}

INSTANTIATE_TEST_SUITE_P(Motores, Idiomas, ::testing::Values("Microsoft SQL Server", "Paradox"));
