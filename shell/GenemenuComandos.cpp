#include "shell/Genemenu.h"

#include "core/connections/Conexiones.h"
#include "core/datamodule/CicloModuloDatos.h"
#include "core/datamodule/Genemodu.h"
#include "core/datamodule/IdentificacionUsuario.h"
#include "core/datamodule/SesionesUso.h"
#include "core/forms/GanchosFormulario.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/FormularioRegistrado.h"
#include "core/services/SeleccionArchivoCarpeta.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "core/system/Incidencias.h"
#include "dialogs/FormularioAdministrador.h"
#include "platform/IniFile.h"
#include "platform/data/Database.h"
#include "shell/ConflictosBloqueo.h"
#include "shell/CopiaEmpresa.h"
#include "shell/Geneconf.h"
#include "shell/Geneempr.h"
#include "shell/Genecaus.h"
#include "shell/Genecres.h"
#include "shell/Genecsis.h"
#include "shell/Geneidma.h"
#include "shell/Geneuser.h"
#include "shell/InformacionSistema.h"
#include "shell/RegistroLibrerias.h"

namespace {

const QString kFin = QStringLiteral("\r\n");

// The form of another folder, made by the class name the program registers.
CreacionFormulario registrado(const char* clase) {
  return [clase] { return FormularioRegistrado(QLatin1String(clase)); };
}

bool administrador() { return ExigirAdministrador(CodigoUsuarioActual, QString()); }

// Warns when other copies of the suite use the databases; true then.
bool hayOtrasSesiones() {
  if (ContarSesiones() <= 1) return false;
  MensajeAviso(QStringLiteral("¡Hay otros usuarios utilizando la aplicación, o bien, tiene Vd. otras aplicaciones "
                              "abiertas. Debe finalizar todas las aplicaciones para utilizar esta opción."));
  return true;
}

bool confirmado(const QString& pregunta) {
  QString respuesta;
  MensajeConfirmacion(pregunta, respuesta);
  return respuesta == QLatin1String("SI");
}

void registrarResultado(const QString& titulo, const QString& resultado) {
  if (!resultado.isEmpty()) CapturarIncidencia(titulo + kFin + resultado);
}

// The forms that only have something to show for a current company.
bool hayEmpresa() { return EmpresaActual != 0; }

void reconectarGeneral() {
  Database& general = *Conexiones(*fGENEINIC).DatabaseGeneral;
  general.Close();
  general.Open();
}

}  // namespace

void TfGENEMENU::Empresas1Click() { AbrirFormularioAdministrador<TfGENEEMPR>(); }
void TfGENEMENU::CamposdeUsuarioPersonalizadosClick() { AbrirFormularioAdministrador<TfGENECAUS>(); }
void TfGENEMENU::ConfiguracindelSistema1Click() { AbrirFormularioAdministrador<TfGENECSIS>(); }

void TfGENEMENU::ConfiguraciondeAplicaciones1Click() {
  if (AbrirFormularioAdministrador<TfGENECONF>()) ConstruirMenuAplicaciones();
}

void TfGENEMENU::ConfiguracionDeUsuariosClick() { AbrirFormularioAdministrador<TfGENEUSER>(); }

void TfGENEMENU::ConfiguracindeImpresos1Click() { AbrirFormularioAdministrador(registrado("TfGENEIMPR"), hayEmpresa); }

void TfGENEMENU::ConfiguracindeResponsabilidadDocumental1Click() {
  // Its creation reads the current company's abbreviation; without one it has nothing to show.
  AbrirFormularioAdministrador([]() -> std::unique_ptr<Form> {
    auto formulario = std::make_unique<TfGENECRES>();
    if (!formulario->Abierto()) return nullptr;
    return formulario;
  });
}

void TfGENEMENU::ConfiguracionDeInternacionalizacionClick() { AbrirFormularioAdministrador<TfGENEIDMA>(); }

