#include "core/services/RutinasBusqueda.h"
#include "core/forms/GanchosFormulario.h"
#include "core/services/CargaLista.h"
#include "core/services/MantenimientoLista.h"
#include "core/tables/CreacionTabla.h"
#include "dialogs/Genemlis.h"
#include "platform/FormRegistry.h"
#include "platform/controls/DBGrid.h"
#include "platform/controls/DatasetModel.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/dialogs/CapturaFormulario.h"
#include "tests/dialogs/FilasTabla.h"
#include "tests/dialogs/FormularioEnPantalla.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

const QString kPedido = u"NumeroCampos=4\r\nCamposTotalizadores=Importe;Cantidad;\r\nDefinicionCampos="
                        "Articulo,ftInteger,0,,,,ARTICULO;Cantidad,ftInteger,0,,Importe->Cantidad*Precio#0.01;"
                        "Precio,ftFloat,0;Importe,ftFloat,0,ReadOnly"_qs;
const QString kLineasPedido = u"1|2|1,5|3\r\n2|1|0,5|0,5"_qs;


int columna(DBGrid& rejilla, const QString& campo) { return rejilla.Model()->FieldNames().indexOf(campo); }

// Edits a cell of the current row as the user does and moves to the next column.
void escribirYSalir(TfGENEMLIS& formulario, const QString& campo, const QString& valor) {
  DBGrid& rejilla = formulario.DBGrid1();
  const int fila = rejilla.Model()->CurrentRow();
  rejilla.setCurrentIndex(rejilla.Model()->index(fila, columna(rejilla, campo)));
  rejilla.Model()->setData(rejilla.currentIndex(), valor);
  rejilla.setCurrentIndex(rejilla.Model()->index(fila, columna(rejilla, campo) + 1));
}

}  // namespace

