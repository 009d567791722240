#include "core/helpers/BaseDatosEmpresaUnidad.h"

#include "core/startup/Configuracion.h"
#include "platform/Paths.h"

QString NombreBaseDatosEmpresaUnidad(int empresa) {
  if (TipoBaseDatos.isEmpty() || TipoBaseDatos == u"Paradox")
    return empresa > 0 ? Paths::Join(PathBaseDatos, QString::number(empresa)) : PathBaseDatos;
  if (TipoBaseDatos == u"Microsoft SQL Server" || TipoBaseDatos == u"Interbase")
    return empresa > 0 ? AliasBaseDatosEmpresa + QString::number(empresa) : AliasBaseDatosEmpresa;
  return {};
}
