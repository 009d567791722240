#include "core/datamodule/ObjetosBlob.h"

#include "core/datamodule/Genemodu.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/sql/BaseDatosSQL.h"
#include "core/sql/ConsultasSQL.h"
#include "core/sql/EjecucionSQL.h"
#include "core/system/Archivos.h"
#include "core/tables/NombresTablas.h"
#include "core/tables/TablasTemporales.h"
#include "platform/Exceptions.h"
#include "platform/TextFile.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"

namespace {

QString condiciones(const QString& tabla, const QString& clave, const QString& idObjeto) {
  return u"   WHERE NombreTabla = "_qs + LiteralSQL(QuitarPrefijoTabla(tabla)) + u"    AND ClaveTabla = "_qs +
         LiteralSQL(clave) + u"    AND IdObjeto = "_qs + LiteralSQL(idObjeto);
}

}  // namespace

QString TipoObjetoBlob(const QString& tabla, const QString& clave, const QString& idObjeto) {
  return EjecutarSQL(u"SELECT TipoObjeto FROM BLOBTAB"_qs + condiciones(tabla, clave, idObjeto),
                     QStringLiteral("Database"));
}

QString ExtraerObjetoBlob(const QString& tabla, const QString& clave, const QString& idObjeto) {
  Query consulta;
  consulta.SetDatabaseName(BaseDatosBDE(QStringLiteral("Database")));
  consulta.SQL().SetText(u"SELECT * FROM BLOBTAB"_qs + condiciones(tabla, clave, idObjeto));
  if (!AbrirOEjecutarConsulta(consulta) || consulta.IsEmpty()) return {};
  const QString tipo = consulta.FieldByName(QStringLiteral("TipoObjeto")).AsString();
  const QString archivo = DirectorioTemporal() + NombreTablaTemporal(ModuloDatos, 0) +
                          (tipo.isEmpty() ? QString() : u'.' + tipo.toLower());
  // Written whole or not at all: a half-written object would pass for the real one.
  try {
    TextFile::WriteBytes(archivo, consulta.FieldByName(QStringLiteral("Objeto")).AsBytes());
  } catch (const Exception&) {
    return {};
  }
  return archivo;
}
