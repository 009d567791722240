#include "shell/CopiaEmpresa.h"

#include "core/connections/CopiasSQLServer.h"
#include "core/connections/NombresBaseDatos.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/RutinasBusqueda.h"
#include "core/sql/MensajesSQL.h"
#include "platform/Exceptions.h"

#include <functional>
#include <optional>

namespace {

std::optional<int> elegirEmpresa() {
  const Variant clave = BuscarDato(QStringLiteral("EMPRESA"), 0);
  if (clave.IsNullOrEmpty()) return std::nullopt;
  if (clave.Type() != VarType::Array) return static_cast<int>(clave.AsInt64());
  if (clave.Elements().isEmpty()) return std::nullopt;
  return static_cast<int>(clave.Elements().first().AsInt64());
}

// Only an explicit "NO" stops.
bool confirmada(const QString& pregunta) {
  QString respuesta;
  MensajeConfirmacion(pregunta, respuesta);
  return respuesta != QLatin1String("NO");
}

// The outcome is told either way; false when nothing ran or it failed.
bool conResultado(const std::function<bool()>& operacion, const QString& exito, const QString& fallo) {
  try {
    if (!operacion()) return false;
  } catch (const Abort&) {
    throw;
  } catch (const std::exception& error) {
    MensajeAviso(fallo + TextoExcepcion(error));
    return false;
  }
  MensajeInformacion(exito);
  return true;
}

}  // namespace

bool CopiaSeguridadInstantaneaEmpresa(TfGENEINIC& servicios) {
  const std::optional<int> empresa = elegirEmpresa();
  if (!empresa) return false;
  const QString numero = QString::number(*empresa);
  if (!confirmada(QStringLiteral("¿Está seguro de que quiere realizar una copia de seguridad de la empresa ") + numero +
                  u'?'))
    return false;
  const QString baseDatos = NombreBaseDatosEmpresa(servicios, *empresa);
  return conResultado([&] { return CopiaSeguridadSQLServer(servicios, baseDatos, QString()); },
                      QStringLiteral("La copia de seguridad de la empresa ") + numero +
                          QStringLiteral(" se ha realizado correctamente."),
                      QStringLiteral("Error realizando la Copia de Seguridad de la Base de Datos ") + baseDatos +
                          QStringLiteral(": "));
}

bool RestaurarCopiaSeguridadEmpresa(TfGENEINIC& servicios) {
  const std::optional<int> empresa = elegirEmpresa();
  if (!empresa) return false;
  const QString numero = QString::number(*empresa);
  if (!confirmada(QStringLiteral("¿Está seguro de que quiere RESTAURAR una copia de seguridad sobre la empresa ") +
                  numero + u'?'))
    return false;
  MensajeInformacion(
      QStringLiteral("Tenga en cuenta que no será posible restaurar la copia de seguridad si hay usuarios trabajando "
                     "sobre la empresa ") +
      numero + u'.');
  return conResultado(
      [&] { return RestaurarCopiaSQLServer(servicios, NombreBaseDatosEmpresa(servicios, *empresa), QString()); },
      QStringLiteral("La copia de seguridad se ha restaurado correctamente sobre la empresa ") + numero + u'.',
      QStringLiteral("¡No ha sido posible restaurar la copia de seguridad!. Motivo: "));
}
