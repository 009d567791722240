#include "printing/Geneimpr.h"

#include "core/forms/ContextoImpresos.h"
#include "core/forms/GanchosFormulario.h"
#include "core/helpers/LiteralesSQL.h"
#include "platform/TextFile.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "printing/Genelimp.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/fixtures/Keyboard.h"
#include "tests/fixtures/RecordingPrinter.h"
#include "tests/fixtures/ScriptedDialogs.h"

#include <QApplication>
#include <QAction>
#include <QComboBox>
#include <QSet>
#include <QTabWidget>
#include <QToolButton>
#include <QTest>
#include <QTimer>

namespace {

const QString CodigoEnBlanco = u"¡No es posible crear registros con el código en blanco!"_qs;

// The definitions opened from a module (no company asked) on the company
// database, IMPRESO made from the installation's definitions.
class Definiciones : public ConexionesFixture, public ModuloConUsuarios {
 protected:
  Definiciones() {
    Iniciar();
    CrearUsuarios(u"Codigo, Categoria, Configuracion"_qs,
                  u"('ADMIN', 'Administrador', NULL), ('ANA', 'Normal', 'ProcesosNoAutorizados=Modificar Impresos')"_qs);
    CodigoUsuarioActual = u"ADMIN"_qs;
    ContextoImpresos = u"Contexto"_qs;
  }
  ~Definiciones() override {
    ContextoImpresos.clear();
    ModuloDatos = nullptr;
  }

  static QString Campo(const TfGENEIMPR& f, const char* nombre) {
    return f.Table1->FieldByName(QString::fromLatin1(nombre)).AsString();
  }
  static void Escribir(TfGENEIMPR& f, const char* nombre, const QString& valor) {
    f.Table1->FieldByName(QString::fromLatin1(nombre)).SetAsString(valor);
  }
  // F9, noting the preview's page count (-1: no preview) and closing it.
  static int Simular(TfGENEIMPR& f) {
    int paginas = -1;
    QTimer reloj;
    QObject::connect(&reloj, &QTimer::timeout, [&] {
      if (!fGENELIMP || !fGENELIMP->isVisible()) return;
      paginas = fGENELIMP->NumeroPaginas();
      EXPECT_EQ(FormularioLlamador, u"fGENEIMPR"_qs);
      fGENELIMP->reject();
    });
    reloj.start(0);
    QTest::keyClick(&f, Qt::Key_F9);
    return paginas;
  }

  ScriptedDialogs dialogos;
  RecordingPrinter impresoras{{u"Oficina 1"_qs}, carpeta.Path()};
};

}  // namespace

TEST_F(Definiciones, ANewRecordsDefaultsAndAsciiHasNoPaper) {
  TfGENEIMPR f;
  EXPECT_EQ(f.Caption(), u"Configuración de Impresos"_qs);
  EXPECT_EQ(f.size(), QSize(969, 609));
  const auto* impresoras = f.findChild<QComboBox*>(u"EditImpresoraPorDefecto"_qs);
  EXPECT_EQ(impresoras->itemText(0), u"Predeterminada"_qs);
  EXPECT_EQ(impresoras->itemText(1), u"Oficina 1"_qs);
  const auto* tipos = f.findChild<QComboBox*>(u"EditTipoDocumento"_qs);
  EXPECT_EQ(tipos->count(), 54);
  EXPECT_EQ(tipos->itemText(53), u"Visita"_qs);
  f.AgregarClick();
  EXPECT_EQ(Campo(f, "TipoDocumento"), u"Otro"_qs);
  EXPECT_EQ(Campo(f, "Modo"), u"Grafico"_qs);
  EXPECT_EQ(Campo(f, "Formato"), u"A4"_qs);
  EXPECT_EQ(Campo(f, "ImpresoraPorDefecto"), u"Predeterminada"_qs);
  Escribir(f, "Codigo", u"TICKET"_qs);
  Escribir(f, "Modo", u"ASCII"_qs);
  EXPECT_TRUE(f.ValidacionWinControl(f.findChild<QWidget*>(u"EditModo"_qs)));
  EXPECT_EQ(Campo(f, "Formato"), u"Sin Formato"_qs);
}

