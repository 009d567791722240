#include "shell/Genemenu.h"

#include "core/services/FormularioRegistrado.h"

#include "core/datamodule/IdentificacionUsuario.h"
#include "core/datamodule/Traduccion.h"
#include "core/forms/ControlesNoVisibles.h"
#include "core/forms/GanchosFormulario.h"
#include "core/forms/TablasFormulario.h"
#include "core/helpers/Letras.h"
#include "core/helpers/Listas.h"
#include "core/services/Ayuda.h"
#include "core/services/SeleccionArchivoCarpeta.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "core/startup/Genepant.h"
#include "core/system/Procesos.h"
#include "platform/Application.h"
#include "platform/FormRegistry.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "shell/DescargaVersion.h"
#include "shell/Geneacer.h"
#include "shell/IconosModulos.h"
#include "shell/ImagenesProducto.h"
#include "shell/LanzamientoModulos.h"
#include "shell/MenuPrincipal.h"
#include "shell/RejillaIconos.h"
#include "shell/ZipMstr.h"
#include "ui_GENEMENU.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolButton>

TfGENEMENU* fGENEMENU = nullptr;

namespace {

void abrirAplicacionEspecial(Table& configuracion, const QObject& sender) {
  bool numero = false;
  const int n = sender.objectName().remove(QStringLiteral("AplicacionEspecial")).toInt(&numero);
  if (!numero || n < 1 || n > 5) return;
  configuracion.Open();
  QString texto;
  try {
    texto = configuracion.FieldByName(QStringLiteral("EjecutableApEspecial") + QString::number(n)).AsString();
  } catch (...) {
    configuracion.Close();
    throw;
  }
  configuracion.Close();
  LanzarModulo(LineaComandosAplicacionEspecial(n, texto));
}

}  // namespace

TfGENEMENU::TfGENEMENU(QWidget* parent)
    : QMainWindow(parent), ArchivoZip(new TZipMaster(this)), ui_(std::make_unique<Ui::TfGENEMENU>()) {
  ArchivoZip->setObjectName(QStringLiteral("ArchivoZip"));
  ui_->setupUi(this);
  setCentralWidget(ui_->AreaMDI);
  AspectoPorDefecto = QStringLiteral("evo+");
  setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

  configuracion_ = new Table(this);
  configuracion_->setObjectName(QStringLiteral("Configuracion"));
  configuracion_->SetTableName(QStringLiteral("CONFAPLI"));
  empresa_ = new Table(this);
  empresa_->setObjectName(QStringLiteral("Empresa"));
  empresa_->SetTableName(QStringLiteral("EMPRESA"));

  // Made before the icon panel, so it lies beneath it.
  image1_ = new QLabel(ui_->AreaMDI->viewport());
  image1_->setObjectName(QStringLiteral("Image1"));
  image1_->setAlignment(Qt::AlignCenter);
  image1_->setPixmap(EmblemaProducto(256));
  panel1_ = new QWidget(ui_->AreaMDI->viewport());
  panel1_->setObjectName(QStringLiteral("Panel1"));
  panel1_->setAutoFillBackground(true);
  mainMenu1_ = new QMenuBar(this);
  mainMenu1_->setObjectName(QStringLiteral("MainMenu1"));
  ConstruirMenuPrincipal(*this, *mainMenu1_);
  setMenuBar(mainMenu1_);
  auto* popup = new QMenu(this);
  popup->setObjectName(QStringLiteral("PopupMenu1"));
  verMenu1_ = popup->addAction(QStringLiteral("&Ver Menú"));
  verMenu1_->setObjectName(QStringLiteral("VerMenu1"));
  verMenu1_->setCheckable(true);
  verMenu1_->setChecked(true);
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, popup, [this, popup](QPoint punto) { popup->popup(mapToGlobal(punto)); });
  connect(verMenu1_, &QAction::triggered, this, [this] { VerMenu1Click(); });
  conectarMenu();

  connect(qApp, &QApplication::focusChanged, this, [this] {
    try {
      if (QMdiSubWindow* hija = AreaMDI()->activeSubWindow()) hija->update();
    } catch (...) {
    }
  });

  accion("LoNuevodelaVersion")->setText(QStringLiteral("Lo Nuevo de la Versión 2024b"));
  if (EsEjecutable(QStringLiteral("MASPWIN"))) ModoSoloConfiguracion();
  if (const QScreen* pantalla = screen()) move(pantalla->availableGeometry().center() - rect().center());
}

