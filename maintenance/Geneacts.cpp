#include "maintenance/Geneacts.h"

#include "core/datamodule/ImpresionTexto.h"
#include "core/forms/AparienciaFormulario.h"
#include "core/forms/TeclasFormulario.h"
#include "core/helpers/Fechas.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/EditorTexto.h"
#include "core/services/Red.h"
#include "core/services/SeleccionArchivoCarpeta.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "core/startup/TraduccionFormulario.h"
#include "core/system/Archivos.h"
#include "core/system/CursorEspera.h"
#include "core/tables/DefinicionesEstructura.h"
#include "maintenance/actualizacion/ListasActualizacion.h"
#include "maintenance/actualizacion/OpcionesActualizacion.h"
#include "maintenance/actualizacion/ProcesoActualizacion.h"
#include "platform/CaptionFit.h"
#include "platform/FormRegistry.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "ui_GENEACTS.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

TfGENEACTS* fGENEACTS = nullptr;

namespace {

const QString kCRLF = QStringLiteral("\r\n");
const QString kTituloMapeado = QStringLiteral("Titulo=Mapeado de campos de tablas");
const QString kSeccionCopia = QStringLiteral("Backup MS SQL Server");
const QString kSeccionActualizacion = QStringLiteral("Actualización de la Base de Datos");

// White while it can be typed into, the button face while not.
void habilitar(QWidget& control, bool habilitado) {
  control.setEnabled(habilitado);
  control.setStyleSheet(habilitado ? QString() : QStringLiteral("QLineEdit { background: palette(button); }"));
}

// A folder written the Windows way is the server's, on another machine.
bool carpetaDeOtraMaquina(const QString& carpeta) {
  static const QRegularExpression unidad(QStringLiteral("^[A-Za-z]:"));
  return carpeta.startsWith(QLatin1String("\\\\")) || unidad.match(carpeta).hasMatch();
}

// The path with its first `de` made `a` (the case as written).
QString cambiarNombre(QString ruta, const QString& de, const QString& a) {
  const qsizetype posicion = ruta.indexOf(de);
  return posicion < 0 ? ruta : ruta.replace(posicion, de.size(), a);
}

QStringList seleccionadas(const QListWidget& lista) {
  QStringList elegidas;
  for (int i = 0; i < lista.count(); ++i)
    if (lista.item(i)->isSelected()) elegidas.append(lista.item(i)->text());
  return elegidas;
}

void llenarLista(QListWidget& lista, const QStringList& entradas) {
  lista.clear();
  lista.addItems(entradas);
  lista.selectAll();
}

}  // namespace

