#include "core/datamodule/ResponsabilidadDocumental.h"

#include "core/datamodule/ConversionMoneda.h"
#include "core/datamodule/ExistenciaClave.h"
#include "core/datamodule/Genemodu.h"
#include "core/datamodule/RegistrosAsociados.h"
#include "core/forms/GanchosFormulario.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/Tablas.h"
#include "core/helpers/TextoSQL.h"
#include "core/services/FormularioRegistrado.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "core/tables/NombresTablas.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"

#include <QDateTime>

QString TablaResponsabilidad;
QString ClaveResponsabilidad;

namespace {

QString nombreTabla(Dataset& dataset) {
  if (auto* tabla = qobject_cast<Table*>(&dataset)) return tabla->TableName();
  if (auto* consulta = qobject_cast<Query*>(&dataset)) return NombreTablaSQL(consulta->SQL().Text());
  return {};
}

bool solicitarCamposUsuario() {
  return ParametrosGeneralesCargados() && ModuloDatos->ParamGenerales->FieldByName(QStringLiteral("SolicitarCamposUsuario"))
                                          .AsString() == QLatin1String("SI");
}

// Whether RESPDOC already holds the record, under its key with or without
// the last "|" older rows carry.
bool tieneResponsabilidad(const QString& tabla, const QString& clave) {
  const QString sql = QStringLiteral("SELECT NombreTabla FROM RESPDOC   WHERE NombreTabla= ") + LiteralSQL(tabla) +
                      QStringLiteral("    AND ((ClaveTabla = ") + LiteralSQL(clave + u'|') + QStringLiteral(") ") +
                      QStringLiteral("      OR (ClaveTabla = ") + LiteralSQL(clave) + QStringLiteral(")) ");
  const QString resultado = EjecutarSQL(sql, QStringLiteral("Database"));
  // A lookup that failed has told the user; no form follows it.
  return !resultado.isEmpty();
}

}  // namespace

void ComprobarResponsabilidadDocumental(Dataset& dataset) {
  // Our Post is already committed and synchronised: there is nothing to force.
  UltimaActividad = QDateTime::currentDateTime();
  const QString nombre = nombreTabla(dataset);
  const QObject* dueno = dataset.parent();
  if (dueno && dueno->objectName() == QLatin1String("fFACTFAC3")) return;
  if (EsTablaGeneral(nombre)) return;
  if (solicitarCamposUsuario() && Ganchos().VisorCamposUsuario) Ganchos().VisorCamposUsuario(dataset);
  auto* tabla = qobject_cast<Table*>(&dataset);
  if (!ResponsabilidadDocumentalActivada || !tabla) return;
  const QString sinPrefijo = QuitarPrefijoTabla(nombre);
  // Its own rows would open the form again while it posts them.
  if (sinPrefijo.compare(QLatin1String("RESPDOC"), Qt::CaseInsensitive) == 0) return;
  if (!tieneResponsabilidad(sinPrefijo, ClaveAsociada(*tabla))) ResponsabilidadDocumental(*tabla);
}

void ResponsabilidadDocumental(Table& tabla) {
  if (!ResponsabilidadDocumentalActivada) return;
  if (!ExisteClaveEnTabla(QStringLiteral("CONFRESP"), QuitarPrefijoTabla(tabla.TableName()) + u';')) return;
  TablaResponsabilidad = tabla.TableName();
  ClaveResponsabilidad = ClaveAsociada(tabla);
  const std::unique_ptr<Form> formulario = FormularioRegistrado(QStringLiteral("TfGENERESP"));
  if (formulario->property("HayCamposEditables").toBool()) formulario->ShowModal();
}
