#include "core/startup/Configuracion.h"

QString ParametroL;
QString ParametroU;
QString ParametroI;
QString ParametroT;

QString CarpetaPrograma;
QString ArchivoINI;
QString Plataforma;
int AjusteAlturaFormulario;
QString AspectoPorDefecto;

QString ArchivoInstalacion;
QString TipoBaseDatos;
QString AliasBaseDatosGeneral;
QString PathBaseDatosGeneral;
QString PathBaseDatos;
QString AliasBaseDatos;
QString AliasBaseDatosEmpresa;
QString PathArchivosTemporales;
QString LogotipoEmpresa;
QString CodigoAdministrador;
QString NombreEmpresaInicial;

int EmpresaActual;
QString IdiomaActual;
QString CodigoUsuarioActual;
QString CamposNoVisiblesUsuario;
QDateTime UltimaActividad;

bool VisualizarLogoEmpresaEnMenu;
QString NivelCapturaIncidencias;
bool DesactivarForzadoGrabacionDatosADisco;
QString TiempoForzarTerminacionAplicacion;
bool ModoAdministradorActivado;
bool ModoControlesNoVisiblesActivado;
bool RegistroAccesosActivado;
bool ResponsabilidadDocumentalActivada;
bool AccesoWebLocalHost;
bool DesactivarIndicesPorUsuarioEnBusquedas;
bool DesactivarBusquedaSensibleALaPulsacion;
QString FormatoFechaSQL;
QString FechaNulaSQL;
bool MensajeriaInternaActivada;
bool VisualizacionPreviaActivada;
bool BusquedaAproximadaActivada;
QString BDENetDir;
QString EnviarIncidenciasAZEM;
bool DesactivarDiagnostico;
bool AutenticacionWindows;
bool MonitorizarActividadUsuario;
bool ArchivosTemporalesEnBD;
QString CarpetaFTPClienteWebZEM;
QString URLAccesoMenuWebDistribuidor;
int RetardoGrabacionPDF;
QString AspectoAplicacion;

QString NombreIntercalacionMSSQL;
QString UsuarioInicioSesion;
QString ClaveInicioSesion;
QString NivelAislamientoTransaccionesMSSQL;
QString ReplicacionBDActivada;

QString ResultadoActualizacion;
QString ResultadoTraspaso;

std::optional<QFont> FuenteAplicacion;
QColor ColorFormularioMDI;
QColor ColorFormularioNormal;

StringList MapaAyuda;
StringList CacheTraducciones;
StringList ControlesNoVisibles;
StringList TablasRegistroAccesos;
StringList ListaTrazas;
std::array<StringList, 6> CamposPlantillasNumericas;
QList<QWidget*> ListaControlesListado;

void ResetConfiguracion() {
  ParametroL.clear();
  ParametroU.clear();
  ParametroI.clear();
  ParametroT.clear();

  CarpetaPrograma.clear();
  ArchivoINI.clear();
  Plataforma.clear();
  AjusteAlturaFormulario = 27;
  AspectoPorDefecto.clear();

  ArchivoInstalacion.clear();
  TipoBaseDatos.clear();
  AliasBaseDatosGeneral.clear();
  PathBaseDatosGeneral.clear();
  PathBaseDatos.clear();
  AliasBaseDatos.clear();
  AliasBaseDatosEmpresa.clear();
  PathArchivosTemporales.clear();
  LogotipoEmpresa.clear();
  CodigoAdministrador = QStringLiteral("ADMIN");
  NombreEmpresaInicial = QStringLiteral("EMPRESA 1");

  EmpresaActual = 0;
  IdiomaActual.clear();
  CodigoUsuarioActual.clear();
  CamposNoVisiblesUsuario.clear();
  UltimaActividad = QDateTime();

  VisualizarLogoEmpresaEnMenu = false;
  NivelCapturaIncidencias.clear();
  DesactivarForzadoGrabacionDatosADisco = false;
  TiempoForzarTerminacionAplicacion.clear();
  ModoAdministradorActivado = false;
  ModoControlesNoVisiblesActivado = false;
  RegistroAccesosActivado = false;
  ResponsabilidadDocumentalActivada = false;
  AccesoWebLocalHost = false;
  DesactivarIndicesPorUsuarioEnBusquedas = false;
  DesactivarBusquedaSensibleALaPulsacion = false;
  // Never empty: every SQL date literal is written with it.
  FormatoFechaSQL = QStringLiteral("mm/dd/yyyy");
  FechaNulaSQL = QStringLiteral("12/30/1899 00:00:00");
  MensajeriaInternaActivada = false;
  VisualizacionPreviaActivada = false;
  BusquedaAproximadaActivada = false;
  BDENetDir.clear();
  EnviarIncidenciasAZEM.clear();
  DesactivarDiagnostico = false;
  AutenticacionWindows = false;
  MonitorizarActividadUsuario = false;
  ArchivosTemporalesEnBD = false;
  CarpetaFTPClienteWebZEM.clear();
  URLAccesoMenuWebDistribuidor.clear();
  RetardoGrabacionPDF = 0;
  AspectoAplicacion.clear();

  NombreIntercalacionMSSQL = QStringLiteral("SQL_Latin1_General_Cp1_CI_AI");
  UsuarioInicioSesion.clear();
  ClaveInicioSesion.clear();
  NivelAislamientoTransaccionesMSSQL = QStringLiteral("READ UNCOMMITTED");
  ReplicacionBDActivada = QStringLiteral("NO");

  ResultadoActualizacion.clear();
  ResultadoTraspaso.clear();

  FuenteAplicacion.reset();
  ColorFormularioMDI = QColor();
  ColorFormularioNormal = QColor();

  MapaAyuda = StringList();
  CacheTraducciones = StringList();
  ControlesNoVisibles = StringList();
  TablasRegistroAccesos = StringList();
  ListaTrazas = StringList();
  CamposPlantillasNumericas = {};
  ListaControlesListado.clear();
}

namespace {
// The values before start-up are the ones ResetConfiguracion gives.
[[maybe_unused]] const bool valoresIniciales = (ResetConfiguracion(), true);
}  // namespace
