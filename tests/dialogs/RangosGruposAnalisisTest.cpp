#include "core/datamodule/EditorRegistroINI.h"
#include "core/datamodule/GruposAnalisis.h"
#include "dialogs/Genemlis.h"
#include "dialogs/Generini.h"
#include "platform/FormRegistry.h"
#include "platform/data/Field.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/dialogs/CapturaFormulario.h"
#include "tests/dialogs/FormularioEnPantalla.h"

#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

// The profiles P1 (ZONA, TIPO) and P2 (ALMACEN) in the company's parameters.
class RangosGA : public ConexionesFixture, public ModuloConUsuarios {
 protected:
  RangosGA() {
    Iniciar();
    RegistrarGENEMLIS();
    RegistrarGENERINI();
    ModuloDatos = &modulo;
    AbrirParametros(u"P1=ZONA,TIPO\r\nP2=ALMACEN"_qs);
  }
  ~RangosGA() override {
    FormRegistry::Clear();
    RangosGruposAnalisis.clear();
  }

  // The editor's rows as lines; then the category's row takes the values
  // given and the editor is accepted, after the next showing is scheduled.
  static QStringList Editar(TfGENEMLIS& editor, const QString& categoria, const QString& desde, const QString& hasta,
                            std::function<void(TfGENEMLIS&)> siguiente = {}) {
    Table& filas = editor.Temporal();
    QStringList vistas;
    for (filas.First(); !filas.Eof(); filas.Next()) {
      const QString linea = filas.FieldByName(u"Categoria"_qs).AsString() + u'|' +
                            filas.FieldByName(u"ValorDesde"_qs).AsString() + u'|' +
                            filas.FieldByName(u"ValorHasta"_qs).AsString();
      vistas << linea;
      if (!linea.startsWith(categoria + u'|')) continue;
      filas.Edit();
      filas.FieldByName(u"ValorDesde"_qs).SetAsString(desde);
      filas.FieldByName(u"ValorHasta"_qs).SetAsString(hasta);
      filas.Post();
    }
    if (siguiente) AlMostrarse<TfGENEMLIS>(fGENEMLIS, siguiente);
    QTest::mouseClick(editor.findChild<QPushButton*>(u"pbAceptar"_qs), Qt::LeftButton);
    return vistas;
  }
};

}  // namespace

TEST_F(RangosGA, AFromAfterItsToIsRefusedAndTheEditorShownAgainAsReturned) {
  QStringList primera, segunda, tercera;
  QString titulo;
  AlMostrarse<TfGENEMLIS>(fGENEMLIS, [&](TfGENEMLIS& editor) {
    titulo = editor.Caption();
    primera = Editar(editor, u"ALMACEN"_qs, u"5"_qs, QString(), [&](TfGENEMLIS& otra) {
      CapturaFormulario(otra, u"rangos-mostrados-de-nuevo"_qs);
      segunda = Editar(otra, u"ALMACEN"_qs, u"5"_qs, u"10"_qs, [&](TfGENEMLIS& ultima) {
        tercera = Editar(ultima, u"ALMACEN"_qs, u"5"_qs, u"9"_qs);
      });
    });
  });
  mensajes.Expect(u"A"_qs).Expect(u"A"_qs);
  EXPECT_EQ(SeleccionRangosGA(u"P1,P2"_qs, u"ZONA|1|3\r\nOTRA|x|y"_qs), u"ALMACEN|5|9\r\nZONA|1|3"_qs);
  EXPECT_EQ(RangosGruposAnalisis, u"ALMACEN|5|9\r\nZONA|1|3"_qs);
  EXPECT_EQ(titulo, u"Selección de Rangos de Grupos de Análisis"_qs);
  EXPECT_EQ(primera, (QStringList{u"ALMACEN||"_qs, u"ZONA|1|3"_qs, u"TIPO||"_qs}));
  EXPECT_EQ(segunda, (QStringList{u"ALMACEN|5|"_qs, u"ZONA|1|3"_qs, u"TIPO||"_qs}));
  EXPECT_EQ(tercera, (QStringList{u"ALMACEN|5|10"_qs, u"ZONA|1|3"_qs, u"TIPO||"_qs}));
  EXPECT_EQ(mensajes.Texts(), QStringList(2, u"¡El valor Desde es mayor que el valor Hasta en la categoría ALMACEN"_qs));
}

TEST_F(RangosGA, TheINIEditorsGroupButtonEditsTheRangesOfItsProfiles) {
  QStringList vistas;
  AlMostrarse<TfGENERINI>(fGENERINI, [&](TfGENERINI& formulario) {
    AlMostrarse<TfGENEMLIS>(fGENEMLIS, [&](TfGENEMLIS& editor) { vistas = Editar(editor, u"TIPO"_qs, u"a"_qs, u"b"_qs); });
    formulario.StringGridEditButtonClick(0);
    QTest::mouseClick(formulario.findChild<QPushButton*>(u"pbAceptar"_qs), Qt::LeftButton);
  });
  QString resultado;
  EditorRegistroINI(u"Grupos=ZONA|1|3"_qs, u"Grupos="_qs, QString(), u"Dato;Valor"_qs, u"Grupos=ELLIPSIS_GA:P1"_qs,
                    QString(), resultado);
  EXPECT_EQ(vistas, (QStringList{u"ZONA|1|3"_qs, u"TIPO||"_qs}));
  EXPECT_EQ(resultado, u"Grupos=ZONA|1|3·TIPO|a|b\r\n"_qs);
}
