#include "core/messages/MensajeSistema.h"

#include "platform/Application.h"
#include "platform/MessagePresenter.h"

QString TipoMensajeActual;
QString TextoMensajeActual;
QString RespuestaMensaje;

QString TraducirMensajeMotor(const QString& texto) {
  if (!texto.contains(QLatin1String("TRADUCIR:"))) return texto;
  QString t = texto.mid(10);
  if (t.contains(QLatin1String("Index is out of date")))
    t.replace(QLatin1String("Index is out of date"), QStringLiteral("El índice no está actualizado."));
  if (t.contains(QLatin1String("At beginning of table")))
    t.replace(QLatin1String("At beginning of table"), QStringLiteral("Al principio de la tabla."));
  if (t.contains(QLatin1String("Field")) && t.contains(QLatin1String("not found"))) {
    t.replace(QLatin1String("Field"), QStringLiteral("El campo"));
    t.replace(QLatin1String("not found"), QStringLiteral("no está definido."));
  }
  if (t.contains(QLatin1String("Field")) && t.contains(QLatin1String("is not of the expected type"))) {
    t.replace(QLatin1String("Field"), QStringLiteral("El campo"));
    t.replace(QLatin1String("is not of the expected type"), QStringLiteral("no es del tipo adecuado."));
  }
  if (t.contains(QLatin1String("An error occurred while attempting to initialize the Borland Database Engine")))
    t = QStringLiteral("Se ha producido un error al inicializar el BDE.");
  if (t.contains(QLatin1String("Some internal limit")))
    t = QStringLiteral(
        "¡Se ha producido un error de límite interno!. Cierre alguna aplicación e inténtelo de nuevo.");
  return t;
}

void MensajeSistema(const QString& tipo, const QString& texto, QString& respuesta) {
  TipoMensajeActual = tipo;
  TextoMensajeActual = TraducirMensajeMotor(texto);
  RespuestaMensaje = respuesta;
  const QString answer = MessagePresenterSeam::Get().Present(TipoMensajeActual, TextoMensajeActual, respuesta);
  if (tipo == QLatin1String("C") || tipo == QLatin1String("P")) respuesta = answer;
  if (tipo == QLatin1String("E"))
    if (Application* application = Application::Instance()) application->Terminate();
}

bool MensajeCerrado() {
  const Application* application = Application::Instance();
  return (application && application->Terminated()) || MessagePresenterSeam::Get().LastClosed();
}

namespace {

void mostrar(const char* tipo, const QString& texto) {
  QString copia = texto;
  MensajeSistema(QLatin1String(tipo), texto, copia);
}

}  // namespace

void MensajeInformacion(const QString& texto) { mostrar("I", texto); }
void MensajeAviso(const QString& texto) { mostrar("A", texto); }
void MensajeError(const QString& texto) { mostrar("E", texto); }
void MensajeConfirmacion(const QString& texto, QString& respuesta) { MensajeSistema(QStringLiteral("C"), texto, respuesta); }
void MensajePregunta(const QString& texto, QString& respuesta) { MensajeSistema(QStringLiteral("P"), texto, respuesta); }
