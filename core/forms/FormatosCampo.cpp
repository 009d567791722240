#include "core/forms/FormatosCampo.h"

#include "core/datamodule/Genemodu.h"
#include "core/datamodule/PresentacionFechaHora.h"
#include "core/forms/Propiedades.h"
#include "core/startup/Configuracion.h"
#include "platform/data/Field.h"
#include "platform/format/DateTime.h"
#include "platform/format/Format.h"

namespace {

QString formatoPlantilla(std::size_t plantilla) { return PlantillasNumericas[plantilla]; }

}  // namespace

void ManejadoresFechaHora(Field& campo, const QString& nombre) {
  if (nombre.toUpper().contains(QLatin1String("HORA"))) {
    campo.SetDisplayFormat(QStringLiteral("HH:MM:SS"));
    campo.setProperty("EditMask", QString());
    campo.OnGetText = [](Field& sender, QString& texto, bool) { texto = MostrarHora(sender); };
    campo.OnSetText = [](Field& sender, const QString& texto) { CompletarHora(sender, texto); };
    return;
  }
  // The date keeps the field's display format, which the forms set for it.
  campo.OnGetText = [](Field& sender, QString& texto, bool mostrado) {
    texto = MostrarFecha(sender);
    if (texto.isEmpty()) return;
    const QString formato = mostrado ? sender.DisplayFormat() : QString();
    if (!formato.isEmpty()) texto = FormatDateTime(formato, sender.AsDateTime());
  };
}

QString FormatoNumerico(const QString& campo) {
  const QString nombre = campo.toUpper();
  if (nombre.contains(QLatin1String("PRECIO"))) return formatoPlantilla(2);
  if (nombre.contains(QLatin1String("IMPORTE"))) return formatoPlantilla(3);
  for (std::size_t plantilla = 1; plantilla <= 5; ++plantilla)
    for (const QString& fragmento : CamposPlantillasNumericas[plantilla].Lines())
      if (!fragmento.isEmpty() && nombre.contains(fragmento.toUpper())) return formatoPlantilla(plantilla);
  if (nombre.contains(QLatin1String("TOTAL"))) return formatoPlantilla(3);
  return FormatoNumericoEstandar;
}

void FormatoCampo(QObject* componente) {
  auto* campo = qobject_cast<Field*>(componente);
  QString nombreCampo = campo ? campo->FieldName() : QString();
  if (!campo) {
    const QVariant expresion = LeerPropiedad(componente, QStringLiteral("Expression"));
    nombreCampo = TienePropiedad(componente, QStringLiteral("Expression"))
                      ? expresion.toString()
                      : LeerPropiedad(componente, QStringLiteral("DataField")).toString();
  }
  for (const char* propiedad : {"DisplayFormat", "Mask"}) {
    const QString nombre = QString::fromLatin1(propiedad);
    if (TienePropiedad(componente, nombre) && LeerPropiedad(componente, nombre).toString() == kFormatoProvisional)
      EscribirPropiedad(componente, nombre, FormatoNumerico(nombreCampo));
  }
  if (campo && campo->DataType() == ftDateTime) ManejadoresFechaHora(*campo, campo->objectName());
}
