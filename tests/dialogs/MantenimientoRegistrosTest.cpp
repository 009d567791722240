#include "dialogs/MantenimientoRegistros.h"

#include "core/forms/GanchosFormulario.h"
#include "platform/controls/DBEdit.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

#include <functional>

namespace {

// A card master on CLIENTES (text key) with two pages.
class FichaPrueba : public MantenimientoRegistros {
 public:
  FichaPrueba() : MantenimientoRegistros(Ficha) {
    auto* columna = new QVBoxLayout(Datos());
    EditCodigo = new DBEdit(Datos());
    EditCodigo->setObjectName(u"EditCodigo"_qs);
    EditCodigo->SetSource(DataSource1);
    EditCodigo->SetDataField(u"Codigo"_qs);
    columna->addWidget(EditCodigo);
    PageControl1 = new QTabWidget(Datos());
    PageControl1->addTab(new QWidget, u"General"_qs);
    PageControl1->addTab(new QWidget, u"Otros"_qs);
    columna->addWidget(PageControl1);
    AsignarPaginas(PageControl1);
    Table1->SetTableName(u"CLIENTES"_qs);
    Iniciar(u"Clientes"_qs, u"Codigo"_qs, EditCodigo);
  }
  using MantenimientoRegistros::ActivarBotones;
  DBEdit* EditCodigo;
  QTabWidget* PageControl1;
};

// A grid master on ARTICULOS (16-bit key).
class RejillaPrueba : public MantenimientoRegistros {
 public:
  RejillaPrueba() : MantenimientoRegistros(Rejilla) {
    auto* columna = new QVBoxLayout(Datos());
    auto* rejilla = new DBGrid(Datos());
    rejilla->setObjectName(u"DBGrid1"_qs);
    columna->addWidget(rejilla);
    AsignarRejilla(rejilla);
    Table1->SetTableName(u"ARTICULOS"_qs);
    Iniciar(u"Artículos"_qs, u"Codigo"_qs);
  }
  DBGrid* Cuadricula() const { return DBGrid1; }
};

class Mantenimiento : public ConexionesFixture {
 protected:
  Mantenimiento() {
    Iniciar();
    Ejecutar(u"CREATE TABLE CLIENTES (Codigo VARCHAR(10) NOT NULL, Nombre VARCHAR(20) NULL, "
             "CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES ('A', 'Ana'), ('B', 'Blas')"_qs);
    Ejecutar(u"CREATE TABLE ARTICULOS (Codigo SMALLINT NOT NULL, Nombre VARCHAR(20) NULL, "
             "CONSTRAINT ARTICULOS_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"INSERT INTO ARTICULOS (Codigo, Nombre) VALUES (5, 'Tornillo'), (8, 'Tuerca')"_qs);
  }
  ~Mantenimiento() override { RestablecerGanchosFormulario(); }

  static QString Contar(const QString& tabla) {
    return EjecutarSQL(u"SELECT COUNT(*) FROM "_qs + tabla, u"Database"_qs);
  }
  static bool Habilitado(MantenimientoRegistros& f, const char* nombre) {
    if (auto* boton = f.findChild<QPushButton*>(QString::fromLatin1(nombre))) return boton->isEnabled();
    return f.findChild<QAction*>(QString::fromLatin1(nombre))->isEnabled();
  }
};

// Types over the edit's text, as a user does.
void Teclear(QLineEdit& edit, const char* texto) {
  edit.selectAll();
  QTest::keyClicks(&edit, QString::fromLatin1(texto));
}

const char* const kDeNavegacion[] = {"pbRefrescar", "pbEliminar", "Eliminar1", "pbAgregar", "Agregar",
                                     "EliminacionMultiple1", "Buscar", "FiltrarRegistros1",
                                     "CopiarRegistrosaOtrasEmpresas1", "Cerrar1"};
const char* const kDeEdicion[] = {"pbConforme", "pbCancelar", "CancelarEdicion1"};

TEST_F(Mantenimiento, TheCommandsFollowTheStateOfTheTable) {
  FichaPrueba ficha;
  ASSERT_TRUE(ficha.Table1->Active());
  EXPECT_EQ(ficha.Caption(), u"Clientes"_qs);
  const auto comprobar = [&](bool editando) {
    for (const char* nombre : kDeNavegacion) EXPECT_EQ(Habilitado(ficha, nombre), !editando) << nombre;
    for (const char* nombre : kDeEdicion) EXPECT_EQ(Habilitado(ficha, nombre), editando) << nombre;
  };
  comprobar(false);
  EXPECT_TRUE(ficha.EditCodigo->isReadOnly()) << "a saved key is not retyped";
  ficha.PageControl1->setCurrentIndex(1);
  ficha.AgregarClick();
  EXPECT_EQ(ficha.Table1->State(), dsInsert);
  EXPECT_EQ(ficha.PageControl1->currentIndex(), 0);
  EXPECT_FALSE(ficha.EditCodigo->isReadOnly());
  comprobar(true);
  ficha.pbCancelarClick();
  comprobar(false);
  ficha.Table1->Edit();
  comprobar(true);
  EXPECT_TRUE(ficha.EditCodigo->isReadOnly());
  ficha.Table1->Cancel();

  RejillaPrueba rejilla;
  rejilla.Cuadricula()->SetSelectedIndex(1);
  rejilla.AgregarClick();
  EXPECT_EQ(rejilla.Table1->State(), dsInsert);
  EXPECT_EQ(rejilla.Cuadricula()->SelectedIndex(), 0) << "a new line starts at its key";
  EXPECT_FALSE(Habilitado(rejilla, "pbAgregar"));
  EXPECT_FALSE(rejilla.findChild<QAction*>(u"ListarFichaActual1"_qs)->isEnabled());
}

TEST_F(Mantenimiento, NavigationTellsTheEndsEveryTimeItReachesThem) {
  RejillaPrueba f;
  f.pbUltimoClick();
  EXPECT_EQ(f.Table1->FieldByName(u"Codigo"_qs).AsInteger(), 8);
  mensajes.Expect(u"I"_qs).Expect(u"I"_qs);
  f.pbSiguienteClick();
  f.pbSiguienteClick();
  f.pbPrimeroClick();
  EXPECT_EQ(f.Table1->FieldByName(u"Codigo"_qs).AsInteger(), 5);
  f.pbSiguienteClick();  // to the last: no message
  mensajes.Expect(u"I"_qs);
  f.pbAnteriorClick();   // to the first: no message
  f.pbAnteriorClick();
  EXPECT_EQ(mensajes.Texts(), QStringList({u"Está Vd. en el último registro"_qs, u"Está Vd. en el último registro"_qs,
                                           u"Está Vd. en el primer registro"_qs}));
}

TEST_F(Mantenimiento, AGridKeyIsCheckedForItsRangeAndUniquenessByTheIndex) {
  const struct {
    const char* clave;
    const char* aviso;  // nullptr: accepted
    int filas;          // ARTICULOS after the line is saved
  } casos[] = {
      {"0", "¡ El valor debe estar entre 1 y 9999 !", 2},
      {"10000", "¡ El valor debe estar entre 1 y 9999 !", 2},
      {"8", "¡ Ya existe el registro !", 2},
      {"1", nullptr, 3},
      {"9999", nullptr, 4},
  };
  RejillaPrueba f;
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.clave);
    f.AgregarClick();
    f.Table1->FieldByName(u"Codigo"_qs).SetAsString(QString::fromLatin1(caso.clave));
    if (caso.aviso) mensajes.Expect(u"A"_qs);
    EXPECT_EQ(f.DBGrid1ColExit(0), caso.aviso == nullptr);
    if (caso.aviso) {
      EXPECT_EQ(mensajes.Texts().last(), QString::fromUtf8(caso.aviso));
    }
    if (!caso.aviso) {
      EXPECT_EQ(f.Table1->State(), dsInsert) << "a fresh line holding the key";
      EXPECT_EQ(f.Table1->FieldByName(u"Codigo"_qs).AsString(), QString::fromLatin1(caso.clave));
      f.Table1->FieldByName(u"Nombre"_qs).SetAsString(u"Nuevo"_qs);
      f.pbConformeClick();
      EXPECT_EQ(f.Table1->State(), dsInsert) << "the next new line is open";
      EXPECT_TRUE(f.Table1->FieldByName(u"Codigo"_qs).IsNull());
    }
    EXPECT_EQ(Contar(u"ARTICULOS"_qs), QString::number(caso.filas));
    if (f.Table1->State() != dsBrowse) f.pbCancelarClick();
  }
}