class Genemlis : public ConexionesFixture {
 protected:
  Genemlis() {
    Iniciar();
    RegistrarGENEMLIS();
    Ejecutar(u"CREATE TABLE ARTICULO (Codigo INTEGER, Nombre VARCHAR(20) NULL, CONSTRAINT ARTICULO_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"INSERT INTO ARTICULO VALUES (1, 'uno')"_qs);
    Ejecutar(u"INSERT INTO ARTICULO VALUES (2, 'dos')"_qs);
  }
  ~Genemlis() override {
    FormRegistry::Clear();
    RestablecerGanchosFormulario();
  }

  // A form made here, its table with the fields given holding the lines.
  static void Cargar(Table& tabla, const QString& campos, const QString& lineas, int numeroCampos) {
    ASSERT_TRUE(CrearTabla(tabla,
                           u"Tabla Temporal\r\n/C/1/GENEMLISLinea/ftInteger/0/*/\r\n"_qs + campos +
                               u"\r\n/I/1/<Primary>/GENEMLISLinea"_qs,
                           -1));
    CargarLineasLista(tabla, lineas, numeroCampos);
  }

  // Shows the order lines and runs the action on the form; the form is accepted afterwards.
  QString Pedido(std::function<void(TfGENEMLIS&)> accion, const QString& opciones = kPedido) {
    AlMostrarse<TfGENEMLIS>(fGENEMLIS, [accion](TfGENEMLIS& formulario) {
      accion(formulario);
      if (fGENEMLIS) formulario.SetModalResult(mrOk);
    });
    return MantenimientoLista(opciones, kLineasPedido);
  }
};

TEST_F(Genemlis, RestoreBringsBackTheOpeningRowsAndNoRowIsAddedAfterIt) {
  const QString resultado = Pedido([](TfGENEMLIS& formulario) {
    Table& tabla = formulario.Temporal();
    EXPECT_EQ(formulario.LineasOriginales(), QStringList({u"1|1|2|1,5|3|"_qs, u"2|2|1|0,5|0,5|"_qs}));
    tabla.Append();  // rows may be added until the first restore
    EXPECT_EQ(tabla.FieldByName(u"GENEMLISLinea"_qs).AsInteger(), 3);
    tabla.FieldByName(u"Articulo"_qs).SetAsInteger(2);
    tabla.Post();
    tabla.First();
    tabla.Delete();
    QTest::mouseClick(formulario.findChild<QPushButton*>(u"pbRestablecer"_qs), Qt::LeftButton);
    EXPECT_EQ(FilasTabla(tabla), QStringList({u"1|1|2|1,5|3"_qs, u"2|2|1|0,5|0,5"_qs}));
    EXPECT_FALSE(formulario.Restaurando());
    EXPECT_THROW(tabla.Append(), Abort);  // refused without a word
    EXPECT_EQ(tabla.State(), dsBrowse);
    EXPECT_EQ(tabla.RecordCount(), 2);
  });
  EXPECT_EQ(resultado, kLineasPedido);
}

TEST_F(Genemlis, LeavingACellWorksOutItsFormulasAndChecksItsLookups) {
  mensajes.Expect(u"A"_qs).Expect(u"A"_qs);
  const QString resultado = Pedido([this](TfGENEMLIS& formulario) {
    Table& tabla = formulario.Temporal();
    tabla.First();
    escribirYSalir(formulario, u"Cantidad"_qs, u"3"_qs);
    EXPECT_EQ(tabla.FieldByName(u"Importe"_qs).AsFloat(), 4.5);
    escribirYSalir(formulario, u"Articulo"_qs, u"9"_qs);
    EXPECT_EQ(mensajes.Texts().value(0), u"¡No existe el registro!"_qs);
    EXPECT_EQ(formulario.DBGrid1().currentIndex().column(), columna(formulario.DBGrid1(), u"Articulo"_qs));
    EXPECT_THROW(tabla.Post(), Abort);
    tabla.FieldByName(u"Articulo"_qs).SetAsInteger(2);
    tabla.Post();
  });
  EXPECT_EQ(resultado, u"2|3|1,5|4,5\r\n2|1|0,5|0,5"_qs);
}

TEST_F(Genemlis, AFormulaThatCannotBeWorkedOutLeavesItsTargetAsItWas) {
  const QString opciones = u"NumeroCampos=2\r\nDefinicionCampos=A,ftInteger,0,,B->A*1000000000000000000000000000000;"
                           "B,ftInteger,0"_qs;
  AlMostrarse<TfGENEMLIS>(fGENEMLIS, [](TfGENEMLIS& formulario) {
    formulario.Temporal().First();
    escribirYSalir(formulario, u"A"_qs, u"2"_qs);
    EXPECT_EQ(formulario.Temporal().FieldByName(u"B"_qs).AsInteger(), 7);
    formulario.SetModalResult(mrOk);
  });
  EXPECT_EQ(MantenimientoLista(opciones, u"1|7"_qs), u"2|7"_qs);
}

TEST_F(Genemlis, ADoubleClickSearchesTheLookupOrAcceptsAReadOnlyGrid) {
  RutinasBusqueda rutinas;
  rutinas.BuscarDato = [](const QString& tabla, int indice) {
    return tabla == u"ARTICULO" && indice == 0 ? Variant::Array({Variant::String(u"2"_qs)}) : Variant::Null();
  };
  InstalarRutinasBusqueda(rutinas);
  const QString resultado = Pedido([](TfGENEMLIS& formulario) {
    DBGrid& rejilla = formulario.DBGrid1();
    formulario.Temporal().First();
    rejilla.setCurrentIndex(rejilla.Model()->index(0, columna(rejilla, u"Articulo"_qs)));
    rejilla.OnDblClick(rejilla);
    formulario.Temporal().Post();
  });
  EXPECT_EQ(resultado, u"2|2|1,5|3\r\n2|1|0,5|0,5"_qs);

  AlMostrarse<TfGENEMLIS>(fGENEMLIS, [](TfGENEMLIS& formulario) {
    formulario.Temporal().Last();
    QTest::mouseDClick(formulario.DBGrid1().viewport(), Qt::LeftButton, {},
                       formulario.DBGrid1().visualRect(formulario.DBGrid1().Model()->index(1, 1)).center());
  });
  EXPECT_EQ(MantenimientoLista(u"Modo=Consulta\r\n"_qs + kPedido, kLineasPedido), u"2|1|0,5|0,5"_qs);
}

TEST_F(Genemlis, TotalsShowOneLinePerNamedField) {
  Pedido([](TfGENEMLIS& formulario) {
    auto* panel = formulario.findChild<QWidget*>(u"PanelTotales"_qs);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->height(), 45);
    EXPECT_EQ(formulario.findChild<QLabel*>(u"LBTextoTotales"_qs)->text(), u"Total Importe: \r\nTotal Cantidad: \r\n"_qs);
    EXPECT_EQ(formulario.findChild<QLabel*>(u"LBTotales"_qs)->text(), u"3,50       \r\n3,00       \r\n"_qs);
    CapturaFormulario(formulario, u"GENEMLIS-totales"_qs);
  });
}