TfGENEACTS::TfGENEACTS(QWidget* owner)
    : Form(owner),
      OpenDialog1(new QFileDialog(this)),
      ui_(std::make_unique<Ui::TfGENEACTS>()),
      ejecucion_([this](EjecucionActualizacion::Tipo tipo, const QString& linea) { mostrarLinea(tipo, linea); }) {
  ui_->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setFixedSize(516, 317);
  OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
  OpenDialog1->setWindowTitle(QStringLiteral("Examinar"));
  SetFilter(*OpenDialog1, QStringLiteral("Archivos de Texto (*.TXT,*.ESP)|*.TXT;*.ESP|Todos los Archivos (*.*)|*.*"));
  ejecucion_.Consulta().setParent(this);

  for (QPushButton* boton : {ui_->pbSiguiente1, ui_->pbSiguiente2, ui_->pbSiguiente3})
    connect(boton, &QPushButton::clicked, this, [this] { pbSiguienteClick(); });
  for (QPushButton* boton : {ui_->pbAnterior2, ui_->pbAnterior3, ui_->pbAnterior4})
    connect(boton, &QPushButton::clicked, this, [this] { pbAnteriorClick(); });
  for (QPushButton* boton : {ui_->pbCancelar1, ui_->pbCancelar2, ui_->pbCancelar3, ui_->pbCancelar4})
    connect(boton, &QPushButton::clicked, this, [this] { pbCancelarClick(); });
  const auto enlazar = [this](QAbstractButton* boton, void (TfGENEACTS::*manejador)()) {
    connect(boton, &QAbstractButton::clicked, this, [this, manejador] { (this->*manejador)(); });
  };
  connect(ui_->ComprobarEstadoTablas, &QCheckBox::toggled, ui_->ComprobacionCompleta, &QWidget::setEnabled);
  enlazar(ui_->pbSalir, &TfGENEACTS::pbSalirClick);
  enlazar(ui_->pbActualizar, &TfGENEACTS::pbActualizarClick);
  enlazar(ui_->pbImprimir, &TfGENEACTS::pbImprimirClick);
  enlazar(ui_->RealizarCopiaSeguridad, &TfGENEACTS::RealizarCopiaSeguridadClick);
  enlazar(ui_->EliminarCopiasAnteriores, &TfGENEACTS::RealizarCopiaSeguridadClick);
  enlazar(ui_->IncluirArchivoCfgEspecial, &TfGENEACTS::IncluirArchivoCfgEspecialClick);
  enlazar(ui_->IncluirArchivosCfgComplementarios, &TfGENEACTS::IncluirArchivosCfgComplementariosClick);
  enlazar(ui_->ActualizarLenguajeIntercalacion, &TfGENEACTS::ActualizarLenguajeIntercalacionClick);
  enlazar(ui_->pbExaminar1, &TfGENEACTS::pbExaminar1Click);
  enlazar(ui_->pbExaminarCfg, &TfGENEACTS::pbExaminarCfgClick);
  enlazar(ui_->pbExaminarEspecial, &TfGENEACTS::pbExaminarEspecialClick);
  enlazar(ui_->pbExaminarComplementarios, &TfGENEACTS::pbExaminarComplementariosClick);
  enlazar(ui_->pbMapeado, &TfGENEACTS::pbMapeadoClick);
  // While the update runs the form stays: closing would free it under its handler.
  OnCloseQuery = [this](Form&, bool& puedeCerrar) { puedeCerrar = !ejecutando_; };
  OnKeyDown = TeclasFormulario;
  OnKeyPress = PulsacionTecla;

  const QString rutaDatabase = RutaDatabaseTxt();
  ui_->NombreArchivoCfg->setText(rutaDatabase);
  ui_->NombresArchivosCfgComplementarios->setText(
      cambiarNombre(rutaDatabase, QStringLiteral("DATABASE.TXT"), QStringLiteral("DATABASE.VRT")));
  ui_->NombreArchivoCfgEspecial->setText(
      cambiarNombre(rutaDatabase, QStringLiteral("DATABASE.TXT"), QStringLiteral("DATABASE.ESP")));
  const IniFile ini(ArchivoINI);
  ui_->DirectorioCopiaSeguridad->setText(
      ini.ReadString(kSeccionCopia, QStringLiteral("UbicacionArchivosCopia"), CarpetaPrograma));
  ui_->ActualizarDesdeFecha->setText(ini.ReadString(kSeccionActualizacion, QStringLiteral("UltimaFechaActualizacion"), QString()));
  if (ui_->DirectorioCopiaSeguridad->text().isEmpty()) ui_->DirectorioCopiaSeguridad->setText(DirectorioTemporal());
  ui_->PageControl->setCurrentWidget(ui_->PagCopiaSeguridad);
  AplicarAspecto(*this);
  TraducirFormulario(this);
  fGENEACTS = this;
}

TfGENEACTS::~TfGENEACTS() {
  if (fGENEACTS == this) fGENEACTS = nullptr;
}

void TfGENEACTS::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  FitCaptions(*this);
}

void TfGENEACTS::mostrarLinea(EjecucionActualizacion::Tipo tipo, const QString& linea) {
  QPlainTextEdit& memo = tipo == EjecucionActualizacion::Tipo::Error ? *ui_->ListaErrores : *ui_->MemoProgreso;
  memo.appendPlainText(linea);
  ui_->PagFinalizacion->repaint();
}

void TfGENEACTS::AnotarLinea(const QString& tipo, const QString& texto) { ejecucion_.AnotarLinea(tipo, texto); }

QString TfGENEACTS::leerDefiniciones() const {
  return LeerDefinicionesEstructura(
      ui_->NombreArchivoCfg->text(),
      ui_->IncluirArchivoCfgEspecial->isChecked() ? ui_->NombreArchivoCfgEspecial->text() : QString(),
      ui_->IncluirArchivosCfgComplementarios->isChecked() ? ui_->NombresArchivosCfgComplementarios->text() : QString());
}

