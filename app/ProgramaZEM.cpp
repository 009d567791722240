#include "app/ProgramaZEM.h"

#include "core/datamodule/CicloModuloDatos.h"
#include "core/datamodule/Genemodu.h"
#include "core/forms/GanchosFormulario.h"
#include "core/messages/Genemens.h"
#include "core/services/DocumentacionElectronica.h"
#include "core/services/RutinasBusqueda.h"
#include "core/services/VisorCamposUsuario.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "core/startup/Genepant.h"
#include "dialogs/Genebusa.h"
#include "dialogs/Genebusc.h"
#include "dialogs/Genebusq.h"
#include "dialogs/Genecalc.h"
#include "dialogs/Genedeta.h"
#include "dialogs/Genedoce.h"
#include "dialogs/Genefilt.h"
#include "dialogs/Genemlis.h"
#include "dialogs/Geneopen.h"
#include "dialogs/Generesp.h"
#include "dialogs/Generini.h"
#include "dialogs/Genesele.h"
#include "dialogs/Genetext.h"
#include "dialogs/Genevlis.h"
#include "dialogs/Genevmem.h"
#include "maintenance/Geneacts.h"
#include "maintenance/Geneactu.h"
#include "maintenance/Genecchr.h"
#include "maintenance/Genecina.h"
#include "maintenance/Genecopi.h"
#include "maintenance/Geneinap.h"
#include "maintenance/Genebsql.h"
#include "maintenance/Genediag.h"
#include "maintenance/Genetest.h"
#include "platform/Application.h"
#include "platform/FormRegistry.h"
#include "platform/MessagePresenter.h"
#include "platform/TraduccionesQt.h"
#include "printing/Genecpro.h"
#include "printing/Geneimpr.h"
#include "shell/Genemenu.h"
#include "platform/VisorWeb.h"

#include <QCoreApplication>

#include <algorithm>
#include <QLabel>

namespace {

// Paints the splash before the next step of a start-up that keeps the loop busy.
void mostrarYa(QWidget& pantalla) {
  pantalla.repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

ProgramaZEM::ProgramaZEM(Application& application, QStringList parametros)
    : application_(application), parametros_(std::move(parametros)) {}

ProgramaZEM::~ProgramaZEM() {
  if (presentadorInstalado_) MessagePresenterSeam::Install(nullptr);
  InstalarRutinasBusqueda({});
  InstalarVisorDetalle({});
  Ganchos().MostrarDetalle = nullptr;
  RegistrarGENEDOCE();  // no longer through this program's start-up window
  Ganchos().CopiarRegistrosAOtrasEmpresas = nullptr;
  Ganchos().CopiarRegistrosAOtrasEmpresasConDetalle = nullptr;
  // The data module was the last to be made.
  LiberarModuloDatos();
  while (!formularios_.empty()) formularios_.pop_back();
  LiberarPantallaPresentacion();
}

template <class T, class... Argumentos>
T* ProgramaZEM::Crear(T*& global, Argumentos&&... argumentos) {
  auto formulario = std::make_unique<T>(std::forward<Argumentos>(argumentos)...);
  global = formulario.get();
  formularios_.push_back(std::move(formulario));
  return global;
}

void ProgramaZEM::Iniciar() {
  CargarTraduccionesQt();
  // Forms that lower layers create by class name.
  RegistrarGENEOPEN();
  RegistrarGENEDIAG();
  RegistrarGENEBSQL();
  RegistrarGENETEST();
  InstalarRutinasBusqueda(Genebusc::Rutinas());
  InstalarVisorDetalle([](QWidget& panel, const QString& direccion) {
    const QString nombre = QStringLiteral("WebBrowserDetalle");
    QWidget* vista = panel.findChild<QWidget*>(nombre, Qt::FindDirectChildrenOnly);
    if (!vista) {
      vista = VisorWebSeam::Get().CrearSinScripts(panel);
      vista->setObjectName(nombre);
    }
    VisorWebSeam::Get().Navegar(*vista, direccion);
  });
  Ganchos().MostrarDetalle = &MostrarDetalle;
  Ganchos().BuscarRegistro = [](Dataset& dataset) { BuscarRegistro(dataset, 0); };
  Ganchos().FiltrarTabla = &FiltrarTabla;
  Ganchos().CopiarRegistrosAOtrasEmpresas = [](Dataset& dataset) { CopiarRegistrosAOtrasEmpresas(dataset); };
  Ganchos().CopiarRegistrosAOtrasEmpresasConDetalle = [](Dataset& dataset, Dataset& detalle) {
    CopiarRegistrosAOtrasEmpresasConDetalle(dataset, detalle);
  };
  Ganchos().VisorCamposUsuario = [](Dataset& dataset) {
    if (fGENEINIC) VisorCamposUsuario(*fGENEINIC, dataset);
  };
  RegistrarGENEMLIS();
  RegistrarGENESELE();
  RegistrarGENETEXT();
  RegistrarGENECPRO();
  RegistrarGENERESP();
  RegistrarGENEIMPR();
  RegistrarGENERINI();
  RegistrarGENEVLIS();
  RegistrarGENECALC();
  RegistrarGENEACTS();
  RegistrarGENEINAP();
  RegistrarGENECINA();
  RegistrarGENECCHR();
  RegistrarGENEACTU();

  TfGENEPANT* pantalla = CrearPantallaPresentacion();
  pantalla->show();
  mostrarYa(*pantalla);
  application_.SetTitle(QLatin1String(kTitulo));
  application_.SetHelpFile(QLatin1String(kArchivoAyuda));

  Crear(fGENEMENU);
  Crear(fGENEMENS);
  // A presenter already in place (a test's) keeps the messages.
  if (&MessagePresenterSeam::Get() == &MessagePresenter::Default()) {
    MessagePresenterSeam::Install(fGENEMENS);
    presentadorInstalado_ = true;
  }
  Crear(fGENEDETA);
  Crear(fGENEINIC, parametros_);

  if (fGENEPANT) {
    fGENEPANT->Version()->setText(QString::fromUtf8(kVersion));
    mostrarYa(*fGENEPANT);
  }

  Crear(fGENEVMEM);
  Crear(fGENECOPI);
  Crear(fGENEFILT);
  Crear(fGENEDOCE);
  FormRegistry::Register(QLatin1String(kFormularioDocumentacionElectronica), [this](QWidget* owner) -> QWidget* {
    // The window made at start-up is the first one shown; the MDI area owns it from then on.
    if (fGENEDOCE && !fGENEDOCE->parentWidget()) {
      soltar(fGENEDOCE);
      return fGENEDOCE;
    }
    return new TfGENEDOCE(owner);
  });
  Crear(fGENECPRO);
  if (BusquedaAproximadaActivada)
    Crear(fGENEBUSA);
  else
    Crear(fGENEBUSQ);
  CrearModuloDatos();
}

int ProgramaZEM::Ejecutar() {
  if (application_.Terminated()) return 0;
  fGENEMENU->show();
  return application_.Run();
}

void ProgramaZEM::soltar(const QObject* formulario) {
  const auto propio = std::find_if(formularios_.begin(), formularios_.end(),
                                   [formulario](const auto& creado) { return creado.get() == formulario; });
  if (propio != formularios_.end()) {
    static_cast<void>(propio->release());
    formularios_.erase(propio);
  }
}

QStringList ProgramaZEM::FormulariosCreados() const {
  QStringList nombres;
  for (const auto& formulario : formularios_) nombres.append(formulario->objectName());
  if (ModuloDatos) nombres.append(ModuloDatos->objectName());
  return nombres;
}
