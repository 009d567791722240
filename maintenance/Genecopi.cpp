#include "maintenance/Genecopi.h"

#include "core/connections/AperturaTablas.h"
#include "core/connections/ConexionEmpresa.h"
#include "core/connections/Conexiones.h"
#include "core/datamodule/Traduccion.h"
#include "core/forms/AparienciaFormulario.h"
#include "core/helpers/Tablas.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/MensajesSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "core/startup/TraduccionFormulario.h"
#include "core/system/CursorEspera.h"
#include "core/tables/CopiaRegistros.h"
#include "platform/data/BatchMove.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Session.h"
#include "platform/data/Table.h"
#include "platform/engine/WriteTransaction.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"
#include "ui_GENECOPI.h"

#include <QKeyEvent>

#include <algorithm>

TfGENECOPI* fGENECOPI = nullptr;

namespace {

QString nombreTabla(const Dataset& tabla) {
  const auto* fisica = qobject_cast<const Table*>(&tabla);
  return fisica ? fisica->TableName() : tabla.objectName();
}

// A general table is the same one for every company: copied "to another
// company" it would be copied onto itself.
bool esTablaComun(const Dataset* tabla) { return tabla && EsTablaGeneral(nombreTabla(*tabla)); }

}  // namespace

TfGENECOPI::TfGENECOPI(QWidget* owner)
    : Form(owner), ui_(std::make_unique<Ui::TfGENECOPI>()), Empresa(std::make_unique<Table>(this)) {
  ui_->setupUi(this);
  Empresa->setObjectName(QStringLiteral("Empresa"));
  Empresa->SetTableName(QStringLiteral("EMPRESA"));
  connect(ui_->pbConforme, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
  connect(ui_->pbCancelar, &QPushButton::clicked, this, [this] { SetModalResult(mrCancel); });
  fGENECOPI = this;
}

TfGENECOPI::~TfGENECOPI() {
  if (fGENECOPI == this) fGENECOPI = nullptr;
}

void TfGENECOPI::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  AplicarAspecto(*this);
  TraducirFormulario(this);
}

// Enter moves on to the next control.
void TfGENECOPI::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    focusNextChild();
    return;
  }
  Form::keyPressEvent(event);
}

void TfGENECOPI::CopiarRegistros(Dataset& tabla, const QList<Dataset*>& detalles) {
  if (esTablaComun(&tabla) && std::all_of(detalles.begin(), detalles.end(),
                                          [](const Dataset* detalle) { return !detalle || esTablaComun(detalle); })) {
    MensajeAviso(QStringLiteral("Los registros de esta tabla son comunes a todas las empresas. No hay registros que "
                                "copiar a otras empresas."));
    return;
  }
  QString respuesta;
  MensajeConfirmacion(QStringLiteral("¡Esta opción copiará todos los registros activos de la tabla!. Puede utilizar "
                                     "previamente opciones de filtrado para limitar los registros a copiar. ¿Desea "
                                     "continuar?"),
                      respuesta);
  if (respuesta == u"NO") return;
  MensajeConfirmacion(QStringLiteral("¿Está Vd. realmente seguro de querer copiar todos los registros activos de la tabla?"),
                      respuesta);
  if (respuesta == u"NO") return;

  QList<EmpresaDestino> elegidas;
  if (!elegirEmpresas(elegidas)) return;
  const CursorEspera cursor;
  for (const EmpresaDestino& empresa : elegidas) {
    QString motivo;
    if (copiarAEmpresa(empresa.codigo, tabla, detalles, motivo)) continue;
    MensajeAviso(Traducir(QStringLiteral("No se han podido copiar los registros a la empresa $Empresa"),
                          QStringLiteral("Empresa=") + QString::number(empresa.codigo)) +
                 QStringLiteral(". Motivo: ") + motivo);
  }
}