void TfGENEMENU::ActualizacionBaseDatosClick() {
  if (!administrador()) return;
  hayOtrasSesiones();
  if (!confirmado(QStringLiteral("¿Está seguro de que desea Actualizar la Base de Datos?"))) return;
  ApartarModuloDatos([] {
    ResultadoActualizacion.clear();
    try {
      AbrirFormularioModal(registrado("TfGENEACTS"));
    } catch (...) {
      reconectarGeneral();
      throw;
    }
    reconectarGeneral();
  });
  registrarResultado(QStringLiteral("Actualización de la Base de Datos."), ResultadoActualizacion);
}

void TfGENEMENU::TraspasoDatosParadoxInterbaseClick() {
  if (!administrador() || hayOtrasSesiones()) return;
  if (!confirmado(QStringLiteral("¿Está seguro de querer Traspasar Datos desde Paradox/Interbase?"))) return;
  ApartarModuloDatos([] {
    ResultadoTraspaso.clear();
    AbrirFormularioModal(registrado("TfGENEACTU"));
  });
  registrarResultado(QStringLiteral("Traspaso de Datos desde Paradox/Interbase."), ResultadoTraspaso);
}

void TfGENEMENU::ConversorJuegosCaracteresClick() {
  if (!administrador()) return;
  hayOtrasSesiones();
  if (confirmado(QStringLiteral("¿ Está seguro de querer seguir con la Conversión de Caracteres ?")))
    AbrirFormularioModal(registrado("TfGENECCHR"));
}

void TfGENEMENU::GestionCopiasSeguridadSQLServerClick() { AbrirFormularioAdministrador(registrado(kFormularioCopiasSQLServer)); }

void TfGENEMENU::CopiadeSeguridadInstantneadeunaEmpresa1Click() {
  if (administrador()) CopiaSeguridadInstantaneaEmpresa(*fGENEINIC);
}

void TfGENEMENU::Restaurarcopiadeseguridaddeunaempresa1Click() {
  if (administrador()) RestaurarCopiaSeguridadEmpresa(*fGENEINIC);
}

void TfGENEMENU::VerlaUbicacindelosArchivosdeCopiaClick() {
  QString carpeta =
      IniFile(ArchivoINI).ReadString(QStringLiteral("Backup MS SQL Server"), QStringLiteral("UbicacionArchivosCopia"), QString());
  if (carpeta.isEmpty()) return;
  SeleccionarArchivoCarpeta(QStringLiteral("Ubicación de los Archivos de Copia de Seguridad"), carpeta,
                            QStringLiteral("Archivos"));
}

void TfGENEMENU::IntroduccindeIncidenciasdelaAplicacin1Click() { AbrirFormularioModal(registrado("TfGENEINAP")); }
void TfGENEMENU::ConsultadeIncidenciasdelaAplicacin1Click() { AbrirFormularioModal(registrado("TfGENECINA")); }

void TfGENEMENU::RegistrarunaLibreradeEnlaceDinmicoDLL1Click() { RegistrarLibreria(*ModuloDatos->OpenDialog1, false); }

void TfGENEMENU::DesregistrarunaLibreradeEnlaceDinmicoDLL1Click() {
  RegistrarLibreria(*ModuloDatos->OpenDialog1, true);
}

void TfGENEMENU::RegistrarlasLibreriasZEMPDFCreator1Click() {
  RegistrarLibreriasZEMPDFCreator(QLatin1String(kCarpetaFrameworkNET));
}

void TfGENEMENU::TestdeRendimiento1Click() { AbrirFormularioModal(registrado(kFormularioTestRendimiento)); }

void TfGENEMENU::InformacionConflictosBloqueoClick() {
  // Paradox folders have no server to ask; there a second editor fails at once, so nobody is ever blocked.
  if (EsParadox()) return InformacionConflictosBloqueo([](const QString&) { return QString(); });
  InformacionConflictosBloqueo([](const QString& sql) { return EjecutarSQL(sql, QStringLiteral("Database")); });
}

void TfGENEMENU::ListadeUsuariosdelBDE1Click() {
  if (Ganchos().MostrarDetalle)
    Ganchos().MostrarDetalle(TextoInformacionSistema(LeerInformacionSistema()), QStringLiteral("Información del Sistema"),
                             QString());
}