TEST_F(Definiciones, F9SavesAndPreviewsOnePageButNotWithoutACode) {
  TfGENEIMPR f;
  f.show();
  f.AgregarClick();
  mensajes.Expect(u"A"_qs).Expect(u"A"_qs);
  EXPECT_EQ(Simular(f), -1);
  ASSERT_GE(mensajes.Messages().size(), 1);
  EXPECT_EQ(mensajes.Messages()[0].text, CodigoEnBlanco);
  EXPECT_EQ(EjecutarSQL(u"SELECT COUNT(*) FROM IMPRESO"_qs, u"Database"_qs), u"0"_qs);

  f.AgregarClick();
  Escribir(f, "Codigo", u"FAC"_qs);
  Escribir(f, "Descripcion", u"Factura"_qs);
  Escribir(f, "Instrucciones", u"[CABECERA]\r\nText=10;10;0;Hola\r\nCamp=10;20;0;Importe"_qs);
  EXPECT_EQ(Simular(f), 1);
  EXPECT_EQ(EjecutarSQL(u"SELECT Descripcion FROM IMPRESO WHERE Codigo = 'FAC'"_qs, u"Database"_qs), u"Factura"_qs);
  EXPECT_EQ(fGENELIMP, nullptr);
}

TEST_F(Definiciones, WithoutTheRightTheDefinitionsAreOnlyBrowsedAndSimulated) {
  Ejecutar(u"INSERT INTO IMPRESO (Codigo, Descripcion, Modo, Formato, Instrucciones) "
           "VALUES ('FAC', 'Factura', 'Grafico', 'A4', '[CABECERA]\r\nText=10;10;0;Hola')"_qs);
  CodigoUsuarioActual = u"ANA"_qs;
  ModuloDatosListo = true;
  TfGENEIMPR f;
  ModuloDatosListo = false;
  f.show();
  EXPECT_TRUE(f.Table1->ReadOnly());
  EXPECT_EQ(Campo(f, "Codigo"), u"FAC"_qs);
  EXPECT_EQ(Simular(f), 1);
}

TEST_F(Definiciones, TheProgramIsImportedAndExportedInWindows1252) {
  const QByteArray texto("[CABECERA]\r\nText=10;10;0;A\xf1o \xb7 1");
  TextFile::WriteBytes(carpeta.File(u"entrada.txt"_qs), texto);
  dialogos.ExpectFile(carpeta.File(u"entrada.txt"_qs)).ExpectFile(carpeta.File(u"salida.txt"_qs));
  TfGENEIMPR f;
  f.AgregarClick();
  Escribir(f, "Codigo", u"FAC"_qs);
  f.pbImportarClick();
  EXPECT_EQ(Campo(f, "Instrucciones"), u"[CABECERA]\r\nText=10;10;0;Año · 1"_qs);
  f.pbExportarClick();
  EXPECT_EQ(TextFile::ReadBytes(carpeta.File(u"salida.txt"_qs)), texto);
  ASSERT_EQ(dialogos.Dialogs().size(), 2);
  EXPECT_EQ(dialogos.Dialogs()[0].title, u"Importar desde un Archivo de Texto"_qs);
  EXPECT_EQ(dialogos.Dialogs()[1].title, u"Exportar a un Archivo de Texto"_qs);
}