// The companies are told apart by their row: two of the same name are two
// rows, each chosen by itself.
bool TfGENECOPI::elegirEmpresas(QList<EmpresaDestino>& elegidas) {
  ui_->LabelLista->setText(u' ' + Traducir(QStringLiteral("Copiar Datos a las Empresas...")));
  ui_->PanelEmpresaOrigen->setVisible(true);
  ui_->PanelMetodo->setVisible(true);
  Empresa->Close();
  Empresa->SetDatabaseName(Conexiones(*fGENEINIC).DatabaseGeneral->DatabaseName());
  Empresa->Open();
  QList<EmpresaDestino> otras;
  QString origen;
  for (Empresa->First(); !Empresa->Eof(); Empresa->Next()) {
    const EmpresaDestino empresa{Empresa->FieldByName(QStringLiteral("Codigo")).AsInteger(),
                                 Empresa->FieldByName(QStringLiteral("Nombre")).AsString()};
    if (empresa.codigo == EmpresaActual)
      origen = empresa.nombre;
    else
      otras.append(empresa);
  }
  Empresa->Close();
  ui_->EditEmpresaOrigen->setText(origen);
  ui_->ListaEmpresas->clear();
  ui_->ListaEmpresas->addItem(QStringLiteral("Todas"));
  for (const EmpresaDestino& empresa : otras) ui_->ListaEmpresas->addItem(empresa.nombre);
  SetCaption(Traducir(QStringLiteral("Copiar datos desde la empresa")) + u' ' + origen);
  ui_->ListaEmpresas->setFocus();
  if (ShowModal() != mrOk) return false;
  const bool todas = ui_->ListaEmpresas->item(0)->isSelected();
  for (int fila = 1; fila < ui_->ListaEmpresas->count(); ++fila)
    if (todas || ui_->ListaEmpresas->item(fila)->isSelected()) elegidas.append(otras[fila - 1]);
  return true;
}

// Every destination table is opened (and made when missing) before the
// company's transaction starts, as a table is created outside it.
bool TfGENECOPI::copiarAEmpresa(int empresa, Dataset& tabla, const QList<Dataset*>& detalles, QString& motivo) {
  try {
    QList<Dataset*> origenes{&tabla};
    for (Dataset* detalle : detalles)
      if (detalle && !esTablaComun(detalle)) origenes.append(detalle);
    std::vector<std::unique_ptr<Table>> destinos;
    for (Dataset* origen : origenes) {
      auto destino = std::make_unique<Table>();
      PrepararDataSetEmpresa(*fGENEINIC, *destino, empresa);
      destino->SetTableName(nombreTabla(*origen));
      if (!AbrirTabla(*fGENEINIC, *this, *destino))
        throw EDatabaseError(QString::fromLatin1(EngineText::TableDoesNotExist), destino->TableName());
      destinos.push_back(std::move(destino));
    }
    // The company's own database, whichever of the tables belongs to it.
    const bool principalComun = esTablaComun(&tabla);
    const Table& enEmpresa = *destinos[principalComun && destinos.size() > 1 ? 1 : 0];
    const auto conexion = Session::Default().OpenDatabase(enEmpresa.DatabaseName());
    WriteTransaction transaccion(*conexion);
    if (!principalComun) transferir(tabla, *destinos.front());
    for (std::size_t i = 1; i < destinos.size(); ++i)
      for (tabla.First(); !tabla.Eof(); tabla.Next()) transferir(*origenes[static_cast<qsizetype>(i)], *destinos[i]);
    transaccion.Commit();
    return true;
  } catch (const std::exception& error) {
    motivo = TextoExcepcion(error);
  }
  return false;
}

void TfGENECOPI::transferir(Dataset& origen, Table& destino) {
  if (ui_->Agregar->isChecked()) return ::CopiarRegistros(origen, destino, QStringLiteral("Agregar"));
  BatchMove mover;
  mover.SetSource(&origen);
  mover.SetDestination(&destino);
  mover.SetMode(ui_->Sustituir->isChecked() ? batUpdate : batAppendUpdate);
  mover.Execute();
}

void CopiarRegistrosAOtrasEmpresas(Dataset& tabla) {
  if (fGENECOPI) fGENECOPI->CopiarRegistros(tabla, {nullptr});
}

void CopiarRegistrosAOtrasEmpresasConDetalle(Dataset& tabla, Dataset& detalle) {
  if (fGENECOPI) fGENECOPI->CopiarRegistros(tabla, {&detalle});
}
