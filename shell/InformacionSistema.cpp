#include "shell/InformacionSistema.h"

#include "core/connections/VersionBDE.h"
#include "core/datamodule/SesionesUso.h"
#include "core/services/Red.h"
#include "core/startup/Configuracion.h"
#include "core/system/Archivos.h"
#include "core/system/Equipo.h"
#include "core/system/SistemaOperativo.h"
#include "platform/SystemResources.h"
#include "platform/data/Session.h"
#include "platform/format/Format.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

const QString kFin = QStringLiteral("\r\n");
const QString kSangria = QStringLiteral("    ");
constexpr double kGigabyte = 1024.0 * 1024.0 * 1024.0;

QStringList lineas(const QString& texto) {
  return texto.split(QRegularExpression(QStringLiteral("\r?\n")), Qt::SkipEmptyParts);
}

// Each line with its key put in the words of its label.
QString rotuladas(const QString& texto, std::initializer_list<std::pair<const char*, const char*>> etiquetas) {
  QString resultado;
  for (QString linea : lineas(texto)) {
    for (const auto& [clave, etiqueta] : etiquetas) {
      const QString nombre = QString::fromLatin1(clave);
      if (linea.startsWith(nombre)) {
        linea = kSangria + QString::fromUtf8(etiqueta) + linea.mid(nombre.size());
        break;
      }
    }
    resultado += linea + kFin;
  }
  return resultado;
}

QString gigas(qint64 bytes) { return QString::number(bytes / (qint64{1} << 30)) + QStringLiteral(" Gb"); }

}  // namespace

DatosInformacionSistema LeerInformacionSistema() {
  DatosInformacionSistema datos;
  datos.sistemaOperativo = InformacionSistemaOperativo();
  datos.versionMotor = VersionBDE();
  for (const Session::User& usuario : Session::Default().UserList())
    datos.usuariosMotor.append({usuario.userName, usuario.sessionNumber});
  datos.usuariosRed = UsuariosConectados();
  if (datos.usuariosRed.startsWith(QLatin1String("Error."))) datos.usuariosRed.clear();
  datos.motor = TipoBaseDatos;
  datos.equipo = NombreEquipo();
  datos.direccionMAC = DireccionMAC(QString());
  SystemResources& recursos = SystemResourcesSeam::Get();
  datos.libreRaiz = recursos.FreeBytes(QStringLiteral("/"));
  datos.carpetaPrograma = CarpetaPrograma;
  datos.librePrograma = recursos.FreeBytes(CarpetaPrograma);
  const SystemResources::Memory memoria = recursos.PhysicalMemory();
  datos.memoriaTotal = memoria.totalBytes;
  datos.memoriaUsada = memoria.loadPercent;
  datos.carpetaTemporal = DirectorioTemporal();
  return datos;
}

QString TextoInformacionSistema(const DatosInformacionSistema& datos) {
  QString texto = QStringLiteral("Versión del Sistema Operativo:") + kFin + kFin;
  texto += rotuladas(datos.sistemaOperativo, {{"PlataformaBase=", "Plataforma Base: "},
                                              {"Plataforma=", "Plataforma: "},
                                              {"Version=", "Versión: "},
                                              {"Nivel=", "Nivel: "}});
  texto += kFin + QStringLiteral("BDE (Borland Database Engine):") + kFin + kFin;
  texto += rotuladas(datos.versionMotor, {{"EngineVersion=", "Versión del Motor: "},
                                          {"InterfaceLevel=", "Nivel del Interface: "},
                                          {"VersionDate=", "Fecha de la Versión: "},
                                          {"VersionTime=", "Hora de la Versión: "}});
  texto += kFin + QStringLiteral("Usuarios del BDE (Usuario y Número de Sesión):") + kFin + kFin;
  for (const auto& usuario : datos.usuariosMotor)
    texto += kSangria + usuario.nombre.left(15) + QStringLiteral("  (") + QString::number(usuario.sesion) + u')' + kFin;
  const QStringList red = lineas(datos.usuariosRed);
  if (!red.isEmpty()) {
    texto += kFin + QStringLiteral("Usuarios de Red (de ") + datos.motor + QStringLiteral("):") + kFin;
    for (const QString& nombre : red) texto += kSangria + nombre + kFin;
  }
  texto += kFin + QStringLiteral("Información del Hardware:") + kFin + kFin;
  texto += kSangria + QStringLiteral("Nombre del Equipo: ") + datos.equipo + kFin;
  texto += kSangria + QStringLiteral("Dirección de red (MAC Adress): ") + datos.direccionMAC + kFin;
  texto += kSangria + QStringLiteral("Espacio Libre en Disco C: ") + gigas(datos.libreRaiz) + kFin;
  texto += kSangria + QStringLiteral("Espacio Libre en ") + datos.carpetaPrograma + QStringLiteral(": ") +
           gigas(datos.librePrograma) + kFin;
  texto += kSangria + QStringLiteral("Memoria RAM: ") + FormatFloat(QStringLiteral("#,###.##"), datos.memoriaTotal / kGigabyte) +
           QStringLiteral(" Gb (") + FormatFloat(QStringLiteral("#.##"), datos.memoriaUsada) +
           QStringLiteral("% utilizada)") + kFin;
  texto += kFin + QStringLiteral("Información de Aplicación:") + kFin + kFin;
  texto += kSangria + QStringLiteral("Carpeta de Archivos Temporales de Windows: ") + datos.carpetaTemporal + kFin;
  texto += kSangria + QStringLiteral("Carpeta de la Aplicación: ") + datos.carpetaPrograma;
  return texto;
}