TEST_F(Mantenimiento, ACardKeyIsLookedUpWhenNewOrTypedOver) {
  FichaPrueba f;
  f.AgregarClick();
  f.PageControl1->setCurrentIndex(1);
  Teclear(*f.EditCodigo, "B");
  mensajes.Expect(u"A"_qs);
  EXPECT_FALSE(f.CampoClaveExit());
  EXPECT_EQ(mensajes.Texts().last(), u"¡ Ya existe el registro !"_qs);
  EXPECT_EQ(f.PageControl1->currentIndex(), 0) << "back on the first page";
  EXPECT_EQ(f.focusWidget(), f.EditCodigo);
  Teclear(*f.EditCodigo, "C");
  EXPECT_TRUE(f.CampoClaveExit());
  f.pbConformeClick();
  EXPECT_EQ(Contar(u"CLIENTES"_qs), u"3"_qs);
  EXPECT_EQ(f.Table1->State(), dsInsert) << "the card goes on with the next new record";
  f.pbCancelarClick();

  // In edit state only a key typed over is looked up again.
  ASSERT_TRUE(f.Table1->Locate(u"Codigo"_qs, Variant::String(u"A"_qs)));
  f.Table1->Edit();
  f.Table1->FieldByName(u"Nombre"_qs).SetAsString(u"Anabel"_qs);
  EXPECT_FALSE(f.ClaveModificada);
  EXPECT_TRUE(f.CampoClaveExit()) << "its own unchanged key";
  f.Table1->FieldByName(u"Codigo"_qs).SetAsString(u"B"_qs);
  EXPECT_TRUE(f.ClaveModificada);
  mensajes.Expect(u"A"_qs);
  EXPECT_FALSE(f.CampoClaveExit());
  f.pbCancelarClick();
  EXPECT_EQ(mensajes.Messages().size(), 2);
}

