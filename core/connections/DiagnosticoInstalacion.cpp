#include "core/connections/DiagnosticoInstalacion.h"

#include "core/startup/Geneinic.h"
#include "platform/Exceptions.h"
#include "platform/FormRegistry.h"

#include <QMetaObject>

int DiagnosticoInstalacion(TfGENEINIC& servicios, const QString& grupo) {
  const QString clase = QLatin1String(kFormularioDiagnostico);
  if (!FormRegistry::IsRegistered(clase)) return 0;
  QWidget* formulario = FormRegistry::Create(clase, &servicios);
  int resultado = 0;
  const bool ejecutado = formulario && QMetaObject::invokeMethod(formulario, "DiagnosticarInstalacion",
                                                                  Qt::DirectConnection, Q_RETURN_ARG(int, resultado),
                                                                  Q_ARG(QString, grupo));
  if (!ejecutado) throw Exception(QStringLiteral("El formulario ") + clase + QStringLiteral(" no está disponible."));
  formulario->close();
  return resultado;
}