TfGENEMENU::~TfGENEMENU() {
  menuFuera_.reset();
  // The children's destruction moves the focus, and this window is half gone by then.
  disconnect(qApp, nullptr, this, nullptr);
  if (fGENEMENU == this) fGENEMENU = nullptr;
  if (Ganchos().VentanaPrincipal && Ganchos().VentanaPrincipal() == this) Ganchos().VentanaPrincipal = nullptr;
}

void TfGENEMENU::ModoSoloConfiguracion() {
  accion("Aplicaciones1")->setVisible(false);
  panel1_->setVisible(false);
  setWindowState(windowState() | Qt::WindowMaximized);
  setWindowTitle(QStringLiteral("Configuración de Mirdal ERP"));
}

QMdiArea* TfGENEMENU::AreaMDI() const { return ui_->AreaMDI; }

QAction* TfGENEMENU::accion(const char* nombre) const { return findChild<QAction*>(QString::fromLatin1(nombre)); }

void TfGENEMENU::conectarMenu() {
  const auto alPulsar = [this](const char* nombre, auto manejador) {
    connect(accion(nombre), &QAction::triggered, this, manejador);
  };
  for (const EntradaLanzamiento& entrada : EntradasLanzamiento) {
    const QString ejecutable = QString::fromLatin1(entrada.ejecutable);
    alPulsar(entrada.nombre, [ejecutable] { LanzarModulo(LineaComandosModulo(ejecutable)); });
  }
  for (int n = 1; n <= 5; ++n) {
    QAction* especial = findChild<QAction*>(QStringLiteral("AplicacionEspecial") + QString::number(n));
    connect(especial, &QAction::triggered, this, [this, especial] { abrirAplicacionEspecial(*configuracion_, *especial); });
  }
  alPulsar("Salir1", [this] { close(); });
  using Manejador = void (TfGENEMENU::*)();
  for (const auto& [nombre, manejador] : std::initializer_list<std::pair<const char*, Manejador>>{
           {"Empresas1", &TfGENEMENU::Empresas1Click},
           {"CamposdeUsuarioPersonalizados", &TfGENEMENU::CamposdeUsuarioPersonalizadosClick},
           {"ConfiguracindelSistema1", &TfGENEMENU::ConfiguracindelSistema1Click},
           {"ConfiguraciondeAplicaciones1", &TfGENEMENU::ConfiguraciondeAplicaciones1Click},
           {"ConfiguracionDeUsuarios", &TfGENEMENU::ConfiguracionDeUsuariosClick},
           {"ConfiguracindeImpresos1", &TfGENEMENU::ConfiguracindeImpresos1Click},
           {"ConfiguracindeResponsabilidadDocumental1", &TfGENEMENU::ConfiguracindeResponsabilidadDocumental1Click},
           {"ConfiguracionDeInternacionalizacion", &TfGENEMENU::ConfiguracionDeInternacionalizacionClick},
           {"ActualizacionBaseDatos", &TfGENEMENU::ActualizacionBaseDatosClick},
           {"TraspasoDatosParadoxInterbase", &TfGENEMENU::TraspasoDatosParadoxInterbaseClick},
           {"ConversorJuegosCaracteres", &TfGENEMENU::ConversorJuegosCaracteresClick},
           {"GestionCopiasSeguridadSQLServer", &TfGENEMENU::GestionCopiasSeguridadSQLServerClick},
           {"CopiadeSeguridadInstantneadeunaEmpresa1", &TfGENEMENU::CopiadeSeguridadInstantneadeunaEmpresa1Click},
           {"Restaurarcopiadeseguridaddeunaempresa1", &TfGENEMENU::Restaurarcopiadeseguridaddeunaempresa1Click},
           {"VerlaUbicacindelosArchivosdeCopia", &TfGENEMENU::VerlaUbicacindelosArchivosdeCopiaClick},
           {"IntroduccindeIncidenciasdelaAplicacin1", &TfGENEMENU::IntroduccindeIncidenciasdelaAplicacin1Click},
           {"ConsultadeIncidenciasdelaAplicacin1", &TfGENEMENU::ConsultadeIncidenciasdelaAplicacin1Click},
           {"RegistrarunaLibreradeEnlaceDinmicoDLL1", &TfGENEMENU::RegistrarunaLibreradeEnlaceDinmicoDLL1Click},
           {"DesregistrarunaLibreradeEnlaceDinmicoDLL1", &TfGENEMENU::DesregistrarunaLibreradeEnlaceDinmicoDLL1Click},
           {"RegistrarlasLibreriasZEMPDFCreator1", &TfGENEMENU::RegistrarlasLibreriasZEMPDFCreator1Click},
           {"TestdeRendimiento1", &TfGENEMENU::TestdeRendimiento1Click},
           {"InformacionConflictosBloqueo", &TfGENEMENU::InformacionConflictosBloqueoClick},
           {"ListadeUsuariosdelBDE1", &TfGENEMENU::ListadeUsuariosdelBDE1Click},
           {"DescargadelaUltimaVersindeMirdalERP1", &TfGENEMENU::DescargadelaUltimaVersindeMirdalERP1Click},
           {"LoNuevodelaVersion", &TfGENEMENU::LoNuevodelaVersionClick},
           {"AcercadelGestordeAplicaciones1", &TfGENEMENU::AcercadelGestordeAplicaciones1Click}})
    alPulsar(nombre, [this, manejador] { (this->*manejador)(); });
  alPulsar("AyudadelGestordeAplicaciones1", [this] {
    MostrarAyuda(ValorStrings(windowTitle(), MapaAyuda).toInt());
  });
  for (const char* menu : {"BaseDatos1", "Configuracin1", "Utilidades1", "Ayuda1"})
    connect(findChild<QMenu*>(QLatin1String(menu)), &QMenu::aboutToShow, this, [this] { ActivarEntradas(); });
  QMenu* ventana1 = findChild<QMenu*>(QStringLiteral("Ventana1"));
  connect(ventana1, &QMenu::aboutToShow, this, [this, ventana1] {
    ventana1->clear();
    for (QMdiSubWindow* hija : AreaMDI()->subWindowList()) {
      QAction* entrada = ventana1->addAction(hija->windowTitle(), hija, [this, hija] { AreaMDI()->setActiveSubWindow(hija); });
      entrada->setCheckable(true);
      entrada->setChecked(hija == AreaMDI()->activeSubWindow());
    }
  });
}

