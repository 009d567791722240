#include "maintenance/Genediag.h"

#include "core/connections/DiagnosticoInstalacion.h"
#include "core/connections/VariablesConexion.h"
#include "core/datamodule/ArchivosValores.h"
#include "core/forms/GanchosFormulario.h"
#include "core/forms/TeclasFormulario.h"
#include "core/startup/Configuracion.h"
#include "core/system/CursorEspera.h"
#include "core/system/SistemaOperativo.h"
#include "maintenance/ComprobacionesInstalacion.h"
#include "maintenance/ConfiguracionBDE.h"
#include "platform/FormRegistry.h"
#include "platform/Paths.h"
#include "platform/PlainMessage.h"
#include "platform/StringList.h"
#include "platform/format/Format.h"

TfGENEDIAG* fGENEDIAG = nullptr;

namespace {

const QString kSalto = QStringLiteral("\r\n");
const QString kMaquinaLocal = QStringLiteral("HKEY_LOCAL_MACHINE");
const QString kTitulo = QStringLiteral("Diagnóstico de la Instalación");
const QString kDireccionParadox = QStringLiteral("BDEAdministrator\\Configuration\\Drivers\\Native\\PARADOX");
const QString kDireccionMSSQL = QStringLiteral("BDEAdministrator\\Configuration\\Drivers\\Native\\MSSQL");
const QString kDireccionSistema = QStringLiteral("BDEAdministrator\\Configuration\\System\\INIT");

struct ValorRegistro {
  QString clave;     // as read
  QString nombre;
  QString tipo;
  QString objetivo;
  QString reparada;  // the key the repair writes
  QString valor;     // what it writes
};

// The registry values that apply to the platform, in their order.
QList<ValorRegistro> valoresRegistro(const QString& base, const QString& plataforma) {
  QList<ValorRegistro> valores;
  if (base == u"Windows 95") {
    const QString vredir = QStringLiteral("\\SYSTEM\\CurrentcontrolSet\\Services\\VxD\\Vredir");
    const QString archivos = QStringLiteral("\\SYSTEM\\CurrentcontrolSet\\Control\\FileSystem");
    valores.append({vredir, QStringLiteral("DiscardCacheonOpen"), QStringLiteral("binary"), QStringLiteral("1"),
                    vredir.mid(1), QStringLiteral("1")});
    valores.append({archivos, QStringLiteral("DriveWriteBehind"), QStringLiteral("dword"), QStringLiteral("0"),
                    archivos.mid(1), QStringLiteral("0")});
  }
  const QString ayuda = plataforma == u"Windows 8"
                            ? QStringLiteral("SOFTWARE\\Wow6432Node\\Microsoft\\HTMLHelp\\1.x\\HHRestrictions")
                            : QStringLiteral("SOFTWARE\\Microsoft\\HTMLHelp\\1.x\\ItssRestrictions");
  const QString reparada = plataforma == u"Windows 8"
                               ? QStringLiteral("SOFTWARE\\Microsoft\\HTMLHelp\\1.x\\HHRestrictions")
                               : QStringLiteral("SOFTWARE\\Microsoft\\HTMLHelp\\1.x\\ItssRestrictions");
  valores.append({u'\\' + ayuda, QStringLiteral("MaxAllowedZone"), QStringLiteral("dword"), QStringLiteral(">=1"),
                  reparada, QStringLiteral("1")});
  return valores;
}

struct ParametroMotor {
  QString parametro;
  QString direccion;  // empty: a language driver, which must not be empty
  QString tipo;
  QString objetivo;
};

QString parametroAlias(const QString& alias, const char* nombre) {
  return QStringLiteral("\\Databases\\") + alias + QStringLiteral("\\DB OPEN\\;") + QLatin1String(nombre);
}

QList<ParametroMotor> parametrosMotor() {
  const QString entero = QStringLiteral("integer"), texto = QStringLiteral("string");
  const QString general = QStringLiteral("BDEAdministrator\\Databases\\") + AliasBaseDatosGeneral;
  const QString empresa = QStringLiteral("BDEAdministrator\\Databases\\") + AliasBaseDatosEmpresa;
  return {
      {QStringLiteral("\\DRIVERS\\PARADOX\\INIT\\;LANGDRIVER"), {}, {}, {}},
      {QStringLiteral("\\DRIVERS\\PARADOX\\TABLE CREATE\\;LEVEL"), kDireccionParadox, entero, QStringLiteral(">=5")},
      {QStringLiteral("\\DRIVERS\\PARADOX\\TABLE CREATE\\;BLOCK SIZE"), kDireccionParadox, entero,
       QStringLiteral(">=32768")},
      {QStringLiteral("\\DRIVERS\\MSSQL\\DB OPEN\\;LANGDRIVER"), {}, {}, {}},
      {QStringLiteral("\\DRIVERS\\MSSQL\\INIT\\;MAX DBPROCESSES"), kDireccionMSSQL, entero, QStringLiteral(">=1000")},
      {QStringLiteral("\\DRIVERS\\MSSQL\\DB OPEN\\;BLOB SIZE"), kDireccionMSSQL, entero, QStringLiteral(">=999")},
      {QStringLiteral("\\DRIVERS\\MSSQL\\DB OPEN\\;BLOBS TO CACHE"), kDireccionMSSQL, entero, QStringLiteral(">=65535")},
      {parametroAlias(AliasBaseDatosGeneral, "BLOB SIZE"), general, entero, QStringLiteral(">=999")},
      {parametroAlias(AliasBaseDatosGeneral, "BLOBS TO CACHE"), general, entero, QStringLiteral(">=65535")},
      {parametroAlias(AliasBaseDatosEmpresa, "BLOB SIZE"), empresa, entero, QStringLiteral(">=999")},
      {parametroAlias(AliasBaseDatosEmpresa, "BLOBS TO CACHE"), empresa, entero, QStringLiteral(">=65535")},
      {QStringLiteral("\\SYSTEM\\INIT\\;LANGDRIVER"), {}, {}, {}},
      {QStringLiteral("\\SYSTEM\\INIT\\;LOCAL SHARE"), kDireccionSistema, texto, QStringLiteral("TRUE")},
      {QStringLiteral("\\SYSTEM\\INIT\\;MAXBUFSIZE"), kDireccionSistema, entero, QStringLiteral(">=2048")},
      {QStringLiteral("\\SYSTEM\\INIT\\;MAXFILEHANDLES"), kDireccionSistema, entero, QStringLiteral(">=99")},
      {QStringLiteral("\\SYSTEM\\INIT\\;SHAREDMEMSIZE"), kDireccionSistema, entero, QStringLiteral(">=2048")},
      {QStringLiteral("\\SYSTEM\\INIT\\;SHAREDMEMLOCATION"), kDireccionSistema, texto, QStringLiteral("0x5BDE")},
  };
}

// The fixed line of an empty language driver, by its parameter's path.
QString controladorNoAsignado(const QString& parametro) {
  const QString direccion = parametro.contains(u"PARADOX") ? kDireccionParadox
                            : parametro.contains(u"MSSQL") ? kDireccionMSSQL
                                                           : kDireccionSistema;
  return QStringLiteral("El valor del parámetro LANGDRIVER de la Direccion ") + direccion +
         QStringLiteral(" no está asignado.");
}

// What the repair writes into the engine configuration, in its order.
const std::pair<const char*, const char*> kValoresMotor[] = {
    {"\\DRIVERS\\PARADOX\\TABLE CREATE\\;LEVEL", "5"},   {"\\DRIVERS\\PARADOX\\TABLE CREATE\\;BLOCK SIZE", "32768"},
    {"\\DRIVERS\\MSSQL\\INIT\\;MAX DBPROCESSES", "1000"}, {"\\DRIVERS\\MSSQL\\DB OPEN\\;BLOB SIZE", "999"},
    {"\\DRIVERS\\MSSQL\\DB OPEN\\;BLOBS TO CACHE", "65535"}, {"\\SYSTEM\\INIT\\;LOCAL SHARE", "TRUE"},
    {"\\SYSTEM\\INIT\\;MAXBUFSIZE", "16384"},            {"\\SYSTEM\\INIT\\;MAXFILEHANDLES", "99"},
    {"\\SYSTEM\\INIT\\;SHAREDMEMSIZE", "16384"},         {"\\SYSTEM\\INIT\\;SHAREDMEMLOCATION", "0x5BDE"},
};

// A file older than its date must be updated; a missing one is no anomaly.
const std::pair<const char*, const char*> kArchivosRed[] = {{"VREDIR.VXD", "12/9/1997"}, {"VNETSUP.VXD", "31/5/1997"}};

void anadirApartado(QString& informe, const QString& encabezado, const QString& lineas) {
  if (lineas.isEmpty()) return;
  if (!informe.isEmpty()) informe += kSalto + kSalto;
  informe += encabezado + kSalto + kSalto + lineas;
}

QString lineasMotorBaseDatos() {
  QString servicio, maquina;
  LeerValorTexto(ArchivoINI, QStringLiteral("NombreServicioAgenteMSSQL"), servicio, QString());
  if (servicio.isEmpty())
    return QStringLiteral("No tiene configurado el sistema de alerta sobre la actividad del Agente de SQL Server ") +
           QStringLiteral("(Gestor de Aplicaciones/Configuración/Configuración de Sistema/Microsoft SQL Server)") +
           kSalto;
  LeerValorTexto(ArchivoINI, QStringLiteral("NombrePCInstanciaMSSQL"), maquina, QString());
  if (EstadoServicio(maquina, servicio) == u"Iniciado") return QString();
  return QStringLiteral("El servicio de Agente de SQL Server no está iniciado. ") +
         QStringLiteral("Este servicio es necesario para realizar copias de seguridad periódicas.");
}

}  // namespace