TEST_F(Mantenimiento, AnEmptyKeyOrCancelLeavesTheNewRecordWithoutAWord) {
  FichaPrueba f;
  f.AgregarClick();
  EXPECT_TRUE(f.CampoClaveExit());
  EXPECT_EQ(f.Table1->State(), dsBrowse) << "an empty key cancels";
  f.AgregarClick();
  Teclear(*f.EditCodigo, "A");
  f.findChild<QPushButton*>(u"pbCancelar"_qs)->setFocus();
  EXPECT_TRUE(f.CampoClaveExit()) << "a duplicate key while pressing Cancel";
  EXPECT_EQ(f.Table1->State(), dsBrowse);

  RejillaPrueba g;
  g.AgregarClick();
  EXPECT_TRUE(g.DBGrid1ColExit(0));
  EXPECT_EQ(g.Table1->State(), dsBrowse);
  EXPECT_TRUE(mensajes.Messages().isEmpty());
  EXPECT_EQ(Contar(u"CLIENTES"_qs) + Contar(u"ARTICULOS"_qs), u"22"_qs);
}

TEST_F(Mantenimiento, AGridInsertLeavesOneNewRow) {
  RejillaPrueba f;
  f.show();
  f.AgregarClick();
  EXPECT_EQ(f.Cuadricula()->currentIndex().row(), 2) << "below the saved lines, from the first one";
  f.Table1->FieldByName(u"Codigo"_qs).SetAsInteger(7);
  f.Cuadricula()->SetSelectedIndex(1);  // leaving the key column checks it
  EXPECT_EQ(f.Table1->State(), dsInsert);
  EXPECT_EQ(f.Table1->FieldByName(u"Codigo"_qs).AsInteger(), 7);
  f.Table1->FieldByName(u"Nombre"_qs).SetAsString(u"Arandela"_qs);
  f.pbConformeClick();
  EXPECT_EQ(f.Cuadricula()->currentIndex().row(), 3) << "the next one below the line saved, 5 7 8";
  EXPECT_EQ(f.Cuadricula()->model()->index(1, 1).data().toString(), u"Arandela"_qs) << "the saved lines still show";
  EXPECT_EQ(f.Cuadricula()->model()->index(2, 1).data().toString(), u"Tuerca"_qs);
  f.pbCancelarClick();
  EXPECT_EQ(Contar(u"ARTICULOS"_qs), u"3"_qs);
  EXPECT_EQ(f.Table1->RecordCount(), 3);
  EXPECT_EQ(f.Cuadricula()->model()->rowCount(), 3);
  EXPECT_EQ(EjecutarSQL(u"SELECT Nombre FROM ARTICULOS WHERE Codigo = 7"_qs, u"Database"_qs), u"Arandela"_qs);
}

