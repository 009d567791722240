#include "dialogs/Generesp.h"

#include "platform/VirtualKeys.h"
#include "core/forms/TeclasFormulario.h"
#include "core/datamodule/EdicionRegistro.h"
#include "core/datamodule/ExistenciaClave.h"
#include "core/datamodule/ResponsabilidadDocumental.h"
#include "core/forms/GanchosFormulario.h"
#include "core/forms/TablasFormulario.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/RutinasBusqueda.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/TraduccionFormulario.h"
#include "core/tables/NombresTablas.h"
#include "platform/FormRegistry.h"
#include "platform/StringList.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/format/DateTime.h"
#include "platform/format/Format.h"
#include "ui_GENERESP.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QShowEvent>

#include <optional>

PosicionFormulario PosicionGENERESP;

namespace {

const QString kRegistradoPor = QStringLiteral("RegistradoPor");
const QString kFechaRegistro = QStringLiteral("FechaRegistro");

// The operator the current user signs as.
std::optional<int> operarioUsuario() {
  bool numero = false;
  const int codigo = EjecutarSQL(QStringLiteral("SELECT Codigo FROM OPERARIO WHERE CodigoUsuario = ") +
                                     LiteralSQL(CodigoUsuarioActual),
                                 QStringLiteral("Database"))
                         .section(QStringLiteral("\r\n"), 0, 0)
                         .toInt(&numero);
  if (!numero) return std::nullopt;
  return codigo;
}

QString nombreOperario(const Field& codigo) {
  if (codigo.IsNull()) return {};
  return EjecutarSQL(QStringLiteral("SELECT Nombre FROM OPERARIO WHERE Codigo = ") + QString::number(codigo.AsInteger()),
                     QStringLiteral("Database"))
      .section(QStringLiteral("\r\n"), 0, 0);
}

}  // namespace

bool EstaAutorizado(int codigo, const QString& lista) {
  for (const QString& pieza : lista.split(u','))
    if (pieza.trimmed() == QString::number(codigo)) return true;
  return false;
}

QString FiltroAutorizados(const QString& lista) {
  QStringList condiciones;
  for (const QString& pieza : lista.split(u',')) {
    bool numero = false;
    const int codigo = pieza.trimmed().toInt(&numero);
    // Nothing but a whole number enters the statement.
    if (numero) condiciones << QStringLiteral("(Codigo=") + QString::number(codigo) + u')';
  }
  return condiciones.join(QStringLiteral(" OR "));
}

TfGENERESP::TfGENERESP(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENERESP>()) {
  ui_->setupUi(this);
  setObjectName(QStringLiteral("fGENERESP"));
  Table1 = new Table(this);
  Table1->setObjectName(QStringLiteral("Table1"));
  Table1->SetTableName(QStringLiteral("RESPDOC"));
  realizado_ = {QStringLiteral("RealizadoPor"), QStringLiteral("FechaRealizacion"), ui_->RealizadoPor,
                ui_->FechaRealizacion, &AutorizadosRealizadoPor,
                QStringLiteral("¡El Operario de Realizado Por no está autorizado!")};
  aprobado_ = {QStringLiteral("AprobadoPor"), QStringLiteral("FechaAprobacion"), ui_->AprobadoPor,
               ui_->FechaAprobacion, &AutorizadosAprobadoPor,
               QStringLiteral("¡El Operario de Aprobado Por no está autorizado!")};
  connect(ui_->pbAsignarRealizadoPor, &QAbstractButton::clicked, this, [this] { pbAsignarRealizadoPorClick(); });
  connect(ui_->pbDesasignarRealizadoPor, &QAbstractButton::clicked, this, [this] { pbDesasignarRealizadoPorClick(); });
  connect(ui_->pbAsignarAprobadoPor, &QAbstractButton::clicked, this, [this] { pbAsignarAprobadoPorClick(); });
  connect(ui_->pbDesasignarAprobadoPor, &QAbstractButton::clicked, this, [this] { pbDesasignarAprobadoPorClick(); });
  connect(ui_->pbGrabar, &QPushButton::clicked, this, [this] { pbGrabarClick(); });
  connect(ui_->pbCancelar, &QPushButton::clicked, this, [this] { pbCancelarClick(); });
  OnKeyDown = [](Form& formulario, quint16& tecla, Qt::KeyboardModifiers estado) {
    if (tecla != VK::Return) TeclasFormulario(formulario, tecla, estado);
  };

  ColocarFormulario(*this, PosicionGENERESP);
  TablaResponsabilidad = QuitarPrefijoTabla(TablaResponsabilidad);
  AbrirTablasFormulario(*this);

  Variant valores;
  ConsultaFiltrada(QStringLiteral("CONFRESP"), TablaResponsabilidad + u';', valores, QStringLiteral("CamposSolicitados"));
  StringList lineas;
  lineas.SetText(valores.Elements().value(0).AsString());
  for (const QString& linea : lineas.Lines()) {
    const QString campo = linea.section(u':', 0, 0).trimmed();
    if (campo.isEmpty()) continue;
    CamposSolicitados << campo;
    if (campo == realizado_.campoCodigo) AutorizadosRealizadoPor = linea.section(u':', 1);
    if (campo == aprobado_.campoCodigo) AutorizadosAprobadoPor = linea.section(u':', 1);
  }
  for (QLineEdit* edit : findChildren<QLineEdit*>()) {
    if (!CamposSolicitados.contains(edit->objectName())) continue;
    edit->setReadOnly(false);
    edit->setFocusPolicy(Qt::StrongFocus);
    edit->setStyleSheet(QStringLiteral("background: white"));
  }
  for (QWidget* panel : {ui_->PanelRegistradoPor, ui_->PanelRealizadoPor, ui_->PanelAprobadoPor})
    panel->setEnabled(false);
  registrar();
  ui_->PanelRealizadoPor->setEnabled(solicitado(realizado_.campoCodigo) || solicitado(realizado_.campoFecha));
  ui_->PanelAprobadoPor->setEnabled(solicitado(aprobado_.campoCodigo) || solicitado(aprobado_.campoFecha));
  for (const QString& campo : CamposSolicitados)
    if (campo != kRegistradoPor && campo != kFechaRegistro) HayCamposEditables = true;
  if (HayCamposEditables) prepararEdicion();
  mostrar();
}

