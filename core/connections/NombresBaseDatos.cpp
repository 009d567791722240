#include "core/connections/NombresBaseDatos.h"

#include "core/connections/Conexiones.h"
#include "core/connections/UsuarioServidor.h"
#include "core/connections/VariablesConexion.h"
#include "core/helpers/Tablas.h"
#include "core/startup/Configuracion.h"
#include "platform/ConnectionString.h"
#include "platform/Paths.h"
#include "platform/data/Database.h"

namespace {

constexpr int kLongitudAplicacionBDE = 30;

QString aplicacion() { return Paths::ExecutableName(); }

}  // namespace

QString NombreBaseDatosEmpresa(TfGENEINIC&, int empresa) {
  if (EsParadox()) {
    if (empresa == 0) return PathBaseDatosGeneral;
    return Paths::Join(PathBaseDatosGeneral, QString::number(empresa));
  }
  return empresa == 0 ? AliasBaseDatosEmpresa : AliasBaseDatosEmpresa + QString::number(empresa);
}

QString NombreBaseDatosTabla(TfGENEINIC& servicios, const QString& tabla) {
  const TConexiones& conexiones = Conexiones(servicios);
  return EsTablaGeneral(tabla) ? conexiones.DatabaseGeneral->DatabaseName() : conexiones.Database->DatabaseName();
}

StringList ParametrosConexionEmpresa(const QString& nombreBaseDatos) {
  StringList parametros;
  parametros.Add(QStringLiteral("SERVER NAME=") + ServidorSQL);
  parametros.Add(QStringLiteral("DATABASE NAME=") + nombreBaseDatos);
  parametros.Add(QStringLiteral("USER NAME=") + UsuarioServidor(ServidorSQL));
  parametros.Add(QStringLiteral("HOST NAME=") + UsuarioInicioSesion);
  parametros.Add(QStringLiteral("APPLICATION NAME=") + CodigoUsuarioActual.left(kLongitudAplicacionBDE) + u'|' +
                 aplicacion());
  parametros.Add(QStringLiteral("OPEN MODE=READ/WRITE"));
  parametros.Add(QStringLiteral("SCHEMA CACHE SIZE=8"));
  parametros.Add(QStringLiteral("LANGDRIVER="));
  parametros.Add(QStringLiteral("SQLQRYMODE="));
  parametros.Add(QStringLiteral("SQLPASSTHRU MODE=SHARED AUTOCOMMIT"));
  parametros.Add(QStringLiteral("SCHEMA CACHE TIME=-1"));
  parametros.Add(QStringLiteral("PASSWORD=") + ClaveInicioSesion);
  return parametros;
}

QString CadenaConexionADO(TfGENEINIC& servicios, const QString& nombreLogico, const QString& servidor) {
  const TConexiones& conexiones = Conexiones(servicios);
  QString catalogo;
  if (nombreLogico.startsWith(u'?'))
    catalogo = nombreLogico.mid(1);
  else if (nombreLogico == u"DatabaseGeneral")
    catalogo = conexiones.DatabaseGeneral->DatabaseName();
  else if (nombreLogico == u"DatabaseAlt")
    catalogo = conexiones.DatabaseAlt->DatabaseName();
  else if (nombreLogico == u"Database" || nombreLogico.isEmpty())
    catalogo = NombreBaseDatosEmpresa(servicios, EmpresaActual);
  else
    catalogo = nombreLogico;
  QString fuente = servidor.isEmpty() ? ServidorSQL : servidor;
  fuente.remove(QStringLiteral("np:"));
  // Quoted values: a ";" in a password or a name cannot set another key.
  using ConnectionString::Quoted;
  const QString final = QStringLiteral("Initial Catalog=") + Quoted(catalogo) + QStringLiteral(";Data Source=") +
                        Quoted(fuente) + QStringLiteral(";Application Name=") +
                        Quoted(aplicacion() + u'|' + CodigoUsuarioActual);
  if (AutenticacionWindows) {
    const QString usuario =
        InicioSesionPorNombre(fuente) ? QStringLiteral("User ID=") + Quoted(UsuarioServidor(fuente)) + u';' : QString();
    return QStringLiteral("Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;") + usuario +
           final;
  }
  return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=") + Quoted(UsuarioInicioSesion) +
         QStringLiteral(";Password=") + Quoted(ClaveInicioSesion) + QStringLiteral(";Connect Timeout=0;") + final;
}

bool ErrorTablaInexistente(const QString& texto) {
  const QString mayusculas = texto.toUpper();
  return mayusculas.contains(QStringLiteral("TABLE DOES NOT EXIST")) || mayusculas.contains(QStringLiteral("TABLE UNKNOWN"));
}