// Each key to whatever has the focus then: the grid's first opens its cell's editor.
void Pulsar(const char* texto) {
  for (const char* letra = texto; *letra; ++letra) QTest::keyClick(QApplication::focusWidget(), *letra);
}

// The toolkit's warnings while it runs, which a user sees on the terminal.
class AvisosQt {
 public:
  AvisosQt() : anterior_(qInstallMessageHandler(&AvisosQt::anotar)) { anotados().clear(); }
  ~AvisosQt() { qInstallMessageHandler(anterior_); }
  static QStringList& anotados() {
    static QStringList avisos;
    return avisos;
  }

 private:
  static void anotar(QtMsgType tipo, const QMessageLogContext&, const QString& texto) {
    // The stand-in display's own notes are no user's terminal.
    if ((tipo == QtWarningMsg || tipo == QtCriticalMsg) && !texto.startsWith(u"This plugin does not support"_qs))
      anotados().append(texto);
  }
  QtMessageHandler anterior_;
};

// As a user types: the key into its cell, then Tab or Enter to the next one,
// and nothing on the terminal.
TEST_F(Mantenimiento, AKeyTypedInTheGridIsCheckedWhenItsCellIsLeft) {
  const AvisosQt avisos;
  for (const Qt::Key salida : {Qt::Key_Tab, Qt::Key_Return}) {
    SCOPED_TRACE(salida);
    RejillaPrueba f;
    f.show();
    QApplication::setActiveWindow(&f);
    f.AgregarClick();
    Pulsar("7");
    QTest::keyClick(QApplication::focusWidget(), salida);
    EXPECT_EQ(f.Table1->State(), dsInsert);
    EXPECT_EQ(f.Table1->FieldByName(u"Codigo"_qs).AsString(), u"7"_qs);
    EXPECT_EQ(f.Cuadricula()->SelectedIndex(), 1);
    Pulsar("Arandela");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    f.pbConformeClick();
    EXPECT_EQ(EjecutarSQL(u"SELECT Nombre FROM ARTICULOS WHERE Codigo = 7"_qs, u"Database"_qs), u"Arandela"_qs);
    EXPECT_TRUE(mensajes.Messages().isEmpty());
    Ejecutar(u"DELETE FROM ARTICULOS WHERE Codigo = 7"_qs);
  }
  EXPECT_EQ(AvisosQt::anotados(), QStringList());
}

TEST_F(Mantenimiento, DeletingAsksFirstAndNothingOnAnEmptyTable) {
  RejillaPrueba f;
  mensajes.Expect(u"C"_qs, u"NO"_qs).Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs);
  f.Eliminar1Click();
  EXPECT_EQ(Contar(u"ARTICULOS"_qs), u"2"_qs);
  f.Eliminar1Click();
  f.Eliminar1Click();
  EXPECT_EQ(Contar(u"ARTICULOS"_qs), u"0"_qs);
  f.Eliminar1Click();  // no question on an empty table
  EXPECT_EQ(mensajes.Texts().first(), u"¿ Está seguro de querer eliminar el registro ?"_qs);

  FichaPrueba g;
  g.Table1->Edit();
  g.Eliminar1Click();  // nothing while editing
  g.Table1->Cancel();
  g.Table1->BeforeDelete = [](Dataset&) { throw Exception(u"Record locked by another user"_qs); };
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"A"_qs);
  g.Eliminar1Click();
  EXPECT_EQ(mensajes.Texts().last(), u"¡ Este registro no puede eliminarse !"_qs);
  EXPECT_EQ(Contar(u"CLIENTES"_qs), u"2"_qs);
}