// The entries whose command opens a form of another folder, or its chooser,
// can run only where the program registered it.
void TfGENEMENU::ActivarEntradas() {
  const char* const selector = kFormularioSeleccionArchivoCarpeta;
  for (const auto& [nombre, clase] : std::initializer_list<std::pair<const char*, const char*>>{
           {"ConfiguracindeImpresos1", "TfGENEIMPR"},
           {"ActualizacionBaseDatos", "TfGENEACTS"},
           {"TraspasoDatosParadoxInterbase", "TfGENEACTU"},
           {"ConversorJuegosCaracteres", "TfGENECCHR"},
           {"GestionCopiasSeguridadSQLServer", kFormularioCopiasSQLServer},
           {"CopiadeSeguridadInstantneadeunaEmpresa1", selector},
           {"Restaurarcopiadeseguridaddeunaempresa1", selector},
           {"VerlaUbicacindelosArchivosdeCopia", selector},
           {"IntroduccindeIncidenciasdelaAplicacin1", "TfGENEINAP"},
           {"ConsultadeIncidenciasdelaAplicacin1", "TfGENECINA"},
           {"TestdeRendimiento1", kFormularioTestRendimiento}})
    accion(nombre)->setEnabled(FormRegistry::IsRegistered(QLatin1String(clase)));
}

void TfGENEMENU::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (mostrado_) return;
  mostrado_ = true;
  FormShow();
  // A window closed from inside its own showing would be shown again.
  if (cerrarTrasMostrar_) {
    close();
    if (Application* application = Application::Instance()) application->Terminate();
  }
}

void TfGENEMENU::FormShow() {
  Ganchos().VentanaPrincipal = [this]() -> QWidget* { return this; };
  AbrirTablasFormulario(*this);
  creando_ = false;
  empresa_->Close();
  configuracion_->Close();
  if (!IdentificarUsuario(CodigoUsuarioActual)) {
    cerrarTrasMostrar_ = true;
    LiberarPantallaPresentacion();
    return;
  }
  ActivarEntradas();
  ConstruirMenuAplicaciones();
  LiberarPantallaPresentacion();
  FormResize();
}

