#include "maintenance/Geneactu.h"

#include "core/connections/ConexionEmpresa.h"
#include "core/forms/GanchosFormulario.h"
#include "core/forms/IntroComoTabulador.h"
#include "core/forms/PreparacionFormulario.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/Ayuda.h"
#include "core/services/MantenimientoLista.h"
#include "core/sql/EjecucionSQL.h"
#include "core/sql/MensajesSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "core/startup/TraduccionFormulario.h"
#include "core/system/CursorEspera.h"
#include "core/tables/CamposUsuario.h"
#include "core/tables/CreacionTabla.h"
#include "core/tables/DefinicionesEstructura.h"
#include "core/tables/NombresTablas.h"
#include "maintenance/OrigenTraspaso.h"
#include "maintenance/ProcesoEnCurso.h"
#include "maintenance/TraspasoTablas.h"
#include "platform/CommonDialogs.h"
#include "platform/FormRegistry.h"
#include "platform/data/Field.h"
#include "platform/data/Session.h"
#include "platform/data/Table.h"
#include "ui_GENEACTU.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QKeyEvent>

TfGENEACTU* fGENEACTU = nullptr;

namespace {

const QString kFinLinea = QStringLiteral("\r\n");

// The tables a first look at the list leaves out.
const QStringList kTablasNoSeleccionadas{
    QStringLiteral("CAMPOUSR"), QStringLiteral("CONFAPLI"), QStringLiteral("EMPRESA"), QStringLiteral("INCAPLIC"),
    QStringLiteral("NOMBTTEM"), QStringLiteral("PAGOIVA"),  QStringLiteral("PARTE"),   QStringLiteral("USUARIO")};

QString definicionTemporal() {
  return QStringLiteral(
             "Tabla Temporal\r\n/C/1/NombreTabla/ftString/30/*/\r\n/C/2/TipoDato/ftString/1/*/\r\n"
             "/C/3/NumeroCampo/ftInteger/0/*/\r\n/C/4/NombreCampo/ftString/30//\r\n/C/5/TipoCampo/ftString/30//\r\n"
             "/C/6/LongitudCampo/ftInteger/0//\r\n/C/7/CamposIndice/ftString/200//\r\n/C/8/CampoRequerido/ftString/2//\r\n"
             "/I/1/<Primary>/NombreTabla;TipoDato;NumeroCampo//");
}

// The idle-exit timer is off while the form is open.
void temporizadorInactividad(bool activo) {
  if (!fGENEINIC) return;
  fGENEINIC->TimerAplicacion.SetEnabled(activo && !TiempoForzarTerminacionAplicacion.isEmpty() &&
                                        TiempoForzarTerminacionAplicacion != u"0");
}

}  // namespace

TfGENEACTU::TfGENEACTU(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENEACTU>()) {
  ui_->setupUi(this);
  setWindowFlag(Qt::WindowStaysOnTopHint);
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  OpenDialog1 = new QFileDialog(this);
  OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
  OpenDialog1->setWindowTitle(QStringLiteral("Examinar"));
  SetFilter(*OpenDialog1, QStringLiteral("Archivos de Texto (*.TXT)|*.TXT|Todos los Archivos (*.*)|*.*"));
  connect(ui_->pbActualizar, &QPushButton::clicked, this, &TfGENEACTU::pbActualizarClick);
  connect(ui_->pbCancelar, &QPushButton::clicked, this, &TfGENEACTU::pbCancelarClick);
  connect(ui_->pbAyuda, &QPushButton::clicked, this, &TfGENEACTU::pbAyudaClick);
  connect(ui_->pbExaminar, &QPushButton::clicked, this, &TfGENEACTU::pbExaminarClick);
  connect(ui_->BaseDatosOrigen, &QComboBox::currentTextChanged, this, &TfGENEACTU::BaseDatosOrigenChange);
  OnCloseQuery = [this](Form&, bool& puedeCerrar) { puedeCerrar = !traspasando_; };
  PrepararFormulario(*this);
  temporizadorInactividad(false);
  fGENEACTU = this;
}

TfGENEACTU::~TfGENEACTU() {
  if (fGENEACTU == this) fGENEACTU = nullptr;
}

