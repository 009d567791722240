#include "shell/CopiaEmpresa.h"

#include "core/connections/CopiasSQLServer.h"
#include "core/connections/NombresBaseDatos.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/RutinasBusqueda.h"

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

}  // namespace

bool CopiaSeguridadInstantaneaEmpresa(TfGENEINIC& servicios) {
  const std::optional<int> empresa = elegirEmpresa();
  if (!empresa) return false;
  const QString numero = QString::number(*empresa);
  if (!confirmada(QStringLiteral("¿Está seguro de que quiere realizar una copia de seguridad de la empresa ") + numero +
                  u'?'))
    return false;
  return CopiaSeguridadSQLServer(servicios, NombreBaseDatosEmpresa(servicios, *empresa), QString());
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
  return RestaurarCopiaSQLServer(servicios, NombreBaseDatosEmpresa(servicios, *empresa), QString());
}
