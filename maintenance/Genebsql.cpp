#include "maintenance/Genebsql.h"

#include "core/connections/Conexiones.h"
#include "core/connections/NombresBaseDatos.h"
#include "core/forms/AparienciaFormulario.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/Validacion.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/FormularioRegistrado.h"
#include "core/sql/MensajesSQL.h"
#include "core/services/Ayuda.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "core/startup/TraduccionFormulario.h"
#include "core/system/Archivos.h"
#include "core/system/CursorEspera.h"
#include "core/system/Equipo.h"
#include "maintenance/TareasCopiaSeguridad.h"
#include "platform/Exceptions.h"
#include "platform/FormRegistry.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/ProcessLauncher.h"
#include "platform/TextFile.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "ui_GENEBSQL.h"

#include <QHostInfo>
#include <QKeyEvent>
#include <QMenu>

TfGENEBSQL* fGENEBSQL = nullptr;

namespace {

const QString kPuntoMedio = QStringLiteral("·");
const QString kNoCreada = QStringLiteral("¡No ha sido posible crear la tarea de copia de seguridad!. Motivo: ");
const QString kErrorTarea = QStringLiteral("¡Error creando la tarea programada!");

// The button disabled and the hourglass on for as long as the work lasts.
class Ocupado {
 public:
  explicit Ocupado(QWidget& boton) : boton_(boton) { boton_.setEnabled(false); }
  ~Ocupado() { boton_.setEnabled(true); }
  Ocupado(const Ocupado&) = delete;
  Ocupado& operator=(const Ocupado&) = delete;

 private:
  QWidget& boton_;
  CursorEspera cursor_;
};

// The connections of the start-up services, connected again afterwards
// where they were.
class Desconectadas {
 public:
  explicit Desconectadas(const QList<Database*>& bases) {
    for (Database* base : bases)
      if (base->Connected()) {
        base->Close();
        conectadas_.append(base);
      }
  }
  ~Desconectadas() {
    for (Database* base : conectadas_) {
      try {
        base->Open();
      } catch (const std::exception&) {
        // The next use of the database tells it.
      }
    }
  }
  Desconectadas(const Desconectadas&) = delete;
  Desconectadas& operator=(const Desconectadas&) = delete;

 private:
  QList<Database*> conectadas_;
};

}  // namespace

TfGENEBSQL::TfGENEBSQL(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENEBSQL>()) {
  ui_->setupUi(this);
  setWindowFlag(Qt::WindowStaysOnTopHint);
  if (fGENEINIC) conexion_ = CadenaConexionADO(*fGENEINIC, QStringLiteral("msdb"), QString());
  auto* menu = new QMenu(this);
  menu->setObjectName(QStringLiteral("PopupMenu1"));
  QAction* todas = menu->addAction(QStringLiteral("Agregar todas las Bases de Datos"));
  todas->setObjectName(QStringLiteral("AgregartodaslasBasesdeDatos1"));
  connect(todas, &QAction::triggered, this, &TfGENEBSQL::AgregartodaslasBasesdeDatos1Click);
  connect(ui_->edBasesDatos, &QWidget::customContextMenuRequested, this,
          [this, menu](QPoint punto) { menu->popup(ui_->edBasesDatos->mapToGlobal(punto)); });
  for (QRadioButton* gestor : {ui_->AgenteSQLServer, ui_->TareaProgramadaWindows})
    connect(gestor, &QRadioButton::clicked, this, &TfGENEBSQL::GestorTareaCopiaClick);
  connect(ui_->pbCrearCopiaSeguridad, &QPushButton::clicked, this, &TfGENEBSQL::pbCrearCopiaSeguridadClick);
  connect(ui_->PageControl1, &QTabWidget::currentChanged, this, &TfGENEBSQL::PageControl1Change);
  connect(ui_->edBasesDatosRestaurar, &QListWidget::itemClicked, this, &TfGENEBSQL::edBasesDatosRestaurarClick);
  connect(ui_->pbRestaurarCopiaSeguridad, &QPushButton::clicked, this, &TfGENEBSQL::pbRestaurarCopiaSeguridadClick);
  connect(ui_->pbSalir, &QPushButton::clicked, this, [this] { close(); });
  connect(ui_->pbAyuda, &QPushButton::clicked, this, [this] { MostrarAyuda(ContextoAyuda(Caption())); });
  LeerConfiguracionCopias();
  ui_->PageControl1->setCurrentWidget(ui_->PagCopiaSeguridad);
  GestorTareaCopiaClick();
  AplicarAspecto(*this);
  TraducirFormulario(this);
  fGENEBSQL = this;
}

TfGENEBSQL::~TfGENEBSQL() {
  if (fGENEBSQL == this) fGENEBSQL = nullptr;
}

void TfGENEBSQL::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  TraducirFormulario(this);
}

void TfGENEBSQL::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_F1) return Form::keyPressEvent(event);
  MostrarAyuda(ContextoAyuda(Caption()));
}