TfGENERESP::~TfGENERESP() = default;

bool TfGENERESP::solicitado(const QString& campo) const { return CamposSolicitados.contains(campo); }

bool TfGENERESP::BuscarResponsabilidad(const QString& tabla, const QString& clave) {
  if (Table1->FindKey({Variant::String(tabla), Variant::String(clave)})) return true;
  return Table1->FindKey({Variant::String(tabla), Variant::String(clave + u'|')});
}

void TfGENERESP::registrar() {
  if (!solicitado(kRegistradoPor) && !solicitado(kFechaRegistro)) return;
  try {
    if (BuscarResponsabilidad(TablaResponsabilidad, ClaveResponsabilidad))
      Table1->Edit();
    else
      Table1->Insert();
    Table1->FieldByName(QStringLiteral("NombreTabla")).SetAsString(TablaResponsabilidad);
    Table1->FieldByName(QStringLiteral("ClaveTabla")).SetAsString(ClaveResponsabilidad);
    if (solicitado(kRegistradoPor)) {
      Field& codigo = Table1->FieldByName(kRegistradoPor);
      if (const auto operario = operarioUsuario())
        codigo.SetAsInteger(*operario);
      else
        codigo.Clear();
    }
    if (solicitado(kFechaRegistro)) Table1->FieldByName(kFechaRegistro).SetAsDateTime(Now());
    Table1->Post();
  } catch (const std::exception&) {
    Table1->Cancel();
  }
}

void TfGENERESP::prepararEdicion() {
  if (!BuscarResponsabilidad(TablaResponsabilidad, ClaveResponsabilidad)) Table1->Insert();
  SetCaption(Caption() + QStringLiteral(" (") + TablaResponsabilidad + QStringLiteral(": ") + ClaveResponsabilidad +
             u')');
  const bool nuevo = Table1->State() == dsInsert;
  if (!nuevo) {
    try {
      Table1->Edit();
    } catch (const std::exception&) {
      // Another user is signing it: this one only looks.
    }
  }
  const std::optional<int> operario = operarioUsuario();
  for (const Firma* firma : {&realizado_, &aprobado_}) {
    if (!nuevo) break;
    Field& codigo = Table1->FieldByName(firma->campoCodigo);
    if (solicitado(firma->campoCodigo) && codigo.AsInteger() == 0 && operario &&
        (firma->autorizados->isEmpty() || EstaAutorizado(*operario, *firma->autorizados)))
      codigo.SetAsInteger(*operario);
    Field& fecha = Table1->FieldByName(firma->campoFecha);
    if (solicitado(firma->campoFecha) && fecha.IsNull()) fecha.SetAsDateTime(Date());
  }
  ui_->pbGrabar->setFocus();
}


void TfGENERESP::Asignar(const Firma& firma) {
  const std::optional<int> operario = operarioUsuario();
  Field& codigo = Table1->FieldByName(firma.campoCodigo);
  if (!firma.autorizados->isEmpty()) {
    if (operario && !EstaAutorizado(*operario, *firma.autorizados)) return;
    // A list that names no operator offers none: an empty condition would offer them all.
    const QString autorizados = FiltroAutorizados(*firma.autorizados);
    if (autorizados.isEmpty()) return;
    const Variant clave = BuscarDatoFiltrado(QStringLiteral("OPERARIO"), 0, autorizados);
    const QList<Variant>& elegido = clave.Elements();
    if (elegido.isEmpty() || !EditarRegistro(*Table1)) return;
    codigo.SetAsInteger(elegido.first().AsString().toInt());
    if (ValidarDatos(firma.edit) && !firma.fecha->isReadOnly())
      Table1->FieldByName(firma.campoFecha).SetAsDateTime(Date());
  } else {
    // Another operator's signature is not overwritten.
    if (codigo.AsInteger() != 0 && operario && *operario != codigo.AsInteger()) return;
    if (!EditarRegistro(*Table1)) return;
    if (!firma.edit->isReadOnly() && operario) codigo.SetAsInteger(*operario);
    if (!firma.fecha->isReadOnly()) Table1->FieldByName(firma.campoFecha).SetAsDateTime(Date());
  }
  mostrar();
}

