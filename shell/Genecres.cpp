#include "shell/Genecres.h"

#include "core/connections/ConexionEmpresa.h"
#include "core/connections/Conexiones.h"
#include "core/datamodule/EdicionRegistro.h"
#include "core/datamodule/ExistenciaClave.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/Ayuda.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "platform/StringList.h"
#include "platform/data/Database.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "shell/TablasEmpresa.h"
#include "ui_GENECRES.h"

#include <QAction>
#include <QKeyEvent>
#include <QPushButton>

#include <algorithm>

namespace {

const QString kCampos = QStringLiteral("CamposSolicitados");

QString nombreCampo(const QString& linea) { return linea.section(u':', 0, 0); }

QStringList lineas(const QListWidget& lista) {
  QStringList texto;
  for (int n = 0; n < lista.count(); ++n) texto << lista.item(n)->text();
  return texto;
}

}  // namespace

TfGENECRES::TfGENECRES(QWidget* owner) : MantenimientoRegistros(Ficha, owner), ui_(std::make_unique<Ui::TfGENECRES>()) {
  setObjectName(QStringLiteral("fGENECRES"));
  ui_->setupUi(Datos());
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  resize(600, 400);
  const QString titulo = QStringLiteral("Configuración de Responsabilidad Documental");
  SeleccionarEmpresa(*fGENEINIC);
  if (EmpresaActual == 0) return;
  Variant valores;
  ConsultaFiltrada(QStringLiteral("EMPRESA"), QString::number(EmpresaActual) + u';', valores, QStringLiteral("Abreviatura"));
  if (valores.Elements().isEmpty()) return;

  Table1->SetTableName(QStringLiteral("CONFRESP"));
  Table2 = new Table(this);
  Table2->setObjectName(QStringLiteral("Table2"));
  Table2->SetTableName(QStringLiteral("RESPDOC"));
  ui_->EditNombreTabla->SetSource(DataSource1);
  ui_->MemoCamposSolicitados->SetSource(DataSource1);
  auto* asignar = new QAction(QStringLiteral("&Asignar Operarios por Defecto"), ui_->ListaCamposSolicitados);
  asignar->setObjectName(QStringLiteral("AsignarOperariosporDefecto1"));
  ui_->ListaCamposSolicitados->addAction(asignar);
  connect(asignar, &QAction::triggered, this, [this] { AsignarOperariosporDefecto1Click(); });
  connect(ui_->pbANoAccesibles, &QPushButton::clicked, this, [this] { pbANoAccesiblesClick(); });
  connect(ui_->pbANoAccesiblesTodo, &QPushButton::clicked, this, [this] { pbANoAccesiblesTodoClick(); });
  connect(ui_->pbAAccesibles, &QPushButton::clicked, this, [this] { pbAAccesiblesClick(); });
  connect(ui_->pbAAccesiblesTodo, &QPushButton::clicked, this, [this] { pbAAccesiblesTodoClick(); });
  connect(DataSource1, &DataSource::DataChange, this, [this](Field* campo) {
    if (!campo && Table1->State() != dsEdit) CargarListas();
  });

  Iniciar(valores.Elements().first().AsString() + QStringLiteral(": ") + titulo, QStringLiteral("NombreTabla"),
          ui_->EditNombreTabla);
  ui_->EditNombreTabla->addItems(TablasParaElegir(Conexiones(*fGENEINIC).Database->GetTableNames()));
  for (const char* nombre : {"ListadoProgramable1", "DocumentacionElectronica1"}) Accion(nombre)->setEnabled(false);
  disconnect(Accion("EliminacionMultiple1"), &QAction::triggered, this, nullptr);
  Table1->First();
  CargarListas();
  abierto_ = true;
}

TfGENECRES::~TfGENECRES() = default;

