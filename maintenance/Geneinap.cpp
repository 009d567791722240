#include "maintenance/Geneinap.h"

#include "core/datamodule/ClavesRegistro.h"
#include "core/datamodule/CopiaPorClave.h"
#include "core/datamodule/ResponsabilidadDocumental.h"
#include "core/datamodule/SalidaInforme.h"
#include "core/datamodule/SiguienteCodigo.h"
#include "core/forms/TablasFormulario.h"
#include "core/helpers/Listas.h"
#include "core/messages/MensajeSistema.h"
#include "core/startup/Configuracion.h"
#include "core/system/CursorEspera.h"
#include "core/system/SistemaOperativo.h"
#include "maintenance/CampoHora.h"
#include "maintenance/Geqrlina.h"
#include "platform/Clock.h"
#include "platform/FormRegistry.h"
#include "platform/controls/DBChoiceControls.h"
#include "platform/controls/DBEdit.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/format/DateTime.h"
#include "platform/format/Format.h"
#include "ui_GENEINAP.h"

#include <QAction>
#include <QPushButton>

TfGENEINAP* fGENEINAP = nullptr;

namespace {

// The key's edit holds eight digits.
constexpr qint64 kUltimaIncidencia = 99999999;

}  // namespace

TfGENEINAP::TfGENEINAP(QWidget* owner) : MantenimientoRegistros(Ficha, owner), ui_(std::make_unique<Ui::TfGENEINAP>()) {
  setObjectName(QStringLiteral("fGENEINAP"));
  ui_->setupUi(Datos());
  for (DBEdit* edit : {ui_->EditNumeroIncidencia, ui_->EditFecha, ui_->EditHora, ui_->EditCodigoUsuario,
                       ui_->EditCodigoEmpresa, ui_->EditNumeroUsuariosActivos, ui_->EditPrograma})
    edit->SetSource(DataSource1);
  for (DBMemo* memo : {ui_->MemoDescripcion, ui_->MemoCondiciones, ui_->EditObservaciones}) memo->SetSource(DataSource1);
  ui_->EditSistemaOperativo->SetSource(DataSource1);
  ui_->EditAplicacion->SetSource(DataSource1);
  Table1->SetTableName(QStringLiteral("INCAPLIC"));
  Table1->BeforeInsert = [this](Dataset&) { Table1BeforeInsert(); };
  Table1->OnNewRecord = [this](Dataset&) { Table1NewRecord(); };
  Table1->AfterPost = [this](Dataset&) { Table1AfterPost(); };
  Table1->AfterOpen = [](Dataset& tabla) { MostrarComoHoraAlAbrir(tabla, QStringLiteral("Hora")); };
  connect(ui_->pbImprimir, &QPushButton::clicked, this, &TfGENEINAP::pbImprimirClick);
  Iniciar(QStringLiteral("Introducción de Incidencias de la Aplicación"), QStringLiteral("NumeroIncidencia"),
          ui_->EditNumeroIncidencia);
  const QWidget* panel = findChild<QWidget*>(QStringLiteral("PanelControl"));
  resize(640, Datos()->sizeHint().height() + panel->sizeHint().height() + AjusteAlturaFormulario + 17);
  Accion("DocumentacionElectronica1")->setEnabled(false);
  Accion("CopiarRegistrosaOtrasEmpresas1")->setVisible(false);
}

TfGENEINAP::~TfGENEINAP() {
  if (fGENEINAP == this) fGENEINAP = nullptr;
}

void RegistrarGENEINAP() {
  FormRegistry::Register(QStringLiteral("TfGENEINAP"), [](QWidget* owner) { return new TfGENEINAP(owner); });
}

void TfGENEINAP::Table1BeforeInsert() {
  claveAnterior_ = Table1->IsEmpty() ? QString() : ClaveRegistro(*Table1);
  ui_->EditNumeroIncidencia->setFocus();
}

void TfGENEINAP::Table1NewRecord() {
  if (Accion("Agregar")->text() == u"&Agregar con Duplicación" && !claveAnterior_.isEmpty())
    CopiarRegistroClave(*Table1, claveAnterior_);
  // Past the last number there is none to offer: the user types a free one.
  Field& numero = Table1->FieldByName(QStringLiteral("NumeroIncidencia"));
  const qint64 siguiente = SiguienteCodigo(*Table1);
  if (siguiente <= kUltimaIncidencia)
    numero.SetAsInteger(static_cast<int>(siguiente));
  else
    numero.Clear();
  const TDateTime ahora = ToDateTime(ClockSeam::Get().Now());
  Table1->FieldByName(QStringLiteral("Fecha")).SetAsDateTime(static_cast<int>(ahora));
  Table1->FieldByName(QStringLiteral("Hora")).SetAsDateTime(StrToTime(FormatDateTime(QStringLiteral("hh:nn:ss"), ahora)));
  Table1->FieldByName(QStringLiteral("CodigoUsuario")).SetAsString(CodigoUsuarioActual);
  Table1->FieldByName(QStringLiteral("SistemaOperativo"))
      .SetAsString(ValorLista(QStringLiteral("Plataforma"), InformacionSistemaOperativo()));
}

bool TfGENEINAP::ComprobarDatos(QWidget*) {
  const qint64 numero = Table1->FieldByName(QStringLiteral("NumeroIncidencia")).AsString().toLongLong();
  if (numero >= 1 && numero <= kUltimaIncidencia) return true;
  MensajeAviso(QStringLiteral("¡ El valor debe estar entre 1 y 99999999 !"));
  ui_->EditNumeroIncidencia->setFocus();
  return false;
}

void TfGENEINAP::Table1AfterPost() {
  if (Iniciado()) ComprobarResponsabilidadDocumental(*Table1);
}

void TfGENEINAP::pbImprimirClick() {
  CursorEspera espera;
  IncidenciaDesde = IncidenciaHasta = Table1->FieldByName(QStringLiteral("NumeroIncidencia")).AsInteger();
  auto informe = std::make_unique<TfGEQRLINA>();
  fGEQRLINA = informe.get();
  QString respuesta;
  MensajeConfirmacion(QStringLiteral("¿Desea realizar una visualización previa?"), respuesta);
  if (respuesta == u"SI") informe->Previsualizar();
  else informe->Imprimir();
}
