#include "core/datamodule/IdentificacionUsuario.h"

#include "core/datamodule/ConfiguracionUsuario.h"
#include "core/datamodule/Genemodu.h"
#include "core/datamodule/TransaccionBasesDatos.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/Mensajeria.h"
#include "core/sql/MensajesSQL.h"
#include "core/startup/Configuracion.h"
#include "core/system/Equipo.h"
#include "platform/data/Field.h"
#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "platform/data/Table.h"
#include "platform/format/Format.h"
#include "platform/sql/ClientApplication.h"

#include <QStringList>

#include <functional>

namespace {

const QString kCodigo = QStringLiteral("Codigo");
const QString kCategoria = QStringLiteral("Categoria");
const QString kContador = QStringLiteral("ContadorAccesos");
const QString kAdministrador = QStringLiteral("Administrador");
const QString kNoDefinido = QStringLiteral("¡El usuario no está definido!");
constexpr int kFallosBloqueo = 3;

Table& usuarios() {
  if (!ModuloDatos || !ModuloDatos->Usuario) throw Exception(QStringLiteral("Cannot perform this operation on a closed dataset"));
  return *ModuloDatos->Usuario;
}

bool localizar(Table& tabla, const QString& codigo) {
  return tabla.Locate(kCodigo, Variant::String(codigo));
}

void darDeAlta(Table& tabla, const QString& codigo) {
  try {
    tabla.Append();
    tabla.FieldByName(kCodigo).SetAsString(codigo);
    tabla.FieldByName(QStringLiteral("Nombre")).SetAsString(codigo);
    tabla.FieldByName(kCategoria).SetAsString(QStringLiteral("Normal"));
    tabla.Post();
  } catch (const std::exception&) {
    tabla.Cancel();
    MensajeAviso(QStringLiteral("¡Imposible dar de alta el usuario!"));
  }
}

// Changes the user's count of failures from the value stored at that moment,
// under the write lock of the user table's file: the attempts of every
// running copy count, one after the other. False, after a warning, when it
// could not be changed.
bool cambiarFallos(const Table& tabla, const QString& usuario, const std::function<QString(int fallos)>& cambio) {
  try {
    TransaccionBasesDatos transaccion({tabla.DatabaseName()});
    CambiarConfigUsuario(usuario, kContador,
                         [&cambio](const QString& actual) { return cambio(StrToIntDef(actual, 0)); });
    transaccion.Confirmar();
    return true;
  } catch (const std::exception& error) {
    MensajeAviso(QStringLiteral("¡Imposible grabar la configuración del usuario!. Motivo: ") + TextoExcepcion(error));
    return false;
  }
}

QStringList lineas(const QString& texto) {
  StringList lista;
  lista.SetText(texto);
  return lista.Lines();
}

}  // namespace

bool IdentificarUsuario(QString& codigo) {
  codigo = AutenticacionWindows || ParametroU.isEmpty() ? UsuarioWindows() : ParametroU;
  if (!AutenticacionWindows) {
    QString respuesta = codigo;
    MensajePregunta(QStringLiteral("Introduzca el Código de Usuario:"), respuesta);
    codigo = respuesta;
    if (codigo.isEmpty()) return false;
  }

  Table& tabla = usuarios();
  if (AutenticacionWindows && !localizar(tabla, codigo)) darDeAlta(tabla, codigo);
  if (!localizar(tabla, codigo)) {
    MensajeAviso(kNoDefinido);
    return false;
  }
  codigo = tabla.FieldByName(kCodigo).AsString();
  const Field* campoClave = tabla.FindField(QStringLiteral("ClaveAcceso"));
  const QString claveGuardada = campoClave ? campoClave->AsString() : QString();
  // The code may be the very global, so the user is read from a copy.
  const QString usuario = codigo;
  CamposNoVisiblesUsuario = LeerConfigUsuario(usuario, QStringLiteral("CamposNoVisibles"), QString());

  const QString revocado =
      QStringLiteral("¡Su derecho de acceso ha sido revocado!. Contacte con el administrador del sistema.");
  if (StrToIntDef(LeerConfigUsuario(usuario, kContador, QStringLiteral("0")), 0) >= kFallosBloqueo) {
    MensajeAviso(revocado);
    return false;
  }

  ClaveUsuarioActual.clear();
  if (!claveGuardada.isEmpty()) {
    if (AutenticacionWindows) {
      ClaveUsuarioActual = claveGuardada;
    } else {
      QString respuesta = QStringLiteral("Password");
      MensajePregunta(QStringLiteral("Introduzca la Clave de Acceso:"), respuesta);
      ClaveUsuarioActual = respuesta;
      // The attempt is counted before it is weighed, so that copies asking at
      // once weigh no more attempts than the lock allows.
      int fallos = -1;
      if (!cambiarFallos(tabla, usuario, [&fallos](int anteriores) {
            fallos = anteriores;
            return QString::number(anteriores >= kFallosBloqueo ? anteriores : anteriores + 1);
          }))
        return false;
      if (fallos < 0) {  // deleted meanwhile
        MensajeAviso(kNoDefinido);
        return false;
      }
      if (fallos >= kFallosBloqueo) {
        MensajeAviso(revocado);
        return false;
      }
      if (ClaveUsuarioActual != claveGuardada) {
        MensajeAviso(QStringLiteral("¡La Clave de Acceso es incorrecta!"));
        return false;
      }
      cambiarFallos(tabla, usuario, [](int) { return QStringLiteral("0"); });
    }
  }
  CodigoUsuarioActual = usuario;
  // The server's triggers read the user from the program's name.
  ClientApplication::SetProgramName(Paths::ExecutableName() + u'|' + usuario);
  return true;
}

void DerechoAccesoPrograma(const QString& usuario, const QString& programa, QString& derecho) {
  derecho = QStringLiteral("Ninguno");
  QString nombre = programa;
  nombre.remove(u'&');
  const QStringList noAccesibles = lineas(LeerConfigUsuario(usuario, QStringLiteral("ProgramasNoAccesibles")));
  const QStringList soloLectura = lineas(LeerConfigUsuario(usuario, QStringLiteral("ProgramasSoloLectura")));
  if (noAccesibles.contains(nombre, Qt::CaseInsensitive)) {
    MensajeInformacion(QStringLiteral("Vd. no tiene acceso al programa ") + nombre);
    return;
  }
  derecho = soloLectura.contains(nombre, Qt::CaseInsensitive) ? QStringLiteral("Solo Lectura") : QStringLiteral("Total");
}

bool ExigirAdministrador(const QString& usuario, const QString& opciones) {
  Table& tabla = usuarios();
  QString perfil = usuario;
  if (localizar(tabla, usuario)) {
    const QString categoria = tabla.FieldByName(kCategoria).AsString();
    static const QStringList propias = {kAdministrador, QStringLiteral("Configurador"), QStringLiteral("Normal"),
                                        QString()};
    if (!propias.contains(categoria)) perfil = categoria;
  }
  const bool administrador = localizar(tabla, perfil) && tabla.FieldByName(kCategoria).AsString() == kAdministrador;
  if (!administrador && !opciones.contains(QLatin1String("Silencio")))
    MensajeAviso(QStringLiteral(
        "¡Es necesario ser un usuario con categoría de Administrador para realizar este proceso!"));
  return administrador;
}