TEST_F(Genemlis, ValueFiltersAskForTheirValuesAndRefuseWhatTheyCannotRead) {
  Pedido([this](TfGENEMLIS& formulario) {
    DBGrid& rejilla = formulario.DBGrid1();
    QList<QAction*> entradas = formulario.PopupMenu1().actions();
    ASSERT_EQ(entradas.size(), 7);
    rejilla.setCurrentIndex(rejilla.Model()->index(0, columna(rejilla, u"Cantidad"_qs)));
    mensajes.Expect(u"P"_qs, u"2"_qs);
    entradas[1]->trigger();
    EXPECT_EQ(formulario.Temporal().RecordCount(), 1);
    EXPECT_EQ(formulario.findChild<QLabel*>(u"LBTotales"_qs)->text(), u"3,00       \r\n2,00       \r\n"_qs);
    mensajes.Expect(u"P"_qs, u"O'Brien"_qs).Expect(u"A"_qs);
    entradas[0]->trigger();
    EXPECT_EQ(mensajes.Texts(), QStringList({u"Introduzca el valor Desde Cantidad"_qs,
                                             u"Introduzca el valor del campo Cantidad"_qs,
                                             u"¡No ha sido posible filtrar registros!"_qs}));
    EXPECT_EQ(formulario.Temporal().RecordCount(), 1);
    entradas[4]->trigger();
    EXPECT_EQ(formulario.Temporal().RecordCount(), 2);
  });
}

TEST_F(Genemlis, ARowIsDrawnInTheColourAndStyleItsLineStyleNames) {
  const QString opciones = u"NumeroCampos=2\r\nDefinicionCampos=Nombre,ftString,20,,,150;EstiloLinea,ftString,30\r\n"
                           "Opciones=NoRedimensionarGrid"_qs;
  AlMostrarse<TfGENEMLIS>(fGENEMLIS, [](TfGENEMLIS& formulario) {
    DBGrid& rejilla = formulario.DBGrid1();
    EXPECT_FALSE(rejilla.ColumnVisible(columna(rejilla, u"EstiloLinea"_qs)));
    rejilla.setCurrentIndex(rejilla.Model()->index(3, 1));
    const QImage imagen = rejilla.viewport()->grab().toImage();
    const auto tinta = [&](int fila, auto esDelColor) {
      const QRect celda = rejilla.visualRect(rejilla.Model()->index(fila, 1));
      int puntos = 0;
      for (int y = celda.top(); y <= celda.bottom(); ++y)
        for (int x = celda.left(); x <= celda.right(); ++x) puntos += esDelColor(imagen.pixelColor(x, y)) ? 1 : 0;
      return puntos;
    };
    const auto rojo = [](const QColor& c) { return c.red() > 150 && c.green() < 90 && c.blue() < 90; };
    const auto oscuro = [](const QColor& c) { return c.red() < 90 && c.green() < 90 && c.blue() < 90; };
    EXPECT_GT(tinta(0, rojo), tinta(1, rojo));  // bold over plain
    EXPECT_GT(tinta(1, rojo), 0);
    EXPECT_EQ(tinta(2, rojo), 0);
    EXPECT_GT(tinta(2, oscuro), 0);
    formulario.SetModalResult(mrOk);
  });
  MantenimientoLista(opciones, u"MMMMMM|Rojo,Negrita\r\nMMMMMM|Rojo\r\nMMMMMM|\r\nMMMMMM|"_qs);
}