TEST_F(Mantenimiento, APostThatFailsTellsWhyByVariant) {
  FichaPrueba ficha;
  ficha.Table1->Edit();
  ficha.Table1->FieldByName(u"Nombre"_qs).SetAsString(u"Otra"_qs);
  Ejecutar(u"DELETE FROM CLIENTES WHERE Codigo = 'A'"_qs);  // gone under the editor
  mensajes.Expect(u"A"_qs);
  ficha.pbConformeClick();
  EXPECT_EQ(mensajes.Texts().last(),
            u"¡Imposible modificar el registro!. Es posible que esté siendo modificado por otro usuario."_qs);
  EXPECT_EQ(ficha.Table1->State(), dsBrowse) << "the edit is cancelled";

  RejillaPrueba rejilla;
  rejilla.Table1->Last();
  rejilla.Cuadricula()->SetSelectedIndex(1);
  rejilla.Table1->Edit();
  rejilla.Table1->FieldByName(u"Nombre"_qs).SetAsString(u"Otra"_qs);
  Ejecutar(u"DELETE FROM ARTICULOS WHERE Codigo = 8"_qs);
  mensajes.Expect(u"A"_qs);
  rejilla.pbConformeClick();
  EXPECT_EQ(mensajes.Texts().last(),
            u"¡ No se puede grabar el registro porque está bloqueado por otro usuario o porque el dato introducido no "
            "es válido !"_qs);

  // A new record whose post is refused stays for correction.
  rejilla.Table1->BeforeInsert = nullptr;
  rejilla.AgregarClick();
  rejilla.Table1->FieldByName(u"Codigo"_qs).SetAsInteger(5);  // the index says it exists
  mensajes.Expect(u"A"_qs);
  rejilla.pbConformeClick();
  EXPECT_EQ(mensajes.Texts().last(), u"¡ El registro no ha sido grabado !"_qs);
  EXPECT_EQ(rejilla.Table1->State(), dsInsert);
}

TEST_F(Mantenimiento, TheKeyColumnOfASavedLineCannotBeEdited) {
  RejillaPrueba f;
  f.Cuadricula()->SetSelectedIndex(0);
  mensajes.Expect(u"A"_qs);
  EXPECT_THROW(f.Table1->Edit(), Abort);
  EXPECT_EQ(mensajes.Texts().last(), u"¡ No se puede modificar la clave del registro !"_qs);
  EXPECT_EQ(f.Table1->State(), dsBrowse);
  f.Cuadricula()->SetSelectedIndex(1);
  f.Table1->Edit();
  EXPECT_EQ(f.Table1->State(), dsEdit);
  f.Table1->Cancel();
}

TEST_F(Mantenimiento, SearchAndFilterGoThroughTheFormServices) {
  FichaPrueba f;
  QStringList llamadas;
  Ganchos().BuscarRegistro = [&](Dataset& d) { llamadas << u"Buscar "_qs + d.objectName(); };
  Ganchos().FiltrarTabla = [&](Dataset& d) { llamadas << u"Filtrar "_qs + d.objectName(); };
  f.findChild<QAction*>(u"Buscar"_qs)->trigger();
  f.findChild<QAction*>(u"FiltrarRegistros1"_qs)->trigger();
  EXPECT_EQ(llamadas, QStringList({u"Buscar Table1"_qs, u"Filtrar Table1"_qs}));
  EXPECT_EQ(f.findChild<QAction*>(u"Buscar"_qs)->shortcut(), QKeySequence(Qt::Key_F11));
  EXPECT_EQ(f.findChild<QAction*>(u"FiltrarRegistros1"_qs)->shortcut(), QKeySequence(Qt::Key_F12));
}

}  // namespace