// The "&Ficha" menu as a keyboard walks it offers the copy to other
// companies, which copies the definitions shown from any program but the
// manager and its configuration run; the tool bar's buttons read Spanish,
// each with its letter.
TEST_F(Definiciones, TheMenuOffersTheCopyToOtherCompaniesAndTheToolBarReadsSpanish) {
  Ejecutar(u"INSERT INTO IMPRESO (Codigo, Descripcion) VALUES ('FAC', 'Factura')"_qs);
  QStringList copiadas;
  Ganchos().CopiarRegistrosAOtrasEmpresas = [&copiadas](Dataset& tabla) {
    copiadas << tabla.FieldByName(u"Codigo"_qs).AsString();
  };
  TfGENEIMPR f;
  f.show();
  QApplication::setActiveWindow(&f);
  const QStringList entradas = MenuEntriesByKeyboard(QApplication::focusWidget(), Qt::Key_F);
  EXPECT_TRUE(entradas.contains(u"&Buscar Registro..."_qs)) << entradas.join(u" | ").toStdString();
  EXPECT_TRUE(entradas.contains(u"&Filtrar Registros..."_qs));
  EXPECT_TRUE(entradas.contains(u"Copiar &Registros a Otras Empresas..."_qs));
  auto* copia = f.findChild<QAction*>(u"CopiarRegistrosaOtrasEmpresas1"_qs);
  ASSERT_TRUE(copia->isVisible() && copia->isEnabled());
  copia->trigger();
  EXPECT_EQ(copiadas, QStringList{u"FAC"_qs});
  Ganchos().CopiarRegistrosAOtrasEmpresas = nullptr;
  const std::pair<const char*, bool> programas[] = {
      {"ZEMWIN.EXE", false}, {"MASPWIN.EXE", false}, {"TUVAWIN.EXE", true}, {"ZEMWINX.EXE", true}, {"TEST_PRINTING.EXE", true}};
  for (const auto& [programa, copia] : programas)
    EXPECT_EQ(TfGENEIMPR::CopiaAOtrasEmpresas(QLatin1String(programa)), copia) << programa;
  QStringList botones;
  for (const QToolButton* boton : f.findChildren<QToolButton*>())
    if (boton->parentWidget()->objectName() == u"P1"_qs) botones << boton->text();
  EXPECT_EQ(botones, (QStringList{u"&Importar"_qs, u"&Exportar"_qs, u"&Tipo de Letra"_qs, u"&Simular"_qs}));
}

// Round the pages by keyboard from the first field, a memo's page among
// them: the record shown is neither changed nor put in edit.
TEST_F(Definiciones, CtrlTabRoundThePagesLeavesTheRecordAsItWas) {
  const QString instrucciones = u"[CABECERA]\r\nText=10;10;0;Hola"_qs;
  Ejecutar(u"INSERT INTO IMPRESO (Codigo, Descripcion, Modo, Formato, Instrucciones) VALUES ('PRU_1', 'Prueba', "
           "'Grafico', 'A4', "_qs + LiteralSQL(instrucciones) + u")"_qs);
  TfGENEIMPR f;
  f.show();
  QApplication::setActiveWindow(&f);
  ASSERT_EQ(Campo(f, "Codigo"), u"PRU_1"_qs);
  f.findChild<QWidget*>(u"EditCodigo"_qs)->setFocus();
  auto* paginas = f.findChild<QTabWidget*>(u"PageControl1"_qs);
  QSet<int> vistas;
  for (int vuelta = 1; vuelta <= 6; ++vuelta) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    vistas << paginas->currentIndex();
    EXPECT_EQ(f.Table1->State(), dsBrowse) << vuelta;
  }
  EXPECT_EQ(vistas.size(), paginas->count());
  EXPECT_EQ(Campo(f, "Instrucciones"), instrucciones);
  EXPECT_EQ(EjecutarSQL(u"SELECT Instrucciones FROM IMPRESO WHERE Codigo = 'PRU_1'"_qs, u"Database"_qs), instrucciones);
}

TEST_F(Definiciones, ClosingClearsTheContext) {
  {
    TfGENEIMPR f;
    f.show();
    f.close();
    EXPECT_TRUE(ContextoImpresos.isEmpty());
  }
  ContextoImpresos = u"Contexto"_qs;
  { TfGENEIMPR f; }
  EXPECT_TRUE(ContextoImpresos.isEmpty());
}