QComboBox& TfGENEACTU::BaseDatosOrigen() const { return *ui_->BaseDatosOrigen; }
QListWidget& TfGENEACTU::ListaTablas() const { return *ui_->ListaTablas; }
QStatusBar& TfGENEACTU::Estado() const { return *ui_->StatusBar1; }

void TfGENEACTU::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  if (event->spontaneous()) return;
  ui_->NombreFicheroASCII->setText(RutaDatabaseTxt());
  crearTemporal();
  const QSignalBlocker sinCambios(ui_->BaseDatosOrigen);
  ui_->BaseDatosOrigen->clear();
  ui_->BaseDatosOrigen->addItem(QLatin1String(kOrigenMismaBaseDatos));
  ui_->BaseDatosOrigen->addItems(Session::Default().GetAliasNames());
  ui_->DesdeFecha->clear();
  TraducirFormulario(this);
}

void TfGENEACTU::crearTemporal() {
  if (Temporal) return;
  Temporal = std::make_unique<Table>(this);
  Temporal->setObjectName(QStringLiteral("Temporal"));
  try {
    CrearTabla(*Temporal, definicionTemporal(), -1);
    if (!Temporal->Active()) Temporal->Open();
  } catch (const std::exception&) {
    Temporal.reset();
  }
}

void TfGENEACTU::closeEvent(QCloseEvent* event) {
  Form::closeEvent(event);
  if (!event->isAccepted()) return;
  temporizadorInactividad(true);
  if (!Temporal) return;
  try {
    Temporal->Close();
    Temporal->DeleteTable();
  } catch (const std::exception&) {
  }
  Temporal.reset();
}

void TfGENEACTU::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_F1:
      pbAyudaClick();
      return;
    case Qt::Key_F2:
      if (!(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))) return;
      break;
    default:
      if (IntroComoTabuladorMemo(*this, event)) return;
  }
  Form::keyPressEvent(event);
}

void TfGENEACTU::BaseDatosOrigenChange() {
  if (ui_->BaseDatosOrigen->currentText() == QLatin1String(kOrigenMismaBaseDatos)) return;
  ui_->TratamientoCamposNULL->setChecked(true);
  ui_->SolicitarEmpresaIndividual->setChecked(true);
  ui_->DesdeFecha->clear();
}

void TfGENEACTU::MostrarEstado(const QString& texto) {
  try {
    ui_->StatusBar1->showMessage(texto);
    ui_->StatusBar1->repaint();
    QCoreApplication::processEvents();
  } catch (const std::exception&) {
  }
}

void TfGENEACTU::pbExaminarClick() {
  SetFileName(*OpenDialog1, ui_->NombreFicheroASCII->text());
  if (CommonDialogsSeam::Get().Execute(*OpenDialog1)) ui_->NombreFicheroASCII->setText(FileName(*OpenDialog1));
}

void TfGENEACTU::pbCancelarClick() { close(); }

void TfGENEACTU::pbAyudaClick() { MostrarAyuda(ContextoAyuda(Caption())); }

void TfGENEACTU::pbActualizarClick() {
  const QString origen = ui_->BaseDatosOrigen->currentText();
  if (origen == QLatin1String(kOrigenMismaBaseDatos) || OrigenTraspaso(origen).EsDestino()) {
    MensajeInformacion(QStringLiteral(
        "Este punto solo puede ser empleado para traspasar bases de datos desde Paradox o Interbase. Utilice el punto "
        "\"Actualización de la Base de Datos\" en su lugar."));
    return;
  }
  if (ui_->ListaTablas->count() == 0) {
    CargarConversion();
    MensajeInformacion(QStringLiteral("A continuación examine la lista de tablas y seleccione las que vaya a traspasar. "
                                      "Después vuelva a pulsar el botón Traspasar."));
    return;
  }
  QString respuesta;
  MensajeConfirmacion(QStringLiteral("El proceso de Traspaso de Datos comenzará ahora. ¿Desea continuar?"), respuesta);
  if (respuesta != u"SI") return;
  Traspasar();
  close();
}