void TfGENERESP::Desasignar(const Firma& firma) {
  if (!firma.autorizados->isEmpty()) return;
  const std::optional<int> operario = operarioUsuario();
  Field& codigo = Table1->FieldByName(firma.campoCodigo);
  if (codigo.AsInteger() != 0 && operario && *operario != codigo.AsInteger()) return;
  if (!EditarRegistro(*Table1)) return;
  if (!firma.edit->isReadOnly()) codigo.Clear();
  if (!firma.fecha->isReadOnly()) Table1->FieldByName(firma.campoFecha).Clear();
  mostrar();
}

void TfGENERESP::pbAsignarRealizadoPorClick() { Asignar(realizado_); }
void TfGENERESP::pbDesasignarRealizadoPorClick() { Desasignar(realizado_); }
void TfGENERESP::pbAsignarAprobadoPorClick() { Asignar(aprobado_); }
void TfGENERESP::pbDesasignarAprobadoPorClick() { Desasignar(aprobado_); }

bool TfGENERESP::ValidarDatos(QWidget* control) {
  const DataSetState estado = Table1->State();
  if ((estado != dsEdit && estado != dsInsert) || focusWidget() == ui_->pbCancelar) return true;
  bool valido = true;
  for (const Firma* firma : {&realizado_, &aprobado_}) {
    if (control && control != firma->edit) continue;
    const int codigo = Table1->FieldByName(firma->campoCodigo).AsInteger();
    if (firma->autorizados->isEmpty() || codigo == 0 || EstaAutorizado(codigo, *firma->autorizados)) continue;
    MensajeAviso(firma->aviso);
    valido = false;
  }
  if (!control) {
    for (const Firma* firma : {&realizado_, &aprobado_})
      if (solicitado(firma->campoFecha) && solicitado(firma->campoCodigo) &&
          Table1->FieldByName(firma->campoCodigo).AsInteger() == 0)
        Table1->FieldByName(firma->campoFecha).Clear();
  }
  return valido;
}

void TfGENERESP::pbGrabarClick() {
  if (!ValidarDatos(nullptr)) return;
  try {
    // A row another user holds cannot be signed over.
    if (Table1->State() == dsBrowse) Table1->Edit();
    Table1->FieldByName(QStringLiteral("NombreTabla")).SetAsString(TablaResponsabilidad);
    Table1->FieldByName(QStringLiteral("ClaveTabla")).SetAsString(ClaveResponsabilidad);
    for (const QString& campo : {realizado_.campoFecha, aprobado_.campoFecha, kFechaRegistro}) {
      Field& fecha = Table1->FieldByName(campo);
      if (fecha.IsNull()) fecha.SetAsDateTime(0);
    }
    Table1->Post();
  } catch (const std::exception&) {
    MensajeAviso(
        QStringLiteral("¡Imposible modificar el registro. Es posible que esté siendo modificado por otro usuario.!"));
    Table1->Cancel();
  }
  SetModalResult(mrOk);
  close();
}

void TfGENERESP::pbCancelarClick() {
  Table1->Cancel();
  SetModalResult(mrCancel);
  close();
}

void TfGENERESP::mostrar() {
  const bool leido = Table1->Active() && (Table1->State() != dsBrowse || !Table1->IsEmpty());
  for (QLineEdit* edit : {ui_->RegistradoPor, ui_->RealizadoPor, ui_->AprobadoPor})
    edit->setText(leido ? nombreOperario(Table1->FieldByName(edit->objectName())) : QString());
  for (QLineEdit* edit : {ui_->FechaRegistro, ui_->FechaRealizacion, ui_->FechaAprobacion}) {
    const Field* fecha = leido ? &Table1->FieldByName(edit->objectName()) : nullptr;
    edit->setText(!fecha || fecha->IsNull() ? QString()
                  : edit == ui_->FechaRegistro ? DateTimeToStr(fecha->AsDateTime())
                                               : DateToStr(fecha->AsDateTime()));
  }
}

void TfGENERESP::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  if (!event->spontaneous()) TraducirFormulario(this);
}

void TfGENERESP::closeEvent(QCloseEvent* event) {
  PosicionGENERESP.Left = x();
  PosicionGENERESP.Top = y();
  Form::closeEvent(event);
}

void TfGENERESP::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    focusNextChild();
    return;
  }
  Form::keyPressEvent(event);
}

void RegistrarGENERESP() {
  FormRegistry::Register(QStringLiteral("TfGENERESP"), [](QWidget* owner) { return new TfGENERESP(owner); });
}