void TfGENEMENU::ConstruirMenuAplicaciones() {
  configuracion_->Close();  // read afresh what the configuration may just have changed
  configuracion_->Open();
  std::array<QString, 6> nombres;
  try {
    for (int n = 1; n <= 5; ++n)
      nombres[n] = configuracion_->FieldByName(QStringLiteral("NombreApEspecial") + QString::number(n)).AsString();
  } catch (...) {
    configuracion_->Close();
    throw;
  }
  configuracion_->Close();
  bool alguna = false;
  for (int n = 1; n <= 5; ++n) {
    QAction* especial = findChild<QAction*>(QStringLiteral("AplicacionEspecial") + QString::number(n));
    especial->setText(nombres[n]);
    if (!nombres[n].isEmpty()) especial->setVisible(true);
    alguna = alguna || especial->isVisible();
  }
  if (alguna) accion("SeparadorAplicaciones")->setVisible(true);

  const QList<QAction*> acciones = findChildren<QAction*>();
  for (int n = 1; n <= 30; ++n) {
    QToolButton*& boton = imagenes_[n];
    if (!boton) {
      boton = new QToolButton(panel1_);
      boton->setObjectName(QStringLiteral("Imagen") + QString::number(n));
      boton->setAutoRaise(true);
      boton->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
      boton->setIconSize(QSize(64, 64));
      boton->setFont(QFont(QStringLiteral("Tahoma"), 8));
      connect(boton, &QToolButton::clicked, this, [this, boton] { ImagenesClick(boton); });
      boton->setVisible(true);
    }
    boton->setIcon(ImagenModulo(n));
    QString titulo;
    for (QAction* item : acciones) {
      if (item->property("Tag").toInt() != n) continue;
      titulo = AbreviarNombre(item->text().remove(u'&'), 1);
      if (!item->isEnabled()) boton->setIcon(ImagenModulo(0));
    }
    boton->setText(titulo);
    if (titulo.isEmpty()) boton->setIcon(QIcon());
  }
  FormResize();
}

void TfGENEMENU::ImagenesClick(QObject* sender) {
  const int n = sender->objectName().mid(6, 2).toInt();
  for (QAction* item : findChildren<QAction*>())
    if (item->property("Tag").toInt() == n && n > 0 && item->isEnabled()) item->trigger();
}

void TfGENEMENU::VerMenu1Click() {
  if (verMenu1_->isChecked()) {
    if (menuWidget() != mainMenu1_) setMenuBar(menuFuera_.release());
    mainMenu1_->show();
    return;
  }
  // Taken off the window, the bar's accelerators and shortcuts go with it;
  // the window keeps it for the pop-up menu to put back.
  if (menuWidget() != mainMenu1_) return;
  mainMenu1_->hide();
  mainMenu1_->setParent(nullptr);
  menuFuera_.reset(mainMenu1_);
}

void TfGENEMENU::AcercadelGestordeAplicaciones1Click() {
  TfGENEACER acerca(this);
  acerca.SetCaption(Traducir(QStringLiteral("Acerca de")) + u' ' + windowTitle());
  acerca.NombreProducto()->setText(windowTitle());
  acerca.ShowModal();
}

void TfGENEMENU::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void TfGENEMENU::FormResize() {
  if (creando_) return;
  const QSize cliente = ui_->AreaMDI->viewport()->size();
  image1_->setGeometry(QRect(QPoint(0, 0), cliente));
  panel1_->setGeometry(QRect(QPoint(0, 0), cliente));
  for (int n = 1; n <= 30; ++n) {
    if (!imagenes_[n]) continue;
    const PosicionIcono posicion = PosicionDeIcono(n, cliente, frameGeometry().width());
    imagenes_[n]->setGeometry(posicion.rect);
    QFont fuente = imagenes_[n]->font();
    fuente.setPointSize(posicion.tamanoFuente);
    imagenes_[n]->setFont(fuente);
  }
  update();
}

void TfGENEMENU::closeEvent(QCloseEvent* event) {
  ListaControlesNoVisibles();
  QMainWindow::closeEvent(event);
}

void TfGENEMENU::DescargadelaUltimaVersindeMirdalERP1Click() { DescargarUltimaVersion(*ArchivoZip); }

void TfGENEMENU::LoNuevodelaVersionClick() { LoNuevoDeLaVersion(QStringLiteral("Titulo=la Versión 2024b")); }
