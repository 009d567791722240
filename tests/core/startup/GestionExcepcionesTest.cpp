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
  struct Caso {
    const char* mensaje;
    const char* grupo;
    const char* texto;
    bool reparar;
  };
  const Caso casos[] = {
      {"Key violation. UNIQUE constraint failed", "Advertencia", "¡ Ya existe el registro !", false},
      {"Record locked by another user", "Advertencia", "¡ El registro esta siendo bloqueado por otro usuario !", false},
      {"Record already locked by this session", "Advertencia", "¡ El registro esta bloqueado en esta sesion !", false},
      {"record/key deleted.", "Advertencia",
       "¡Este registro ya no está disponible en la vista actual!. Para ver la nueva situación vuelva a seleccionar o "
       "filtrar los datos que desee.",
       false},
      {"Field 'CODIGO' must have a value", "Advertencia", "¡ Debe introducir un valor en el campo 'CODIGO'  !", false},
      {"Invalid use of keyword. Token: FROM. Line Number: 2", "Advertencia",
       "¡ La sentencia utilizada es incorrecta ! Palabra: FROM en la línea número: 2", false},
      {"Table is read only", "Advertencia", "¡Ud. no tiene autorización para realizar modificaciones!", false},
      {"No index currently active", "Advertencia", "No hay un índice activo en la tabla", true},
      {"Index is out of date", "Error", "TRADUCIR: Index is out of date", true},
      {"Table does not exist. no such table: X", "Error", "¡ La tabla no existe !. Compruebe la Base de Datos por favor.",
       false},
      {"Cannot perform this operation on a closed dataset", "Error",
       "¡ Es imposible realizar esta operación !. La Tabla está cerrada.", false},
      {"Field 'A' is not of the expected type", "Error", "TRADUCIR: Field 'A' is not of the expected type", false},
      {"'0.0' is not a valid integer value", "IGNORAR", "IGNORAR", false},
      {"Table is busy", "IGNORAR", "IGNORAR", false},
      {"Cannot focus a disabled or invisible window", "IGNORAR", "IGNORAR", false},
      {"'x' is not a valid integer value", "Advertencia", "¡ El dato introducido no es válido !. Repita por favor.", false},
      {"Algo que nadie conoce", "Advertencia", "Algo que nadie conoce", false},
      {"Unable to insert a line. Key violation", "Advertencia", "¡ Ya existe el registro !", false},
  };
  for (const Caso& caso : casos) {
    const ClasificacionExcepcion resultado = ClasificarExcepcion(QString::fromUtf8(caso.mensaje));
    EXPECT_EQ(resultado.grupo, QString::fromUtf8(caso.grupo)) << caso.mensaje;
    EXPECT_EQ(resultado.texto, QString::fromUtf8(caso.texto)) << caso.mensaje;
    EXPECT_EQ(resultado.reparar, caso.reparar) << caso.mensaje;
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
    InstalarReparacionTablas([this](Table* tabla, const QString& error, QObject*) {
      reparaciones.append(error + (tabla ? u" con tabla"_qs : QString()));
    });
    InstalarObservadorTraza([this](const QString& texto, const QString&, const QVariant&) { trazas.append(texto); });
  }

  // Each message is raised by a button's click handler inside a modal form.
  void Lanzar(const QStringList& mensajesLanzados) {
    Form form;
    QPushButton boton(&form);
    boton.setObjectName(u"pbAceptar"_qs);
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
  EXPECT_EQ(reparaciones, QStringList{u"Index is out of date"_qs});
  EXPECT_EQ(trazas, QStringList{u"Index is out of date"_qs});
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
