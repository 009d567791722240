#include "core/startup/GestionExcepciones.h"

#include "core/connections/RepararTablas.h"
#include "core/datamodule/Genemodu.h"
#include "core/messages/MensajeSistema.h"
#include "core/startup/ClasificacionExcepciones.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "platform/Application.h"
#include "platform/Exceptions.h"
#include "platform/Form.h"
#include "platform/PlainMessage.h"

#include <QPointer>
#include <QtDebug>

namespace {

ReparacionTablas& reparacionInstalada() {
  static ReparacionTablas reparacion;
  return reparacion;
}

bool esRejilla(const QObject* sender) {
  return sender && (sender->inherits("DBGrid") || qstrcmp(sender->metaObject()->className(), "TDBGrid") == 0);
}

void cerrarFormularioDe(QObject* sender) {
  for (QObject* owner = sender; owner; owner = owner->parent())
    if (auto* form = qobject_cast<Form*>(owner)) {
      form->close();
      return;
    }
}

QString nombreEmisor(const QObject* sender) {
  if (!sender) return {};
  return sender->objectName().isEmpty() ? QString::fromLatin1(sender->metaObject()->className()) : sender->objectName();
}

}  // namespace

void InstalarReparacionTablas(ReparacionTablas reparacion) { reparacionInstalada() = std::move(reparacion); }

void GestionExcepciones(TfGENEINIC& servicios, QObject* sender, const Exception& error) {
  const QString& mensaje = error.Message();
  // The sender may be gone once a message box has run its own loop.
  const QPointer<QObject> emisor(sender);
  if (mensaje.contains(QLatin1String("Invalid BLOB handle in record buffer"))) {
    ShowMessage(QStringLiteral("¡El número de campos Memo que se intenta manejar es excesivo!. Acote la consulta."));
    if (emisor && esRejilla(emisor)) cerrarFormularioDe(emisor);
    return;
  }

  const ClasificacionExcepcion clasificacion = ClasificarExcepcion(mensaje);
  if (clasificacion.grupo == u"IGNORAR") {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  } else if (clasificacion.grupo == u"Advertencia") {
    MensajeAviso(clasificacion.texto);
  } else {
    QApplication::setOverrideCursor(Qt::ForbiddenCursor);
    MensajeError(clasificacion.texto);
  }
  if (clasificacion.reparar) {
    if (reparacionInstalada())
      reparacionInstalada()(nullptr, mensaje, emisor.data());
    else
      RepararTablas(servicios, nullptr, mensaje, emisor.data());
  }
  if (clasificacion.grupo == u"Error" || NivelCapturaIncidencias == u"Maximo")
    RegistrarTraza(mensaje, nombreEmisor(emisor.data()), QVariant());
}

void InstalarGestionExcepciones(TfGENEINIC& servicios) {
  Application* application = Application::Instance();
  if (!application) return;
  QPointer<TfGENEINIC> propietario(&servicios);
  application->SetExceptionHandler([propietario](QObject* sender, const Exception& error) {
    if (propietario)
      GestionExcepciones(*propietario, sender, error);
    else
      qWarning().noquote() << error.Message();
  });
}