void TfGENEACTU::CargarConversion() {
  const CursorEspera cursor;
  try {
    definiciones_ = DefinicionesTraspaso::Leer(ui_->NombreFicheroASCII->text());
  } catch (const std::exception&) {
    MensajeAviso(QStringLiteral("¡ El fichero ASCII origen no está preparado !"));
    return;
  }
  for (const QString& tabla : definiciones_.NoValidas())
    MensajeAviso(MensajeNombreTablaNoValido(tabla, MotivoNombreTablaTraspaso(tabla)));
  ui_->ListaTablas->clear();
  if (Temporal) Temporal->EmptyTable();
  for (const QString& tabla : definiciones_.Tablas()) {
    ui_->ListaTablas->addItem(tabla);
    if (!Temporal) continue;
    const TablaTraspaso& definicion = *definiciones_.Tabla(tabla);
    try {
      for (const CampoTraspaso& campo : definicion.campos) {
        Temporal->Append();
        Temporal->FieldByName(QStringLiteral("NombreTabla")).SetAsString(tabla);
        Temporal->FieldByName(QStringLiteral("TipoDato")).SetAsString(QStringLiteral("C"));
        Temporal->FieldByName(QStringLiteral("NumeroCampo")).SetAsInteger(campo.numero);
        Temporal->FieldByName(QStringLiteral("NombreCampo")).SetAsString(campo.nombre);
        Temporal->FieldByName(QStringLiteral("TipoCampo")).SetAsString(campo.tipo);
        Temporal->FieldByName(QStringLiteral("LongitudCampo")).SetAsInteger(campo.longitud);
        Temporal->FieldByName(QStringLiteral("CampoRequerido")).SetAsString(campo.requerido ? QStringLiteral("SI") : QStringLiteral("NO"));
        Temporal->Post();
      }
      if (!definicion.clave.isEmpty()) {
        Temporal->Append();
        Temporal->FieldByName(QStringLiteral("NombreTabla")).SetAsString(tabla);
        Temporal->FieldByName(QStringLiteral("TipoDato")).SetAsString(QStringLiteral("I"));
        Temporal->FieldByName(QStringLiteral("NumeroCampo")).SetAsInteger(1);
        Temporal->FieldByName(QStringLiteral("NombreCampo")).SetAsString(QStringLiteral("<Primary>"));
        Temporal->FieldByName(QStringLiteral("CamposIndice")).SetAsString(definicion.clave.join(u';'));
        Temporal->FieldByName(QStringLiteral("CampoRequerido")).SetAsString(QStringLiteral("NO"));
        Temporal->Post();
      }
    } catch (const std::exception&) {
      // A row the work table refuses leaves the rest of that table out.
      if (Temporal->State() == dsInsert) Temporal->Cancel();
    }
  }
  for (int i = 0; i < ui_->ListaTablas->count(); ++i) {
    QListWidgetItem& elemento = *ui_->ListaTablas->item(i);
    elemento.setSelected(!kTablasNoSeleccionadas.contains(elemento.text()));
  }
}

void TfGENEACTU::AgregarCamposUsuario(TraspasoTablas& traspaso) {
  for (int i = 0; i < ui_->ListaTablas->count(); ++i) {
    const QString tabla = ui_->ListaTablas->item(i)->text();
    QStringList lineas;
    QStringList noValidos;
    try {
      if (fGENEINIC) lineas = LineasCamposUsuarioTabla(*fGENEINIC, NombreTablaFisica(tabla), &noValidos);
    } catch (const std::exception& error) {
      const QString motivo = QStringLiteral("Motivo: ") + TextoExcepcion(error);
      MensajeAviso(QStringLiteral("¡Error agregando campos de usuario de la tabla ") + tabla + QStringLiteral("! ") + motivo);
      traspaso.AgregarIncidencia(QStringLiteral("¡Error agregando campos de usuario en la tabla ") + tabla +
                                 QStringLiteral("! ") + motivo);
      continue;
    }
    for (const QString& campo : noValidos) MensajeAviso(MensajeNombreNoValido(campo));
    for (const QString& linea : lineas) {
      const CampoTraspaso campo{0, PiezaDefinicion(3, linea), PiezaDefinicion(4, linea), PiezaDefinicion(5, linea).toInt(),
                                false};
      if (!definiciones_.AgregarCampoUsuario(tabla, campo))
        MensajeAviso(QStringLiteral("El campo ") + campo.nombre + QStringLiteral(" de la tabla ") + tabla +
                     QStringLiteral(" está duplicado."));
    }
  }
}

