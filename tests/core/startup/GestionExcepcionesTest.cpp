#include "core/datamodule/Genemodu.h"
#include "core/startup/ClasificacionExcepciones.h"
#include "core/startup/GestionExcepciones.h"
#include "platform/Exceptions.h"
#include "platform/Form.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/core/system/MensajesSimples.h"

#include <QPushButton>
#include <QTimer>

TEST(ClasificacionExcepciones, EngineTextsBecomeWarningsErrorsOrNothing) {
  // message, then group|text|repair
  const std::pair<const char*, const char*> casos[] = {
      {"Key violation. UNIQUE constraint failed", "Advertencia|¡ Ya existe el registro !|0"},
      {"Unable to insert a line. Record locked by another user",
       "Advertencia|¡ El registro esta siendo bloqueado por otro usuario !|0"},
      {"Field 'CODIGO' must have a value", "Advertencia|¡ Debe introducir un valor en el campo 'CODIGO'  !|0"},
      {"Invalid use of keyword. Token: FROM. Line Number: 2",
       "Advertencia|¡ La sentencia utilizada es incorrecta ! Palabra: FROM en la línea número: 2|0"},
      {"No index currently active", "Advertencia|No hay un índice activo en la tabla|1"},
      {"Index is out of date", "Error|TRADUCIR: Index is out of date|1"},
      {"Table does not exist. x", "Error|¡ La tabla no existe !. Compruebe la Base de Datos por favor.|0"},
      {"'0.0' is not a valid integer value", "IGNORAR|IGNORAR|0"},
      {"'x' is not a valid integer value", "Advertencia|¡ El dato introducido no es válido !. Repita por favor.|0"},
      {"record/key deleted", "Advertencia|¡Este registro ya no está disponible en la vista actual!. Para ver la nueva "
                             "situación vuelva a seleccionar o filtrar los datos que desee.|0"},
      {"Algo que nadie conoce", "Advertencia|Algo que nadie conoce|0"},
  };
  for (const auto& [mensaje, esperado] : casos) {
    const ClasificacionExcepcion resultado = ClasificarExcepcion(QString::fromUtf8(mensaje));
    EXPECT_EQ(resultado.grupo + u'|' + resultado.texto + u'|' + QString::number(resultado.reparar),
              QString::fromUtf8(esperado));
  }
}

namespace {

class TDBGrid : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;
};

// Start-up installs the handler once both databases are open.
class GestionExcepciones : public ConexionesFixture {
 protected:
  GestionExcepciones() {
    Iniciar();
    InstalarReparacionTablas(
        [this](Table* tabla, const QString& error, QObject*) { reparaciones.append(tabla ? u"?"_qs : error); });
    InstalarObservadorTraza([this](const QString& texto, const QString&, const QVariant&) { trazas.append(texto); });
  }

  // Each message is raised by a button's click handler inside a modal form.
  void Lanzar(const QStringList& mensajesLanzados) {
    Form form;
    QPushButton boton(&form);
    int siguiente = 0;
    QObject::connect(&boton, &QPushButton::clicked, [&] { throw Exception(mensajesLanzados.at(siguiente++)); });
    for (qsizetype i = 0; i < mensajesLanzados.size(); ++i) QTimer::singleShot(0, &boton, [&] { boton.click(); });
    QTimer::singleShot(0, &form, [&] { form.SetModalResult(mrOk); });
    form.ShowModal();
  }

  QStringList reparaciones;
  QStringList trazas;
};

}  // namespace

TEST_F(GestionExcepciones, AnUncaughtExceptionInAnEventHandlerIsShownAsWarningOrError) {
  mensajes.Expect(u"A"_qs).Expect(u"E"_qs);
  Lanzar({u"Key violation"_qs, u"Table is busy"_qs, u"Index is out of date"_qs});
  EXPECT_EQ(mensajes.Texts(), QStringList({u"¡ Ya existe el registro !"_qs, u"El índice no está actualizado."_qs}));
  EXPECT_TRUE(Application::Instance()->Terminated());
  EXPECT_EQ(reparaciones + trazas, QStringList({u"Index is out of date"_qs, u"Index is out of date"_qs}));
}

TEST_F(GestionExcepciones, WithMaximumCaptureWarningsAreTracedAndABlobErrorOfAGridClosesItsForm) {
  NivelCapturaIncidencias = u"Maximo"_qs;
  mensajes.Expect(u"A"_qs);
  Lanzar({u"Key violation"_qs});
  EXPECT_EQ(trazas, QStringList{u"Key violation"_qs});

  MensajesSimples simples;
  Form form;
  form.show();
  TDBGrid rejilla(&form);
  Application::Instance()->HandleException(&rejilla, Exception(u"Invalid BLOB handle in record buffer"_qs));
  EXPECT_EQ(simples.textos,
            QStringList{u"¡El número de campos Memo que se intenta manejar es excesivo!. Acote la consulta."_qs});
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(trazas.size(), 1);
}

#include "GestionExcepcionesTest.moc"