QStringList TfGENEBSQL::basesDatos() const {
  return ui_->edBasesDatos->toPlainText().split(u'\n', Qt::SkipEmptyParts);
}

QString TfGENEBSQL::carpetaCopias() const { return ui_->edUbicacionArchivosCopia->text().trimmed(); }

void TfGENEBSQL::LeerConfiguracionCopias() {
  const IniFile ini(ArchivoINI);
  const QString seccion = QLatin1String(kSeccion);
  QString carpeta = CarpetaPrograma;
  if (carpeta.endsWith(u'/')) carpeta.chop(1);
  ui_->edBasesDatos->setPlainText(
      ini.ReadString(seccion, QStringLiteral("BasesDatos"), AliasBaseDatosGeneral).replace(kPuntoMedio, QStringLiteral("\n")));
  ui_->edHoraInicio->setText(ini.ReadString(seccion, QStringLiteral("HoraInicio"), QStringLiteral("01:00:00")));
  ui_->edUbicacionArchivosCopia->setText(ini.ReadString(seccion, QStringLiteral("UbicacionArchivosCopia"), carpeta));
  const bool tarea = ini.ReadString(seccion, QStringLiteral("GestorTareaCopia"), QStringLiteral("AgenteSQLServer")) ==
                     u"TareaProgramadaWindows";
  (tarea ? ui_->TareaProgramadaWindows : ui_->AgenteSQLServer)->setChecked(true);
  ui_->edBasesDatosRestaurar->clear();
  ui_->edBasesDatosRestaurar->addItems(basesDatos());
}

void TfGENEBSQL::GrabarConfiguracionCopias() {
  IniFile ini(ArchivoINI);
  const QString seccion = QLatin1String(kSeccion);
  ini.WriteString(seccion, QStringLiteral("BasesDatos"), basesDatos().join(kPuntoMedio));
  ini.WriteString(seccion, QStringLiteral("HoraInicio"), ui_->edHoraInicio->text());
  ini.WriteString(seccion, QStringLiteral("UbicacionArchivosCopia"), carpetaCopias());
  ini.WriteString(seccion, QStringLiteral("GestorTareaCopia"),
                  ui_->TareaProgramadaWindows->isChecked() ? QStringLiteral("TareaProgramadaWindows")
                                                           : QStringLiteral("AgenteSQLServer"));
}

void TfGENEBSQL::GestorTareaCopiaClick() {
  const bool tarea = ui_->TareaProgramadaWindows->isChecked();
  if (tarea) ui_->edUsuarioWindows->setText(DominioServidor() + u'\\' + UsuarioWindows());
  for (QWidget* control : std::initializer_list<QWidget*>{ui_->lbUsuarioWindows, ui_->edUsuarioWindows,
                                                          ui_->lbPasswordWindows, ui_->edPasswordWindows})
    control->setVisible(tarea);
}

void TfGENEBSQL::pbCrearCopiaSeguridadClick() {
  ui_->AgenteSQLServer->isChecked() ? CrearTareaAgenteSQL() : CrearTareaProgramadaWindows();
}

bool TfGENEBSQL::ValidarDatosCopia() {
  bool valido = ValidarHora(ui_->edHoraInicio->text(), QStringLiteral("Hora de Inicio de la copia"));
  if (ui_->TareaProgramadaWindows->isChecked() &&
      (ui_->edUsuarioWindows->text().isEmpty() || ui_->edPasswordWindows->text().isEmpty())) {
    QString respuesta;
    MensajeConfirmacion(QStringLiteral("Su Código de Usuario o Clave de Acceso de Windows están en blanco. ¿Desea "
                                       "continuar en cualquier caso?"),
                        respuesta);
    if (respuesta == u"NO") valido = false;
  }
  return valido;
}

void TfGENEBSQL::ejecutar(const QString& sentencia) {
  Query consulta;
  consulta.SetDatabaseName(conexion_);
  consulta.SQL().SetText(sentencia);
  consulta.ExecSQL();
}

// Validates, makes the schedule and keeps the settings, or warns of why not.
bool TfGENEBSQL::crearTarea(const std::function<void()>& crear) {
  if (!ValidarDatosCopia()) return false;
  const Ocupado ocupado(*ui_->pbCrearCopiaSeguridad);
  try {
    crear();
    GrabarConfiguracionCopias();
    return true;
  } catch (const std::exception& error) {
    MensajeAviso(kNoCreada + TextoExcepcion(error));
    return false;
  }
}

bool TfGENEBSQL::CrearTareaAgenteSQL() {
  return crearTarea([this] {
    for (int dia = 0; dia < 5; ++dia) {
      const QStringList sentencias =
          SentenciasTrabajoAgente(dia, basesDatos(), carpetaCopias(), ui_->edHoraInicio->text());
      try {
        ejecutar(sentencias.first());
      } catch (const std::exception&) {
        // The job did not exist yet.
      }
      for (qsizetype i = 1; i < sentencias.size(); ++i) ejecutar(sentencias[i]);
    }
  });
}