TfGENEDIAG::TfGENEDIAG(QWidget* owner) : Form(owner) {
  setObjectName(QStringLiteral("fGENEDIAG"));
  SetCaption(kTitulo);
  resize(329, 101);
  setAttribute(Qt::WA_DeleteOnClose);
  OnKeyDown = TeclasFormulario;
  fGENEDIAG = this;
}

TfGENEDIAG::~TfGENEDIAG() {
  if (fGENEDIAG == this) fGENEDIAG = nullptr;
}

bool TfGENEDIAG::DiagnosticarInstalacion(const QString& grupo) {
  const bool configuracion = grupo.contains(u"Configuracion");
  const StringList sistema(InformacionSistemaOperativo().split(kSalto));
  const Plataforma plataforma{sistema.Values(QStringLiteral("PlataformaBase")),
                              sistema.Values(QStringLiteral("Plataforma"))};
  QString informe;
  bool sinControlador = false;
  if (configuracion) {
    QString lineas;
    for (const ValorRegistro& valor : valoresRegistro(plataforma.base, plataforma.nombre)) {
      const QString anomalia = ComprobarValorRegistro(kMaquinaLocal, valor.clave, valor.nombre, valor.tipo, valor.objetivo);
      if (!anomalia.isEmpty()) lineas += QStringLiteral(" - ") + anomalia + kSalto;
    }
    anadirApartado(informe, QStringLiteral("Las siguientes anomalías han sido detectadas en el Registro de Windows:"),
                   lineas);

    lineas.clear();
    for (const ParametroMotor& parametro : parametrosMotor()) {
      QString anomalia;
      if (parametro.direccion.isEmpty()) {
        if (LeerParametroBDE(parametro.parametro).isEmpty()) {
          anomalia = controladorNoAsignado(parametro.parametro);
          sinControlador = true;
        }
      } else {
        anomalia = ComprobarParametroBDE(parametro.direccion, parametro.parametro, parametro.objetivo, parametro.tipo);
      }
      if (!anomalia.isEmpty()) lineas += QStringLiteral(" - ") + anomalia + kSalto;
    }
    anadirApartado(informe,
                   QStringLiteral("Las siguientes anomalías han sido detectadas en el archivo ") +
                       QStringLiteral("de configuración del BDE:"),
                   lineas);

    lineas.clear();
    for (const auto& [archivo, fecha] : kArchivosRed) {
      const TDateTime modificado = FechaArchivo(Paths::Join(DirectorioSistema(), QLatin1String(archivo)));
      if (modificado != -1 && modificado < StrToDate(QLatin1String(fecha)))
        lineas += QStringLiteral("El archivo ") + QLatin1String(archivo) + QStringLiteral(" debe ser actualizado.") +
                  kSalto;
    }
    anadirApartado(informe,
                   QStringLiteral("Las siguientes anomalías han sido detectadas en el ") +
                       QStringLiteral("Sistema Operativo: "),
                   lineas);
  }
  if (grupo.contains(u"MotorBaseDatos") && !VersionServidorSQL.contains(u"Express Edition"))
    anadirApartado(informe,
                   QStringLiteral("Las siguientes anomalías han sido detectadas en Microsoft SQL Server ") +
                       QStringLiteral("y deben ser reconfiguradas manualmente: "),
                   lineasMotorBaseDatos());
  if (informe.isEmpty()) return true;

  if (Ganchos().MostrarDetalle) Ganchos().MostrarDetalle(informe, kTitulo, QString());
  if (configuracion && AskYesNo(QStringLiteral("Confirmar"),
                                QStringLiteral("¿Desea que la aplicación reconfigure la instalación ") + kSalto +
                                    QStringLiteral("intentando subsanar las anomalías detectadas?")))
    reparar(plataforma, sinControlador);
  return false;
}