namespace {

// After a save the next new record waits; F11 and F12 give it up while
// nothing was typed in it, and run their search; a record typed into stays.
TEST_F(Mantenimiento, SearchKeysGiveUpTheUntouchedNewRecordAfterASave) {
  QStringList llamadas;
  Ganchos().BuscarRegistro = [&](Dataset& d) { llamadas << u"Buscar "_qs + d.objectName(); };
  Ganchos().FiltrarTabla = [&](Dataset& d) { llamadas << u"Filtrar "_qs + d.objectName(); };
  const struct {
    Qt::Key tecla;
    const char* llamada;
  } teclas[] = {{Qt::Key_F11, "Buscar Table1"}, {Qt::Key_F12, "Filtrar Table1"}};

  RejillaPrueba rejilla;
  rejilla.show();
  QApplication::setActiveWindow(&rejilla);
  for (const auto& [tecla, llamada] : teclas) {
    llamadas.clear();
    rejilla.AgregarClick();
    Pulsar(tecla == Qt::Key_F11 ? "7" : "6");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    Pulsar("Arandela");
    QTest::mouseClick(rejilla.findChild<QPushButton*>(u"pbConforme"_qs), Qt::LeftButton);
    ASSERT_EQ(rejilla.Table1->State(), dsInsert) << "the next line waits";
    const int lineas = rejilla.Cuadricula()->model()->rowCount();
    QTest::keyClick(QApplication::focusWidget(), tecla);
    EXPECT_EQ(llamadas, QStringList{QString::fromLatin1(llamada)});
    EXPECT_EQ(rejilla.Table1->State(), dsBrowse);
    EXPECT_EQ(rejilla.Cuadricula()->model()->rowCount(), lineas - 1);
  }
  EXPECT_EQ(Contar(u"ARTICULOS"_qs), u"4"_qs);
  // A key typed in the new line's cell, not yet stored, is kept with its line.
  llamadas.clear();
  rejilla.AgregarClick();
  Pulsar("9");
  for (const auto& [tecla, llamada] : teclas) QTest::keyClick(QApplication::focusWidget(), tecla);
  EXPECT_TRUE(llamadas.isEmpty());
  EXPECT_EQ(rejilla.Table1->State(), dsInsert);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(rejilla.Table1->FieldByName(u"Codigo"_qs).AsString(), u"9"_qs);
  rejilla.pbCancelarClick();

  FichaPrueba ficha;
  ficha.show();
  QApplication::setActiveWindow(&ficha);
  ficha.AgregarClick();
  ASSERT_TRUE(ficha.EditCodigo->hasFocus());
  llamadas.clear();
  QTest::keyClick(ficha.EditCodigo, Qt::Key_F11);
  EXPECT_EQ(llamadas, QStringList{u"Buscar Table1"_qs});
  EXPECT_EQ(ficha.Table1->State(), dsBrowse);
  // Typed in the key's edit and not left yet.
  ficha.AgregarClick();
  llamadas.clear();
  Teclear(*ficha.EditCodigo, "C");
  QTest::keyClick(ficha.EditCodigo, Qt::Key_F11);
  EXPECT_TRUE(llamadas.isEmpty());
  EXPECT_EQ(ficha.Table1->State(), dsInsert);
  EXPECT_EQ(ficha.EditCodigo->text(), u"C"_qs);
  // A record being edited is no new one.
  ficha.pbCancelarClick();
  ficha.Table1->Edit();
  QTest::keyClick(ficha.EditCodigo, Qt::Key_F11);
  EXPECT_TRUE(llamadas.isEmpty());
  EXPECT_EQ(ficha.Table1->State(), dsEdit);
  ficha.Table1->Cancel();
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

}  // namespace

namespace {

// Esc is "&Cancelar Edición": with an edit under way it cancels it, the
// master staying open; while browsing it does nothing, from any control.
TEST_F(Mantenimiento, EscCancelsAnEditAndLeavesABrowsingMasterOpen) {
  FichaPrueba ficha;
  ficha.show();
  QApplication::setActiveWindow(&ficha);
  EXPECT_EQ(ficha.findChild<QAction*>(u"CancelarEdicion1"_qs)->shortcut(), QKeySequence(Qt::Key_Escape));
  const struct {
    const char* como;
    std::function<void()> empezar;
    DataSetState antes;
  } casos[] = {
      {"browsing", [] {}, dsBrowse},
      {"new record", [&] { ficha.AgregarClick(); }, dsInsert},
      {"edit", [&] { ficha.Table1->Edit(); }, dsEdit},
  };
  for (const auto& caso : casos)
    for (QWidget* foco : {static_cast<QWidget*>(ficha.EditCodigo), static_cast<QWidget*>(ficha.PageControl1)}) {
      caso.empezar();
      ASSERT_EQ(ficha.Table1->State(), caso.antes) << caso.como;
      if (caso.antes == dsInsert) Teclear(*ficha.EditCodigo, "Z");
      foco->setFocus();
      QTest::keyClick(foco, Qt::Key_Escape);
      EXPECT_EQ(ficha.Table1->State(), dsBrowse) << caso.como;
      EXPECT_TRUE(ficha.isVisible()) << caso.como;
    }
  EXPECT_EQ(Contar(u"CLIENTES"_qs), u"2"_qs);
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

}  // namespace