QList<int> TfGENEACTU::EmpresasATraspasar() {
  const QString sql = QStringLiteral("SELECT Codigo, Nombre FROM EMPRESA   ORDER BY Codigo");
  QList<int> empresas;
  if (ui_->SolicitarEmpresaIndividual->isChecked()) {
    const QString respuesta = MantenimientoLista(
        QStringLiteral("Titulo=Selección de Empresa") + kFinLinea + QStringLiteral("Modo=Consulta") + kFinLinea +
            QStringLiteral("Formato=0,0,300,300") + kFinLinea + QStringLiteral("NumeroCampos=2") + kFinLinea +
            QStringLiteral("DefinicionCampos=Codigo,ftInteger,0;Nombre,ftString,40;"),
        EjecutarSQL(sql, QStringLiteral("DatabaseGeneral")));
    bool numero = false;
    const int empresa = respuesta.section(u'|', 0, 0).trimmed().toInt(&numero);
    if (numero) empresas << empresa;
    return empresas;
  }
  for (const QString& linea : EjecutarSQL(sql, QStringLiteral("DatabaseGeneral")).split(kFinLinea, Qt::SkipEmptyParts))
    empresas << linea.section(u'|', 0, 0).toInt();
  return empresas;
}

void TfGENEACTU::Traspasar() {
  const ProcesoEnCurso enCurso(traspasando_, {ui_->pbActualizar, ui_->pbCancelar}, *ui_->StatusBar1);
  OpcionesTraspaso opciones;
  opciones.origen = ui_->BaseDatosOrigen->currentText();
  opciones.empresaIndividual = ui_->SolicitarEmpresaIndividual->isChecked();
  opciones.camposNull = ui_->TratamientoCamposNULL->isChecked();
  opciones.porLotes = ui_->RealizarProcesoPorLotes->isChecked();
  opciones.mapeado = ui_->ListaInstrucciones->toPlainText().split(u'\n', Qt::SkipEmptyParts);
  opciones.archivoConversion = ui_->NombreFicheroASCII->text();
  TraspasoTablas traspaso(*fGENEINIC, *this, opciones, definiciones_, [this](const QString& texto) { MostrarEstado(texto); });
  QStringList tablas;
  for (int i = 0; i < ui_->ListaTablas->count(); ++i)
    if (ui_->ListaTablas->item(i)->isSelected()) tablas << ui_->ListaTablas->item(i)->text();

  traspaso.TraspasarTablas(QStringLiteral("General"), 0, tablas);
  AgregarCamposUsuario(traspaso);
  const int empresaInicial = EmpresaActual;
  for (const int empresa : EmpresasATraspasar()) {
    try {
      ConectarEmpresa(*fGENEINIC, empresa);
      MostrarEstado(QStringLiteral("Traspasando Empresa/Tabla: ") + QString::number(empresa));
      traspaso.TraspasarTablas(QStringLiteral("Standard"), empresa, tablas);
    } catch (const std::exception& error) {
      traspaso.AgregarIncidencia(QStringLiteral("No ha sido posible traspasar la base de datos de la empresa ") +
                                 QString::number(empresa) + QStringLiteral(" Motivo: ") + TextoExcepcion(error));
    }
  }
  try {
    if (EmpresaActual != empresaInicial) ConectarEmpresa(*fGENEINIC, empresaInicial);
  } catch (const std::exception&) {
  }
  if (traspaso.Incidencias().isEmpty()) return;
  QString respuesta;
  MensajeConfirmacion(QStringLiteral("Se han producido incidencias en el proceso. ¿Desea ver los detalles?"), respuesta);
  if (respuesta == u"SI" && Ganchos().MostrarDetalle)
    Ganchos().MostrarDetalle(traspaso.Incidencias().join(kFinLinea), QStringLiteral("Incidencias producidas en ") + Caption(),
                             QString());
}

void RegistrarGENEACTU() {
  FormRegistry::Register(QStringLiteral("TfGENEACTU"), [](QWidget* owner) { return new TfGENEACTU(owner); });
}
