#pragma once

#include "platform/StringList.h"

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QList>
#include <QString>

#include <array>
#include <optional>

class QWidget;

// The program's global settings and session values, read at start-up from
// the command line, the installation settings file and the program INI file.

// Command line
extern QString ParametroL;  // installation settings file
extern QString ParametroU;  // user code offered to the login
extern QString ParametroI;  // program INI file
extern QString ParametroT;  // interface language

// Program and platform
extern QString CarpetaPrograma;  // the current folder at start-up, with a trailing "/"
extern QString ArchivoINI;
extern QString Plataforma;
extern int AjusteAlturaFormulario;
extern QString AspectoPorDefecto;  // set by the main window's creation

// Installation settings file
extern QString ArchivoInstalacion;  // the path actually read, empty when none could be
extern QString TipoBaseDatos;
extern QString AliasBaseDatosGeneral;
extern QString PathBaseDatosGeneral;
extern QString PathBaseDatos;
extern QString AliasBaseDatos;
extern QString AliasBaseDatosEmpresa;
extern QString PathArchivosTemporales;
extern QString LogotipoEmpresa;
extern QString CodigoAdministrador;
extern QString NombreEmpresaInicial;

// Session
extern int EmpresaActual;
extern QString IdiomaActual;
extern QString CodigoUsuarioActual;
extern QString CamposNoVisiblesUsuario;  // the user's "CamposNoVisibles", set at login
extern QDateTime UltimaActividad;

// Program INI file, section "Configuración"
extern bool VisualizarLogoEmpresaEnMenu;
extern QString NivelCapturaIncidencias;
extern bool DesactivarForzadoGrabacionDatosADisco;
extern QString TiempoForzarTerminacionAplicacion;
extern bool ModoAdministradorActivado;
extern bool ModoControlesNoVisiblesActivado;
extern bool RegistroAccesosActivado;
extern bool ResponsabilidadDocumentalActivada;
extern bool AccesoWebLocalHost;
extern bool DesactivarIndicesPorUsuarioEnBusquedas;
extern bool DesactivarBusquedaSensibleALaPulsacion;
extern QString FormatoFechaSQL;
extern QString FechaNulaSQL;
extern bool MensajeriaInternaActivada;
extern bool VisualizacionPreviaActivada;
extern bool BusquedaAproximadaActivada;
extern QString BDENetDir;
extern QString EnviarIncidenciasAZEM;
extern bool DesactivarDiagnostico;
extern bool AutenticacionWindows;
extern bool MonitorizarActividadUsuario;
extern bool ArchivosTemporalesEnBD;
extern QString CarpetaFTPClienteWebZEM;
extern QString URLAccesoMenuWebDistribuidor;
extern int RetardoGrabacionPDF;  // milliseconds
extern QString AspectoAplicacion;

// Program INI file, section "Microsoft SQL Server"
extern QString NombreIntercalacionMSSQL;
extern QString UsuarioInicioSesion;
extern QString ClaveInicioSesion;
extern QString NivelAislamientoTransaccionesMSSQL;
extern QString ReplicacionBDActivada;

// What the exclusive tools leave for the menu command that opened them
extern QString ResultadoActualizacion;  // the database update's progress and error logs
extern QString ResultadoTraspaso;  // the data transfer's tables and incidents

// Look
extern std::optional<QFont> FuenteAplicacion;  // made by the start-up services object
extern QColor ColorFormularioMDI;
extern QColor ColorFormularioNormal;

// Lists the start-up services object makes at its creation and empties at
// its destruction.
extern StringList MapaAyuda;                 // help topic=context number
extern StringList CacheTraducciones;         // text=translation
extern StringList ControlesNoVisibles;       // qualified names marked in administrator mode
extern StringList TablasRegistroAccesos;     // from RegistrarAccesoATablas
extern StringList ListaTrazas;               // trace lines of the data module
extern std::array<StringList, 6> CamposPlantillasNumericas;  // templates 1 to 5; 0 unused
extern QList<QWidget*> ListaControlesListado;

// Puts every value above back to the value it has before start-up.
void ResetConfiguracion();
