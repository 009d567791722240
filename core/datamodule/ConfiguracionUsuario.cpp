#include "core/datamodule/ConfiguracionUsuario.h"

#include "core/datamodule/Genemodu.h"
#include "core/tables/NombresTablas.h"
#include "core/helpers/Listas.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/EjecucionSQL.h"
#include "core/sql/MensajesSQL.h"
#include "core/startup/Configuracion.h"
#include "platform/data/Field.h"
#include "platform/format/Format.h"

#include <QStringList>

namespace {

const QString kConfiguracion = QStringLiteral("Configuracion");

bool enFilaPropia(const QString& clave) {
  static const QStringList claves = {QStringLiteral("IndicesBusqueda"), QStringLiteral("DatosBusqueda"),
                                     QStringLiteral("ContadorAccesos")};
  return claves.contains(clave);
}

bool esColumna(const QString& clave) {
  static const QStringList columnas = {QStringLiteral("ProgramasNoAccesibles"), QStringLiteral("ProgramasSoloLectura"),
                                       QStringLiteral("ProgramasActivos"), QStringLiteral("Empresas")};
  return columnas.contains(clave);
}

QString codigoFila(const QString& usuario, const QString& clave) {
  return enFilaPropia(clave) ? usuario : CategoriaUsuario(usuario);
}

Table* tablaUsuarios() { return ModuloDatos ? ModuloDatos->Usuario.data() : nullptr; }

bool localizar(Table& usuarios, const QString& codigo) {
  return usuarios.Active() && usuarios.Locate(QStringLiteral("Codigo"), Variant::String(codigo));
}

StringList lineasConfiguracion(const Table& usuarios) {
  StringList lineas;
  lineas.SetText(usuarios.FieldByName(kConfiguracion).AsString());
  return lineas;
}

}  // namespace

QString CategoriaUsuario(const QString& usuario) {
  const QString categoria =
      EjecutarSQL(QStringLiteral("SELECT Categoria FROM USUARIO   WHERE Codigo = ") + LiteralSQL(usuario),
                  QStringLiteral("DatabaseGeneral"));
  static const QStringList propias = {QStringLiteral("Administrador"), QStringLiteral("Configurador"),
                                      QStringLiteral("Normal"), QString()};
  return propias.contains(categoria) ? usuario : categoria;
}

QString LeerConfigUsuario(const QString& usuario, const QString& clave, const QString& defecto) {
  Table* usuarios = tablaUsuarios();
  if (!usuarios || !localizar(*usuarios, codigoFila(usuario, clave))) return defecto;
  if (esColumna(clave)) return usuarios->FieldByName(clave).AsString();
  const QString valor = lineasConfiguracion(*usuarios).Values(clave);
  return valor.isEmpty() ? defecto : valor;
}

void GrabarConfigUsuario(const QString& usuario, const QString& clave, const QString& valor) {
  CambiarConfigUsuario(usuario, clave, [&valor](const QString&) { return valor; });
}

void CambiarConfigUsuario(const QString& usuario, const QString& clave,
                          const std::function<QString(const QString& actual)>& cambio) {
  Table* usuarios = tablaUsuarios();
  if (!usuarios) return;
  try {
    if (localizar(*usuarios, codigoFila(usuario, clave))) {
      // Edit locks the row and reads it again, so a line another program wrote meanwhile stays.
      usuarios->Edit();
      Field& columna = usuarios->FieldByName(esColumna(clave) ? clave : kConfiguracion);
      StringList lineas = lineasConfiguracion(*usuarios);
      const QString actual = esColumna(clave) ? columna.AsString() : lineas.Values(clave);
      const QString valor = cambio(actual);
      if (valor == actual) {
        usuarios->Cancel();
      } else {
        if (esColumna(clave)) {
          columna.SetAsString(valor);
        } else {
          AsignarValorLista(clave, valor, lineas);
          columna.SetAsString(lineas.Text());
        }
        usuarios->Post();
      }
    }
  } catch (const std::exception& error) {
    try {
      usuarios->Cancel();
    } catch (const std::exception&) {
    }
    MensajeAviso(QStringLiteral("¡Imposible grabar la configuración del usuario!. Motivo: ") + TextoExcepcion(error));
  }
  usuarios->Close();
  usuarios->Open();
}

bool ProcesoAutorizado(const QString& usuario, const QString& proceso) {
  return proceso.isEmpty() ||
         !LeerConfigUsuario(usuario, QStringLiteral("ProcesosNoAutorizados"), QString()).contains(proceso);
}

int IndiceBusquedaTabla(const QString& tabla) {
  if (DesactivarIndicesPorUsuarioEnBusquedas) return -1;
  const QString fisica = NombreTablaFisica(tabla);
  QString indices = LeerConfigUsuario(CodigoUsuarioActual, QStringLiteral("IndicesBusqueda"), QString());
  indices.replace(u':', u'=');
  indices.replace(u',', QLatin1String("\r\n"));
  StringList lineas;
  lineas.SetText(indices);
  return StrToIntDef(lineas.Values(fisica), -1);
}
