#include "core/connections/DiagnosticoInstalacion.h"

#include "core/startup/Geneinic.h"
#include "platform/Exceptions.h"
#include "platform/FormRegistry.h"

#include <QMetaObject>

int DiagnosticoInstalacion(TfGENEINIC& servicios, const QString& grupo) {
  const QString clase = QLatin1String(kFormularioDiagnostico);
  if (!FormRegistry::IsRegistered(clase)) return 0;
  QWidget* formulario = FormRegistry::Create(clase, &servicios);
  bool correcta = false;
  const bool ejecutado = formulario && QMetaObject::invokeMethod(formulario, "DiagnosticarInstalacion",
                                                                  Qt::DirectConnection, Q_RETURN_ARG(bool, correcta),
                                                                  Q_ARG(QString, grupo));
  if (!ejecutado) throw Exception(QStringLiteral("El formulario ") + clase + QStringLiteral(" no está disponible."));
  // The form frees itself when closed.
  formulario->close();
  return correcta ? 1 : 0;
}
