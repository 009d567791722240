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

#include <algorithm>
#include <utility>
#include <vector>

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

namespace {

using Cambio = std::pair<QString, std::function<QString(const QString& actual)>>;

// The keys' changes in one edit of one row, so a row another program holds
// refuses them all at once. A change that leaves every value as the row holds
// it now writes nothing, so another program holding the row is no obstacle.
void cambiarFila(Table& usuarios, const QString& codigo, const std::vector<Cambio>& cambios) {
  if (!localizar(usuarios, codigo)) return;
  usuarios.Refresh();
  if (!localizar(usuarios, codigo)) return;
  const auto valor = [&usuarios](const QString& clave) {
    return esColumna(clave) ? usuarios.FieldByName(clave).AsString() : lineasConfiguracion(usuarios).Values(clave);
  };
  if (std::none_of(cambios.begin(), cambios.end(), [&valor](const Cambio& c) {
        const QString actual = valor(c.first);
        return c.second(actual) != actual;
      }))
    return;
  try {
    // Edit reads the row again, so a line another program wrote meanwhile stays.
    usuarios.Edit();
    for (const auto& [clave, cambio] : cambios) {
      if (esColumna(clave)) {
        Field& campo = usuarios.FieldByName(clave);
        campo.SetAsString(cambio(campo.AsString()));
      } else {
        StringList lineas = lineasConfiguracion(usuarios);
        AsignarValorLista(clave, cambio(lineas.Values(clave)), lineas);
        usuarios.FieldByName(kConfiguracion).SetAsString(lineas.Text());
      }
    }
    usuarios.Post();
  } catch (const std::exception&) {
    if (usuarios.State() == dsEdit) usuarios.Cancel();
    throw;
  }
}

}  // namespace

void CambiarConfigUsuario(const QString& usuario, const QString& clave,
                          const std::function<QString(const QString& actual)>& cambio) {
  if (Table* usuarios = tablaUsuarios()) cambiarFila(*usuarios, codigoFila(usuario, clave), {{clave, cambio}});
}

void GrabarConfigUsuario(const QString& usuario, const QString& clave, const QString& valor) {
  GrabarConfigUsuario(usuario, {{clave, valor}});
}

void GrabarConfigUsuario(const QString& usuario, const QList<QPair<QString, QString>>& valores) {
  Table* usuarios = tablaUsuarios();
  if (!usuarios) return;
  // The keys go by row (a profile's keys and the user's own ones), each row
  // in one edit; the first refusal is warned of once and ends the writing.
  QStringList filas;
  for (const auto& [clave, valor] : valores)
    if (!filas.contains(codigoFila(usuario, clave))) filas.append(codigoFila(usuario, clave));
  try {
    for (const QString& fila : filas) {
      std::vector<Cambio> cambios;
      for (const auto& [clave, valor] : valores)
        if (codigoFila(usuario, clave) == fila) cambios.emplace_back(clave, [valor](const QString&) { return valor; });
      cambiarFila(*usuarios, fila, cambios);
    }
  } catch (const std::exception& error) {
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