TEST_F(Genemlis, ARangeSelectionCopiesFromToChecksByRowTypeAndRestoresItsLimits) {
  TfGENEMLIS formulario;
  Table& tabla = formulario.Temporal();
  Cargar(tabla, u"/C/2/Campo/ftString/30/\r\n/C/3/ValorDesde/ftString/30/\r\n/C/4/ValorHasta/ftString/30/"_qs,
         u"Cantidad|1|5\r\nPrecio|0,5|9,5"_qs, 3);
  formulario.setProperty("ModoLista", u"SeleccionDesdeHasta"_qs);
  formulario.setProperty("CamposTotalizadores", u"ValorDesde"_qs);
  formulario.setProperty("TiposFilas", QStringList({u"x,ftSmallInt"_qs, u"x,ftFloat"_qs}));
  formulario.setProperty("LimitesFilas", QStringList({u"0|100"_qs, u"0|1000"_qs}));
  formulario.show();
  EXPECT_FALSE(formulario.findChild<QWidget*>(u"PanelTotales"_qs)->isVisible());

  tabla.First();
  escribirYSalir(formulario, u"ValorDesde"_qs, u"3"_qs);
  EXPECT_EQ(tabla.FieldByName(u"ValorHasta"_qs).AsString(), u"3"_qs);
  tabla.Post();
  tabla.Next();
  mensajes.Expect(u"A"_qs);
  escribirYSalir(formulario, u"ValorDesde"_qs, u"mucho"_qs);
  EXPECT_EQ(mensajes.Texts(), QStringList{u"¡El valor de V.Desde es incorrecto! Repita por favor"_qs});
  EXPECT_EQ(formulario.DBGrid1().currentIndex().column(), columna(formulario.DBGrid1(), u"ValorDesde"_qs));
  tabla.Cancel();

  mensajes.Expect(u"C"_qs, u"SI"_qs);
  formulario.Restablecer();
  EXPECT_EQ(FilasTabla(tabla), QStringList({u"1|Cantidad|0|100"_qs, u"2|Precio|0|1000"_qs}));
  mensajes.Expect(u"C"_qs, u"NO"_qs);
  formulario.Restablecer();
  EXPECT_EQ(FilasTabla(tabla), QStringList({u"1|Cantidad|1|5"_qs, u"2|Precio|0,5|9,5"_qs}));
  formulario.close();
  tabla.Close();
  tabla.DeleteTable();
}

TEST_F(Genemlis, ColumnsSizedByTypeTakeTheirFieldWidthInLetters) {
  TfGENEMLIS formulario;
  Table& tabla = formulario.Temporal();
  Cargar(tabla, u"/C/2/Nombre/ftString/12/\r\n/C/3/Precio/ftFloat/0/"_qs, u"Uno|1,5"_qs, 2);
  formulario.setProperty("AnchoPorTipo", true);
  formulario.show();
  formulario.resize(formulario.width() + 150, formulario.height());
  DBGrid& rejilla = formulario.DBGrid1();
  const int letra = rejilla.fontMetrics().horizontalAdvance(u'Z');
  EXPECT_EQ(rejilla.ColumnWidth(columna(rejilla, u"Nombre"_qs)), 12 * letra);
  EXPECT_EQ(rejilla.ColumnWidth(columna(rejilla, u"Precio"_qs)), 13 * letra);
  formulario.close();
  tabla.Close();
  tabla.DeleteTable();
}

TEST_F(Genemlis, AMemoIsShownInTheDetailViewerAndTheFormCentresOnTheMainWindow) {
  QWidget principal;
  principal.setGeometry(100, 80, 900, 700);
  Ganchos().VentanaPrincipal = [&principal] { return &principal; };
  QStringList detalle;
  Ganchos().MostrarDetalle = [&detalle](const QString& texto, const QString& titulo, const QString&) {
    detalle = {titulo, texto};
  };
  AlMostrarse<TfGENEMLIS>(fGENEMLIS, [&principal](TfGENEMLIS& formulario) {
    EXPECT_LE((formulario.frameGeometry().center() - principal.frameGeometry().center()).manhattanLength(), 4);
    DBGrid& rejilla = formulario.DBGrid1();
    rejilla.setCurrentIndex(rejilla.Model()->index(0, columna(rejilla, u"NotaInterna"_qs)));
    formulario.PopupMenu1().actions()[5]->trigger();
    formulario.SetModalResult(mrOk);
  });
  MantenimientoLista(u"NumeroCampos=1\r\nDefinicionCampos=NotaInterna,ftMemo,0"_qs, u"uno·dos"_qs);
  EXPECT_EQ(detalle, QStringList({u"Detalle del campo Nota Interna"_qs, u"uno\r\ndos"_qs}));
}

TEST_F(Genemlis, ANameThatIsNoColumnCountsAsZeroAndNamesAreReplacedWhole) {
  const QString opciones = u"NumeroCampos=3\r\nDefinicionCampos=Precio,ftFloat,0,,Total->Precio*PrecioBase-Nada;"
                           "PrecioBase,ftFloat,0;Total,ftFloat,0"_qs;
  AlMostrarse<TfGENEMLIS>(fGENEMLIS, [](TfGENEMLIS& formulario) {
    formulario.Temporal().First();
    escribirYSalir(formulario, u"Precio"_qs, u"3"_qs);
    formulario.SetModalResult(mrOk);
  });
  EXPECT_EQ(MantenimientoLista(opciones, u"1|-4|0"_qs), u"3|-4|-12"_qs);
}
