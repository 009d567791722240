#include "core/services/HistorialAccesos.h"

#include "core/datamodule/ClavesRegistro.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/services/MantenimientoLista.h"
#include "core/sql/BaseDatosSQL.h"
#include "core/sql/ConsultasSQL.h"
#include "core/startup/Configuracion.h"
#include "core/system/CursorEspera.h"
#include "core/tables/NombresTablas.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"

namespace {

const QString kCRLF = QStringLiteral("\r\n");

QString lineasHistorial(Query& consulta) {
  QString lineas;
  for (consulta.First(); !consulta.Eof(); consulta.Next()) {
    QString datos = consulta.FieldByName(QStringLiteral("Datos")).AsString();
    datos.replace(kCRLF, QStringLiteral(" ")).replace(u'|', QChar(0xB7));
    lineas += consulta.FieldByName(QStringLiteral("CodigoUsuario")).AsString() + u'|' +
              consulta.FieldByName(QStringLiteral("Fecha")).AsString() + u'|' +
              consulta.FieldByName(QStringLiteral("Accion")).AsString() + u'|' + datos + kCRLF;
  }
  return lineas;
}

}  // namespace

QString SentenciaHistorialAccesos(const QString& tabla, const QString& clave) {
  return QStringLiteral("SELECT CodigoUsuario, Fecha, Accion, Datos FROM REGACCES   WHERE NombreTabla = ") +
         LiteralSQL(tabla) + QStringLiteral("    AND ((ClaveTabla = ") + LiteralSQL(clave) + QStringLiteral(") ") +
         QStringLiteral("     OR (ClaveTabla = ") + LiteralSQL(clave.chopped(clave.isEmpty() ? 0 : 1)) +
         QStringLiteral(")) ") + QStringLiteral("  ORDER BY Fecha DESC");
}

void HistorialAccesos(Dataset& dataset) {
  if (!RegistroAccesosActivado || DataSetDeModuloDatos(dataset)) return;
  const QString tabla = QuitarPrefijoTabla(NombreTablaDataSet(dataset));
  const QString clave = ClaveRegistro(dataset).replace(u';', u'|');
  QString lineas;
  {
    const CursorEspera espera;
    Query consulta;
    consulta.SetDatabaseName(BaseDatosBDE(QStringLiteral("Database")));
    consulta.SQL().SetText(SentenciaHistorialAccesos(tabla, clave));
    if (!AbrirOEjecutarConsulta(consulta)) return;
    lineas = lineasHistorial(consulta);
  }
  MantenimientoLista(QStringLiteral("Titulo=Historial de Accesos al Registro: ") + tabla + QStringLiteral(" - ") +
                         clave + kCRLF + QStringLiteral("Formato=0,0,430,0;") + kCRLF +
                         QStringLiteral("NumeroCampos=4") + kCRLF + QStringLiteral("Modo=Consulta,Sin Seleccion") +
                         kCRLF + QStringLiteral("DefinicionCampos=CodigoUsuario,ftString,20;") +
                         QStringLiteral("Fecha,ftString,20;") + QStringLiteral("Accion,ftString,20;") +
                         QStringLiteral("Datos,ftMemo,10") + kCRLF + QStringLiteral("Modo=Consulta") + kCRLF,
                     lineas);
}
