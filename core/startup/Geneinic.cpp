#include "core/startup/Geneinic.h"

#include "core/connections/CreacionTablas.h"
#include "core/connections/InicioBasesDatos.h"
#include "core/messages/MensajeSistema.h"
#include "core/startup/ArchivoINI.h"
#include "core/startup/ArchivosTemporales.h"
#include "core/startup/Apariencia.h"
#include "core/startup/Configuracion.h"
#include "core/startup/DireccionDistribuidor.h"
#include "core/startup/GestionExcepciones.h"
#include "core/startup/LineaComandos.h"
#include "core/startup/MapaAyuda.h"
#include "core/startup/ParametrosInstalacion.h"
#include "core/startup/RestosAvisados.h"
#include "core/system/SistemaOperativo.h"
#include "core/tables/CamposUsuario.h"
#include "core/tables/CreacionTabla.h"
#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/Exceptions.h"
#include "platform/data/Query.h"
#include "platform/zip/ColocacionZip.h"

#include <QDir>
#include <QFileDialog>

#include <cstdlib>

TfGENEINIC* fGENEINIC = nullptr;

namespace {

TfGENEINIC::PreparacionBasesDatos& preparacionInstalada() {
  static TfGENEINIC::PreparacionBasesDatos preparacion;
  return preparacion;
}

void terminar() {
  if (Application* application = Application::Instance()) application->Terminate();
}

template <class Componente, class Propietario>
Componente* componente(Propietario* owner, const char* nombre) {
  auto* creado = new Componente(owner);
  creado->setObjectName(QLatin1String(nombre));
  return creado;
}

StringList listaOrdenadaSinDuplicados() {
  StringList lista;
  lista.SetSorted(true);
  lista.SetIgnoreDuplicates(true);
  return lista;
}

}  // namespace

void TfGENEINIC::InstalarPreparacionBasesDatos(PreparacionBasesDatos preparacion) {
  preparacionInstalada() = std::move(preparacion);
}

TfGENEINIC::TfGENEINIC(const QStringList& parametros, QWidget* owner)
    : Form(owner),
      Query1(componente<Query>(this, "Query1")),
      SaveDialog1(componente<QFileDialog>(this, "SaveDialog1")) {
  setObjectName(QStringLiteral("fGENEINIC"));
  SetCaption(QStringLiteral("Inicialización (General)"));
  TimerAplicacion.OnTimer = [this] { TimerAplicacionTimer(); };
  SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
  FormCreate(parametros);
}

TfGENEINIC::~TfGENEINIC() {
  FormDestroy();
  if (fGENEINIC == this) fGENEINIC = nullptr;
}

void TfGENEINIC::FormCreate(const QStringList& parametros) {
  ListaTrazas.Clear();
  UltimaActividad = ClockSeam::Get().Now();
  std::srand(static_cast<unsigned>(UltimaActividad.toMSecsSinceEpoch()));

  StringList sistema;
  sistema.SetText(InformacionSistemaOperativo());
  Plataforma = sistema.Values(QStringLiteral("Plataforma"));
  AjusteAlturaFormulario = Plataforma == QLatin1String("Windows XP") ? 32 : 27;

  LeerLineaComandos(parametros);

  ControlesNoVisibles = listaOrdenadaSinDuplicados();
  TablasRegistroAccesos.Clear();
  CacheTraducciones.Clear();
  CarpetaPrograma = QDir::currentPath();
  if (!CarpetaPrograma.endsWith(u'/')) CarpetaPrograma += u'/';

  BorrarArchivosTemporales();
  LeerParametrosInstalacion();
  LeerArchivoINI();
  // A download killed while unpacking leaves the folders wholly old or new.
  QStringList restosNoValidos;
  for (const QString& carpeta : {CarpetaPrograma, PathBaseDatosGeneral})
    if (!carpeta.isEmpty()) restosNoValidos += ColocacionZip::Recuperar(carpeta);
  restosNoValidos.removeDuplicates();
  for (const QString& resto : RestosPorAvisar(restosNoValidos)) MensajeAviso(ColocacionZip::AvisoRestosNoValidos(resto));
  ConstruirAspecto();

  InstalarCreacionTabla(CrearTabla);
  if (!PrepararBasesDatos()) return;

  CargarMapaAyuda();
  for (std::size_t plantilla = 1; plantilla < CamposPlantillasNumericas.size(); ++plantilla)
    CamposPlantillasNumericas[plantilla] = listaOrdenadaSinDuplicados();
  TimerAplicacion.SetEnabled(!TiempoForzarTerminacionAplicacion.isEmpty());
  ComprobarCamposUsuario(*this);
  ListaControlesListado.clear();
  NormalizarURLAccesoMenuWebDistribuidor();
}

bool TfGENEINIC::PrepararBasesDatos() {
  const QString motivo = QStringLiteral("¡Imposible iniciar la aplicación!. Motivo: ");
  try {
    const PreparacionBasesDatos& preparacion = preparacionInstalada();
    if (!(preparacion ? preparacion(*this) : PrepararBasesDatosInicio(*this))) return false;
    InstalarGestionExcepciones(*this);
    return true;
  } catch (const Exception& error) {
    MensajeError(motivo + error.Message());
  } catch (const std::exception& error) {
    MensajeError(motivo + QString::fromLocal8Bit(error.what()));
  }
  terminar();
  return true;
}

void TfGENEINIC::FormDestroy() {
  TimerAplicacion.SetEnabled(false);
  MapaAyuda.Clear();
  ControlesNoVisibles = StringList();
  TablasRegistroAccesos.Clear();
  CacheTraducciones.Clear();
  CamposPlantillasNumericas = {};
  ListaControlesListado.clear();
  FuenteAplicacion.reset();
  ListaTrazas.Clear();
}

void TfGENEINIC::TimerAplicacionTimer() {
  bool minutos = false;
  const qint64 limite = TiempoForzarTerminacionAplicacion.toInt(&minutos);
  const qint64 limiteMs = (minutos ? limite : 0) * 60 * 1000;
  if (UltimaActividad.msecsTo(ClockSeam::Get().Now()) > limiteMs) {
    TimerAplicacion.SetEnabled(false);
    terminar();
  }
}

void RegistrarActividadRaton() { UltimaActividad = ClockSeam::Get().Now(); }

void RegistrarActividadTeclado() { UltimaActividad = ClockSeam::Get().Now(); }

void LoNuevoDeLaVersion(const QString&) {
  MensajeInformacion(QStringLiteral("Está opción estará disponible en próximas versiones."));
}