bool TfGENEACTS::ComprobarDatosActualizacion(QWidget* pagina) {
  const auto en = [pagina](std::initializer_list<QWidget*> paginas) {
    return std::find(paginas.begin(), paginas.end(), pagina) != paginas.end();
  };
  bool correcto = true;
  const auto fallo = [&correcto](const QString& texto) {
    MensajeAviso(texto);
    correcto = false;
  };
  const QString carpeta = ui_->DirectorioCopiaSeguridad->text();
  if (en({ui_->PagCopiaSeguridad, ui_->PagActualizacion}) && ui_->RealizarCopiaSeguridad->isChecked() &&
      !carpetaDeOtraMaquina(carpeta) && !QFileInfo(Paths::Internal(carpeta)).isDir())
    fallo(QStringLiteral("¡El directorio de Copia de Seguridad no existe!"));
  if (en({ui_->PagInstrucciones, ui_->PagActualizacion})) {
    definiciones_ = leerDefiniciones();
    if (definiciones_.isEmpty()) fallo(QStringLiteral("¡El archivo de script de la Base de Datos no está disponible!"));
    const QString desde = ui_->ActualizarDesdeFecha->text().trimmed();
    if (!desde.isEmpty() && TextoAFechaHora(desde) == 0) fallo(QStringLiteral("¡El valor de desde fecha es incorrecto!"));
  }
  if (en({ui_->PagSeleccion, ui_->PagActualizacion}) && ui_->ListaTablas->count() == 0) {
    QString respuesta;
    MensajeConfirmacion(QStringLiteral("La Lista de Tablas a actualizar está vacía. Solo se crearán las tablas no "
                                       "existentes. ") +
                            kCRLF + QStringLiteral("¿Está seguro de que desea continuar?"),
                        respuesta);
    if (respuesta == u"NO") correcto = false;
  }
  return correcto;
}

void TfGENEACTS::llenarListas() {
  const CursorEspera espera;
  definiciones_ = leerDefiniciones();
  const TDateTime desde = TextoAFechaHora(ui_->ActualizarDesdeFecha->text().trimmed());
  llenarLista(*ui_->ListaBasesDatos, LlenarListaBasesDatos());
  llenarLista(*ui_->ListaTablas, definiciones_.isEmpty() ? QStringList() : LlenarListaTablas(definiciones_, desde));
  mapeado_ = definiciones_.isEmpty() ? QString() : LlenarListaMapeado(definiciones_, desde);
}

void TfGENEACTS::pbSiguienteClick() {
  QWidget* pagina = ui_->PageControl->currentWidget();
  if (!ComprobarDatosActualizacion(pagina)) return;
  if (pagina == ui_->PagCopiaSeguridad) ui_->DirectorioCopiaSeguridad->setText(NombreUniversal(ui_->DirectorioCopiaSeguridad->text()));
  if (pagina == ui_->PagSeleccion) {
    mapeado_.replace(u':', u'=');
    if (MapeadoDeOtrasVersiones(mapeado_, seleccionadas(*ui_->ListaTablas))) {
      MensajeInformacion(QStringLiteral("La lista de campos mapeados contiene datos de otras versiones. A continuación, "
                                        "revise la lista y asegúrese de que es correcta."));
      mapeado_ = EditarTexto(kTituloMapeado, mapeado_);
    }
  }
  ui_->PageControl->setCurrentIndex(ui_->PageControl->currentIndex() + 1);
  if (pagina == ui_->PagInstrucciones) llenarListas();
}

void TfGENEACTS::pbAnteriorClick() { ui_->PageControl->setCurrentIndex(ui_->PageControl->currentIndex() - 1); }

void TfGENEACTS::pbCancelarClick() { close(); }

void TfGENEACTS::pbSalirClick() { close(); }

OpcionesActualizacion TfGENEACTS::opciones() const {
  OpcionesActualizacion opciones;
  opciones.realizarCopiaSeguridad = ui_->RealizarCopiaSeguridad->isChecked();
  opciones.directorioCopiaSeguridad = ui_->DirectorioCopiaSeguridad->text();
  opciones.eliminarCopiasAnteriores = ui_->EliminarCopiasAnteriores->isChecked();
  opciones.nombreArchivoCfg = ui_->NombreArchivoCfg->text();
  opciones.incluirArchivoCfgEspecial = ui_->IncluirArchivoCfgEspecial->isChecked();
  opciones.nombreArchivoCfgEspecial = ui_->NombreArchivoCfgEspecial->text();
  opciones.actualizarLenguajeIntercalacion = ui_->ActualizarLenguajeIntercalacion->isChecked();
  opciones.actualizarComandos = ui_->ActualizarComandos->isChecked();
  opciones.comprobarEstadoTablas = ui_->ComprobarEstadoTablas->isChecked();
  opciones.comprobacionCompleta = ui_->ComprobacionCompleta->isChecked();
  opciones.basesDatos = seleccionadas(*ui_->ListaBasesDatos);
  opciones.tablas = seleccionadas(*ui_->ListaTablas);
  opciones.definiciones = definiciones_;
  opciones.mapeado = mapeado_;
  return opciones;
}