void TfGENECRES::CargarListas() {
  if (!Table2 || !Table1->Active() || !Table2->Active()) return;
  StringList memo;
  memo.SetText(Table1->FieldByName(kCampos).AsString());
  ui_->ListaCamposSolicitados->clear();
  ui_->ListaCamposSolicitados->addItems(memo.Lines());
  QStringList pedidos;
  for (const QString& linea : memo.Lines()) pedidos << nombreCampo(linea);
  ui_->ListaCamposDisponibles->clear();
  for (int n = 2; n < Table2->FieldCount(); ++n) {
    const QString campo = Table2->Fields(n).FieldName();
    if (!pedidos.contains(campo)) ui_->ListaCamposDisponibles->addItem(campo);
  }
  ActivarFlechas();
}

void TfGENECRES::ActivarFlechas() {
  const bool pedidos = ui_->ListaCamposSolicitados->count() > 0;
  const bool disponibles = ui_->ListaCamposDisponibles->count() > 0;
  ui_->pbANoAccesibles->setEnabled(pedidos);
  ui_->pbANoAccesiblesTodo->setEnabled(pedidos);
  ui_->pbAAccesibles->setEnabled(disponibles);
  ui_->pbAAccesiblesTodo->setEnabled(disponibles);
}


void TfGENECRES::escribirSolicitados() {
  StringList memo(lineas(*ui_->ListaCamposSolicitados));
  Table1->FieldByName(kCampos).SetAsString(memo.Text());
  ActivarFlechas();
}

void TfGENECRES::mover(QListWidget& origen, QListWidget& destino, bool todas) {
  if (!EditarRegistro(*Table1)) return;
  const bool aDisponibles = &origen == ui_->ListaCamposSolicitados;
  int primera = -1;
  for (int n = 0; n < origen.count();) {
    if (!todas && !origen.item(n)->isSelected()) {
      ++n;
      continue;
    }
    if (primera < 0) primera = n;
    const QString linea = origen.takeItem(n)->text();
    destino.addItem(aDisponibles ? nombreCampo(linea) : linea);
  }
  QListWidget& seleccion = todas ? destino : origen;
  seleccion.clearSelection();
  const int elegida = todas ? 0 : std::min(primera, seleccion.count() - 1);
  if (elegida >= 0 && seleccion.count() > 0) seleccion.setCurrentRow(elegida);
  escribirSolicitados();
}

void TfGENECRES::pbANoAccesiblesClick() { mover(*ui_->ListaCamposSolicitados, *ui_->ListaCamposDisponibles, false); }
void TfGENECRES::pbANoAccesiblesTodoClick() { mover(*ui_->ListaCamposSolicitados, *ui_->ListaCamposDisponibles, true); }
void TfGENECRES::pbAAccesiblesClick() { mover(*ui_->ListaCamposDisponibles, *ui_->ListaCamposSolicitados, false); }
void TfGENECRES::pbAAccesiblesTodoClick() { mover(*ui_->ListaCamposDisponibles, *ui_->ListaCamposSolicitados, true); }

void TfGENECRES::AsignarOperariosporDefecto1Click() {
  const QList<QListWidgetItem*> elegidas = ui_->ListaCamposSolicitados->selectedItems();
  for (const QListWidgetItem* linea : elegidas) {
    const QString campo = nombreCampo(linea->text());
    if (campo != QLatin1String("AprobadoPor") && campo != QLatin1String("RealizadoPor")) {
      MensajeAviso(QStringLiteral("Solo es posible asignar operarios por defecto a los campos AprobadoPor y RealizadoPor"));
      return;
    }
  }
  QString codigos;
  MensajePregunta(QStringLiteral("Introduzca los códigos de operario separados por comas: "), codigos);
  if (!EditarRegistro(*Table1)) {
    MensajeAviso(QStringLiteral("¡El registro está bloqueado por otro usuario!"));
    return;
  }
  for (QListWidgetItem* linea : elegidas)
    linea->setText(nombreCampo(linea->text()) + (codigos.isEmpty() ? QString() : u':' + codigos));
  escribirSolicitados();
}

void TfGENECRES::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    MostrarAyuda(ContextoAyuda(Caption().section(u':', 1).mid(1)));
    return;
  }
  MantenimientoRegistros::keyPressEvent(event);
}