// A user memo of IMPRESO whose name reads like statements is written as the
// column it is: a save changes its own record only. A name that cannot be a
// name is refused, naming it, and its memo is not written.
TEST_F(Definiciones, ASaveWritesAUserMemoWithAHostileNameAsItsOwnColumnOnly) {
  const QString hostil = u"Modo=1;DELETE FROM VX;X"_qs;
  const QString roto = u"Notas\r\nDELETE FROM VX"_qs;
  { TfGENEIMPR primera; }  // makes IMPRESO as the installation defines it
  ContextoImpresos = u"Contexto"_qs;
  for (const QString& sql : {u"ALTER TABLE IMPRESO ADD [Modo=1;DELETE FROM VX;X] TEXT NULL"_qs,
                             u"ALTER TABLE IMPRESO ADD [Notas\r\nDELETE FROM VX] TEXT NULL"_qs,
                             u"CREATE TABLE VX (A INTEGER)"_qs, u"INSERT INTO VX VALUES (1), (2), (3)"_qs,
                             u"INSERT INTO IMPRESO (Codigo, Descripcion, Modo, Formato) VALUES ('ALB', 'Albarán', 'ASCII', 'A4')"_qs})
    Ejecutar(sql);
  TfGENEIMPR f;
  f.show();
  f.AgregarClick();
  Escribir(f, "Codigo", u"FAC"_qs);
  Escribir(f, "Descripcion", u"Factura"_qs);
  f.Table1->FieldByName(hostil).SetAsString(u"texto de O'Neil"_qs);
  f.Table1->FieldByName(roto).SetAsString(u"no se escribe"_qs);
  mensajes.Expect(u"A"_qs);
  f.pbConformeClick();
  ASSERT_EQ(mensajes.Messages().size(), 1);
  EXPECT_TRUE(mensajes.Messages()[0].text.startsWith(QString::fromUtf16(kNombreNoValido)));
  EXPECT_TRUE(mensajes.Messages()[0].text.contains(u"Notas??DELETE FROM VX"_qs)) << mensajes.Messages()[0].text.toStdString();
  EXPECT_EQ(EjecutarSQL(u"SELECT COUNT(*) FROM VX"_qs, u"Database"_qs), u"3"_qs);
  EXPECT_EQ(EjecutarSQL(u"SELECT Codigo, Modo, [Modo=1;DELETE FROM VX;X] FROM IMPRESO ORDER BY Codigo"_qs, u"Database"_qs),
            u"ALB|ASCII|\r\nFAC|Grafico|texto de O'Neil"_qs);
}

// The preview's line table numbers a memo's continuation rows as an
// integer, also where an earlier version left a table of that name whose
// number was a small integer.
TEST_F(Definiciones, TheSimulatedLinesNumberTheirMemoRowsAsAnInteger) {
  Ejecutar(u"INSERT INTO IMPRESO (Codigo, Descripcion, Modo, Formato, Instrucciones) "
           "VALUES ('FAC', 'Factura', 'Grafico', 'A4', '[CABECERA]\r\nText=10;10;0;Hola')"_qs);
  TfGENEIMPR f;
  f.show();
  struct Lineas {
    FieldType tipo = ftUnknown;
    QString baseDatos, tabla;
  };
  const auto simular = [&f] {
    Lineas vistas;
    QTimer reloj;
    QObject::connect(&reloj, &QTimer::timeout, [&] {
      if (!fGENELIMP || !fGENELIMP->isVisible()) return;
      vistas = {fGENELIMP->LTemporal->FieldByName(u"LineaMemo"_qs).DataType(), fGENELIMP->LTemporal->DatabaseName(),
                fGENELIMP->LTemporal->TableName()};
      fGENELIMP->reject();
    });
    reloj.start(0);
    QTest::keyClick(&f, Qt::Key_F9);
    return vistas;
  };
  const Lineas primera = simular();
  ASSERT_FALSE(primera.tabla.isEmpty());
  EXPECT_EQ(primera.tipo, ftInteger);

  Table restos;
  restos.SetDatabaseName(primera.baseDatos);
  restos.SetTableName(primera.tabla);
  restos.FieldDefs().Add(u"CodigoTemporal"_qs, ftInteger);
  restos.FieldDefs().Add(u"Linea"_qs, ftSmallint);
  restos.FieldDefs().Add(u"LineaMemo"_qs, ftSmallint);
  restos.IndexDefs().Add(QString(), u"CodigoTemporal;Linea;LineaMemo"_qs, ixPrimary);
  restos.CreateTable();
  const Lineas segunda = simular();
  EXPECT_EQ(segunda.tabla, primera.tabla);
  EXPECT_EQ(segunda.tipo, ftInteger);
}