// Writes every value it knows, right or wrong.
void TfGENEDIAG::reparar(const Plataforma& plataforma, bool sinControlador) {
  const CursorEspera cursor;
  for (const ValorRegistro& valor : valoresRegistro(plataforma.base, plataforma.nombre))
    EscribirValorRegistro(kMaquinaLocal, valor.reparada, valor.nombre, valor.valor, valor.tipo);
  for (const QString& alias : AliasConfiguracionBDE()) {
    if (alias.compare(AliasBaseDatosGeneral, Qt::CaseInsensitive) != 0 &&
        !alias.contains(AliasBaseDatosEmpresa, Qt::CaseInsensitive))
      continue;
    EscribirParametroBDE(parametroAlias(alias, "BLOB SIZE"), QStringLiteral("999"));
    EscribirParametroBDE(parametroAlias(alias, "BLOBS TO CACHE"), QStringLiteral("65535"));
  }
  if (sinControlador) {
    const QString controlador =
        NombreIntercalacionMSSQL == u"Modern_Spanish_CI_AS" ? QStringLiteral("ascii") : QStringLiteral("BLLT1ES0");
    for (const char* parametro : {"\\DRIVERS\\PARADOX\\INIT\\;LANGDRIVER", "\\DRIVERS\\MSSQL\\DB OPEN\\;LANGDRIVER",
                                  "\\SYSTEM\\INIT\\;LANGDRIVER"})
      EscribirParametroBDE(QLatin1String(parametro), controlador);
  }
  for (const auto& [parametro, valor] : kValoresMotor) EscribirParametroBDE(QLatin1String(parametro), QLatin1String(valor));
}

void RegistrarGENEDIAG() {
  FormRegistry::Register(QLatin1String(kFormularioDiagnostico), [](QWidget* owner) { return new TfGENEDIAG(owner); });
}
