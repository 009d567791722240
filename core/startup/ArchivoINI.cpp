#include "core/startup/ArchivoINI.h"

#include "core/connections/SesionInicio.h"
#include "core/messages/MensajeSistema.h"
#include "core/startup/Clave.h"
#include "core/startup/Configuracion.h"
#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

namespace {

const QString kConfiguracion = QStringLiteral("Configuración");
const QString kSQLServer = QStringLiteral("Microsoft SQL Server");

class LectorINI {
 public:
  explicit LectorINI(const QString& archivo) : ini_(archivo) {}

  QString Texto(const QString& seccion, const QString& clave, const QString& defecto) const {
    return ini_.ReadString(seccion, clave, defecto);
  }
  // An empty value takes the default too.
  QString TextoNoVacio(const QString& seccion, const QString& clave, const QString& defecto) const {
    const QString valor = Texto(seccion, clave, defecto);
    return valor.isEmpty() ? defecto : valor;
  }
  bool Interruptor(const QString& clave, const char* defecto) const {
    return Texto(kConfiguracion, clave, QLatin1String(defecto)) == QLatin1String("SI");
  }
  QString Configuracion(const QString& clave, const QString& defecto = QString()) const {
    return Texto(kConfiguracion, clave, defecto);
  }

 private:
  IniFile ini_;
};

void leer(const LectorINI& ini) {
  VisualizarLogoEmpresaEnMenu = ini.Interruptor(QStringLiteral("VisualizarLogoEmpresaEnMenu"), "NO");
  NivelCapturaIncidencias = ini.Configuracion(QStringLiteral("NivelCapturaIncidencias"), QStringLiteral("Minimo"));
  DesactivarForzadoGrabacionDatosADisco = ini.Interruptor(QStringLiteral("DesactivarForzadoGrabacionDatosADisco"), "NO");
  TiempoForzarTerminacionAplicacion = ini.Configuracion(QStringLiteral("TiempoForzarTerminacionAplicacion"));
  ModoAdministradorActivado = ini.Interruptor(QStringLiteral("ModoAdministradorActivado"), "NO");
  ModoControlesNoVisiblesActivado = ini.Interruptor(QStringLiteral("ModoControlesNoVisiblesActivado"), "NO");
  RegistroAccesosActivado = ini.Interruptor(QStringLiteral("RegistroAccesosActivado"), "NO");
  ResponsabilidadDocumentalActivada = ini.Interruptor(QStringLiteral("ResponsabilidadDocumentalActivada"), "NO");
  AccesoWebLocalHost = ini.Interruptor(QStringLiteral("AccesoWebLocalHost"), "NO");
  DesactivarIndicesPorUsuarioEnBusquedas = ini.Interruptor(QStringLiteral("DesactivarIndicesPorUsuarioEnBusquedas"), "NO");
  DesactivarBusquedaSensibleALaPulsacion = ini.Interruptor(QStringLiteral("DesactivarBusquedaSensibleALaPulsacion"), "NO");

  const QString formatoMMDD = QStringLiteral("mm/dd/yyyy");
  FormatoFechaSQL = TipoBaseDatos == kSQLServer
                        ? ini.TextoNoVacio(kConfiguracion, QStringLiteral("FormatoFechaSQL"), formatoMMDD)
                        : formatoMMDD;
  FechaNulaSQL = FormatoFechaSQL == QLatin1String("dd/mm/yyyy") ? QStringLiteral("30/12/1899 00:00:00")
                                                               : QStringLiteral("12/30/1899 00:00:00");

  QString tablas = ini.Configuracion(QStringLiteral("RegistrarAccesoATablas"));
  TablasRegistroAccesos.SetText(tablas.replace(u',', QLatin1String("\r\n")));

  MensajeriaInternaActivada = ini.Interruptor(QStringLiteral("MensajeriaInternaActivada"), "NO");
  VisualizacionPreviaActivada = ini.Interruptor(QStringLiteral("VisualizacionPreviaActivada"), "SI");
  BusquedaAproximadaActivada = ini.Interruptor(QStringLiteral("BusquedaAproximadaActivada"), "NO");
  BDENetDir = ini.Configuracion(QStringLiteral("BDENetDir"));
  FijarCarpetaRed(BDENetDir);
  EnviarIncidenciasAZEM = ini.Configuracion(QStringLiteral("EnviarIncidenciasAZEM"), QStringLiteral("NO"));
  DesactivarDiagnostico = ini.Interruptor(QStringLiteral("DesactivarDiagnostico"), "NO");
  AutenticacionWindows = ini.Interruptor(QStringLiteral("AutenticacionWindows"), "NO");
  NombreIntercalacionMSSQL = ini.TextoNoVacio(kSQLServer, QStringLiteral("NombreIntercalacionMSSQL"),
                                              QStringLiteral("SQL_Latin1_General_Cp1_CI_AI"));
  MonitorizarActividadUsuario = ini.Interruptor(QStringLiteral("MonitorizarActividadUsuario"), "NO");
  ArchivosTemporalesEnBD = ini.Interruptor(QStringLiteral("ArchivosTemporalesEnBD"), "SI");
  if (ArchivosTemporalesEnBD) PathArchivosTemporales = AliasBaseDatosGeneral;
  UsuarioInicioSesion = ini.Texto(kSQLServer, QStringLiteral("NombreUsuarioInicioSesion"), QString());
  ClaveInicioSesion = DesencriptarClave(ini.Texto(kSQLServer, QStringLiteral("PasswordInicioSesion"), QString()));
  CarpetaFTPClienteWebZEM = ini.Configuracion(QStringLiteral("CarpetaFTPClienteWebZEM"));
  URLAccesoMenuWebDistribuidor = ini.Configuracion(QStringLiteral("URLAccesoMenuWebDistribuidor"));
  NivelAislamientoTransaccionesMSSQL = ini.TextoNoVacio(kSQLServer, QStringLiteral("NivelAislamientoTransaccionesMSSQL"),
                                                        QStringLiteral("READ UNCOMMITTED"));
  ReplicacionBDActivada = ini.TextoNoVacio(kSQLServer, QStringLiteral("ReplicacionBDActivada"), QStringLiteral("NO"));

  bool segundos = false;
  const int retardo = ini.Configuracion(QStringLiteral("RetardoGrabacionPDF")).toInt(&segundos);
  RetardoGrabacionPDF = (segundos ? retardo : 5) * 1000;

  AspectoAplicacion = ini.TextoNoVacio(kConfiguracion, QStringLiteral("AspectoAplicacion"), AspectoPorDefecto);
}

}  // namespace

QString NombreArchivoINI(const QString& parametroI) {
  if (parametroI.isEmpty()) return Paths::FindFile(CarpetaPrograma, QLatin1String(kArchivoINIPorDefecto));
  if (Paths::HasSeparator(parametroI)) return Paths::Internal(parametroI);
  return Paths::FindFile(CarpetaPrograma, parametroI);
}

void LeerArchivoINI() {
  ArchivoINI = NombreArchivoINI(ParametroI);
  try {
    leer(LectorINI(ArchivoINI));
  } catch (const Exception&) {
    MensajeAviso(QStringLiteral("No ha sido posible leer los parámetros del archivo ") + ArchivoINI +
                 QStringLiteral(". ") + QStringLiteral("Se utilizarán los parámetros por defecto."));
  }
}