// The runner's file is rewritten whole; the task's crontab line replaces
// its earlier one. A crontab that cannot be read or written is a failure.
void TfGENEBSQL::crearTareaCrontab() {
  QByteArray actual;
  const int lectura = EjecutarProceso(QStringLiteral("crontab"), {QStringLiteral("-l")}, {}, actual);
  if (lectura == -1 || (lectura != 0 && !actual.startsWith("no crontab for"))) throw Exception(kErrorTarea);
  if (lectura != 0) actual.clear();
  const QString archivo = Paths::Join(CarpetaPrograma, QLatin1String(kArchivoRunner));
  const QByteArray nueva = CrontabConTarea(actual, Paths::FindFile(CarpetaPrograma, QStringLiteral("DEXOWIN")),
                                           archivo, ui_->edHoraInicio->text());
  TextFile::WriteOwnerOnly(archivo, ConfiguracionDEXOWIN(conexion_, basesDatos(), carpetaCopias()));
  QByteArray salida;
  if (EjecutarProceso(QStringLiteral("crontab"), {QStringLiteral("-")}, nueva, salida) != 0)
    throw Exception(kErrorTarea);
}

bool TfGENEBSQL::CrearTareaProgramadaWindows() {
  return crearTarea([this] { crearTareaCrontab(); });
}

// The server's databases but tempdb, which is never backed up.
void TfGENEBSQL::AgregartodaslasBasesdeDatos1Click() {
  try {
    Query consulta;
    consulta.SetDatabaseName(conexion_);
    consulta.SQL().SetText(QStringLiteral("USE master SELECT name FROM sysdatabases"));
    consulta.Open();
    QStringList bases;
    for (consulta.First(); !consulta.Eof(); consulta.Next()) {
      const QString nombre = consulta.Fields(0).AsString();
      if (nombre.compare(u"tempdb", Qt::CaseInsensitive) != 0) bases.append(nombre);
    }
    ui_->edBasesDatos->setPlainText(bases.join(u'\n'));
  } catch (const std::exception& error) {
    MensajeAviso(QStringLiteral("¡No ha sido posible encontrar las bases de datos!. Motivo: ") + TextoExcepcion(error));
  }
}

void TfGENEBSQL::PageControl1Change() {
  if (ui_->PageControl1->currentWidget() == ui_->PagRestaurar) LeerConfiguracionCopias();
}

void TfGENEBSQL::edBasesDatosRestaurarClick() {
  ui_->edCopiasSeguridad->clear();
  const QListWidgetItem* elegida = ui_->edBasesDatosRestaurar->currentItem();
  if (!elegida) return;
  const QString prefijo = elegida->text() + u'_';
  const QString encontrados = BuscarArchivos(Paths::Internal(carpetaCopias()) + u'/' + prefijo + QStringLiteral("*.*"));
  for (const QString& archivo : encontrados.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
    if (archivo.contains(prefijo)) ui_->edCopiasSeguridad->addItem(archivo);
}

void TfGENEBSQL::pbRestaurarCopiaSeguridadClick() {
  const QList<QListWidgetItem*> bases = ui_->edBasesDatosRestaurar->selectedItems();
  const QList<QListWidgetItem*> copias = ui_->edCopiasSeguridad->selectedItems();
  if (bases.isEmpty() || copias.isEmpty()) {
    MensajeAviso(QStringLiteral("¡Debe indicar la Base de Datos y la Copia de Seguridad correspondiente!"));
    return;
  }
  QString respuesta;
  MensajeConfirmacion(QStringLiteral("¿Está seguro de querer iniciar la restauración de la copia indicada?"), respuesta);
  if (respuesta != u"SI") return;
  const Ocupado ocupado(*ui_->pbRestaurarCopiaSeguridad);
  TConexiones& conexiones = Conexiones(*fGENEINIC);
  const Desconectadas desconectadas({conexiones.Database, conexiones.DatabaseGeneral});
  try {
    ejecutar(QStringLiteral("USE msdb RESTORE DATABASE ") + NombreSQL(bases.first()->text()) +
             QStringLiteral(" FROM DISK = ") + LiteralSQL(copias.first()->text()) + QStringLiteral(" WITH REPLACE"));
  } catch (const std::exception& error) {
    MensajeAviso(QStringLiteral("¡No ha sido posible restaurar la copia de seguridad!. Motivo: ") + TextoExcepcion(error));
  }
}

QString DominioServidor() { return QHostInfo::localDomainName(); }

int EjecutarProceso(const QString& programa, const QStringList& argumentos, const QByteArray& entrada,
                    QByteArray& salida) {
  const std::optional<int> fin = ProcessLauncherSeam::Get().RunPiped(programa, argumentos, CarpetaPrograma, entrada, salida);
  return fin.value_or(-1);
}

void RegistrarGENEBSQL() {
  FormRegistry::Register(QLatin1String(kFormularioCopiasSQLServer), [](QWidget* owner) { return new TfGENEBSQL(owner); });
}