namespace {

// For the whole run: the start button off, the idle exit held, the
// hourglass on; all of it back in every outcome.
class Ejecucion {
 public:
  Ejecucion(bool& ejecutando, QWidget& boton) : ejecutando_(ejecutando), boton_(boton) {
    ejecutando_ = true;
    boton_.setEnabled(false);
    if (fGENEINIC && fGENEINIC->TimerAplicacion.Enabled()) {
      temporizador_ = true;
      fGENEINIC->TimerAplicacion.SetEnabled(false);
    }
  }
  ~Ejecucion() {
    ejecutando_ = false;
    boton_.setEnabled(true);
    if (temporizador_ && fGENEINIC) fGENEINIC->TimerAplicacion.SetEnabled(true);
  }
  Ejecucion(const Ejecucion&) = delete;
  Ejecucion& operator=(const Ejecucion&) = delete;

 private:
  bool& ejecutando_;
  QWidget& boton_;
  bool temporizador_ = false;
  const CursorEspera espera_;
};

}  // namespace

void TfGENEACTS::pbActualizarClick() {
  if (ejecutando_ || !ComprobarDatosActualizacion(ui_->PagActualizacion)) return;
  ui_->PageControl->setCurrentWidget(ui_->PagFinalizacion);
  ui_->MemoProgreso->clear();
  ui_->ListaErrores->clear();
  const Ejecucion ejecucion(ejecutando_, *ui_->pbActualizar);
  RealizarActualizacion(ejecucion_, opciones());
}

void TfGENEACTS::pbImprimirClick() {
  if (!CommonDialogsSeam::Get().Execute(PrintDialog1)) return;
  QString texto = ui_->MemoProgreso->toPlainText();
  if (!ui_->ListaErrores->toPlainText().isEmpty()) texto += kCRLF + kCRLF + ui_->ListaErrores->toPlainText();
  ImprimirTexto(texto, kSeccionActualizacion, PrintDialog1.Choice);
}

void TfGENEACTS::RealizarCopiaSeguridadClick() {
  const bool copia = ui_->RealizarCopiaSeguridad->isChecked();
  habilitar(*ui_->DirectorioCopiaSeguridad, copia);
  ui_->EliminarCopiasAnteriores->setEnabled(copia);
  ui_->pbExaminar1->setEnabled(copia);
}

void TfGENEACTS::IncluirArchivoCfgEspecialClick() {
  const bool incluido = ui_->IncluirArchivoCfgEspecial->isChecked();
  habilitar(*ui_->NombreArchivoCfgEspecial, incluido);
  ui_->pbExaminarEspecial->setEnabled(incluido);
}

void TfGENEACTS::IncluirArchivosCfgComplementariosClick() {
  const bool incluidos = ui_->IncluirArchivosCfgComplementarios->isChecked();
  habilitar(*ui_->NombresArchivosCfgComplementarios, incluidos);
  ui_->pbExaminarComplementarios->setEnabled(incluidos);
}

void TfGENEACTS::ActualizarLenguajeIntercalacionClick() {
  const bool intercalacion = ui_->ActualizarLenguajeIntercalacion->isChecked();
  habilitar(*ui_->ActualizarDesdeFecha, !intercalacion);
  if (intercalacion) ui_->ActualizarDesdeFecha->clear();
}

void TfGENEACTS::pbExaminar1Click() {
  QString carpeta = ui_->DirectorioCopiaSeguridad->text();
  if (SeleccionarArchivoCarpeta(QStringLiteral("Seleccione la carpeta destino para la Copia de Seguridad"), carpeta,
                                QStringLiteral("Carpetas")))
    ui_->DirectorioCopiaSeguridad->setText(carpeta);
}

void TfGENEACTS::examinarArchivo(QLineEdit& edit, bool anadir) {
  const QString actual = anadir ? edit.text().section(u',', 0, 0) : edit.text();
  SetFileName(*OpenDialog1, actual);
  if (!CommonDialogsSeam::Get().Execute(*OpenDialog1)) return;
  const QString elegido = FileName(*OpenDialog1);
  edit.setText(anadir && !edit.text().isEmpty() ? edit.text() + u',' + elegido : elegido);
}

void TfGENEACTS::pbExaminarCfgClick() { examinarArchivo(*ui_->NombreArchivoCfg, false); }

void TfGENEACTS::pbExaminarEspecialClick() { examinarArchivo(*ui_->NombreArchivoCfgEspecial, false); }

void TfGENEACTS::pbExaminarComplementariosClick() { examinarArchivo(*ui_->NombresArchivosCfgComplementarios, true); }

void TfGENEACTS::pbMapeadoClick() { mapeado_ = EditarTexto(kTituloMapeado, mapeado_); }

void RegistrarGENEACTS() {
  FormRegistry::Register(QStringLiteral("TfGENEACTS"), [](QWidget* owner) { return new TfGENEACTS(owner); });
}
