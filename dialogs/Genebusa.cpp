#include "dialogs/Genebusa.h"

#include "core/connections/Conexiones.h"
#include "core/datamodule/CamposNoVisibles.h"
#include "core/datamodule/CatalogoClaves.h"
#include "core/datamodule/Traduccion.h"
#include "core/forms/ControlesNoVisibles.h"
#include "core/forms/FormatosCampo.h"
#include "core/forms/GanchosFormulario.h"
#include "core/forms/PreparacionFormulario.h"
#include "core/forms/TeclasFormulario.h"
#include "core/helpers/Letras.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/Tablas.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/BaseDatosSQL.h"
#include "core/startup/TraduccionFormulario.h"
#include "core/tables/NombresTablas.h"
#include "dialogs/LecturaPaquetes.h"
#include "dialogs/PatronAproximado.h"
#include "dialogs/SentenciaBusqueda.h"
#include "platform/VirtualKeys.h"
#include "platform/data/ClientDataset.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "ui_GENEBUSA.h"

#include <QKeyEvent>

TfGENEBUSA* fGENEBUSA = nullptr;

namespace {

constexpr int kPaquete = 100;

bool esIntro(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int tecla = static_cast<const QKeyEvent*>(event)->key();
  return tecla == Qt::Key_Return || tecla == Qt::Key_Enter;
}

// Floats in the suite's number format; a time of day kept in a date-time
// field shown as the time alone.
void formatoRejilla(Field& campo) {
  if (campo.DataType() == ftFloat || campo.DataType() == ftCurrency)
    campo.SetDisplayFormat(FormatoNumerico(campo.FieldName()));
  else if (campo.DataType() == ftDateTime && campo.FieldName().contains(QLatin1String("Hora")))
    campo.SetDisplayFormat(QStringLiteral("hh:nn:ss"));
}

}  // namespace

TfGENEBUSA::TfGENEBUSA(QWidget* owner)
    : Form(owner),
      ui_(std::make_unique<Ui::TfGENEBUSA>()),
      Query1(new Query(this)),
      ClientDataSet1(new ClientDataset(this)),
      DataSource1(new DataSource(this)) {
  ui_->setupUi(this);
  ui_->Splitter1->setSizes({221, width() - 221});
  Query1->setObjectName(QStringLiteral("Query1"));
  ClientDataSet1->setObjectName(QStringLiteral("ClientDataSet1"));
  DataSource1->setObjectName(QStringLiteral("DataSource1"));
  DataSource1->SetDataSet(ClientDataSet1);
  lectura_ = std::make_unique<LecturaPaquetes>(*ClientDataSet1, *Query1);
  ui_->DBGrid1->SetSource(DataSource1);
  connect(ui_->pbBuscar, &QPushButton::clicked, this, &TfGENEBUSA::pbBuscarClick);
  connect(ui_->pbConforme, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
  connect(ui_->pbCancelar, &QPushButton::clicked, this, [this] { SetModalResult(mrCancel); });
  connect(ui_->DBGrid1, &QAbstractItemView::doubleClicked, this, [this] { SetModalResult(mrOk); });
  ui_->DBGrid1->installEventFilter(this);
  ui_->ValueListEditor->installEventFilter(this);
  // Enter is the grid's and the criteria's own.
  OnKeyDown = [](Form& formulario, quint16& tecla, Qt::KeyboardModifiers estado) {
    if (tecla != VK::Return) TeclasFormulario(formulario, tecla, estado);
  };
  OnKeyPress = [](Form& formulario, QChar& tecla) {
    if (tecla != u'\r') PulsacionTecla(formulario, tecla);
  };
  PrepararFormulario(*this);
}

TfGENEBUSA::~TfGENEBUSA() {
  if (fGENEBUSA == this) fGENEBUSA = nullptr;
}

QString TfGENEBUSA::BuscarAproximado(const QString& tabla) {
  lectura_->Cerrar();
  TablaBusqueda = QuitarPrefijoTabla(tabla);
  Query1->SetDatabaseName(BaseDatosADO(
      EsTablaGeneral(TablaBusqueda) ? QStringLiteral("DatabaseGeneral") : QStringLiteral("Database"), QString()));
  SetCaption(QStringLiteral("Búsqueda por Aproximación en la tabla ") + TablaBusqueda);
  QStringList noValidos;
  ColumnasBusqueda =
      ListaColumnas(TablaBusqueda, QStringLiteral("SinMemos"), &noValidos).split(u';', Qt::SkipEmptyParts);
  for (const QString& nombre : noValidos) MensajeAviso(MensajeNombreNoValido(nombre));
  for (qsizetype i = ColumnasBusqueda.size() - 1; i >= 0; --i)
    if (CampoNoVisible(ColumnasBusqueda[i]) || ColumnasBusqueda[i].startsWith(QLatin1String("Error.")))
      ColumnasBusqueda.removeAt(i);
  QTableWidget& criterios = *ui_->ValueListEditor;
  criterios.setRowCount(0);
  criterios.setRowCount(static_cast<int>(ColumnasBusqueda.size()));
  for (int fila = 0; fila < criterios.rowCount(); ++fila) {
    const QString& columna = ColumnasBusqueda[fila];
    auto* nombre = new QTableWidgetItem(Traducir(AbreviarNombre(columna, 1)));
    nombre->setFlags(Qt::ItemIsEnabled);
    nombre->setForeground(QColor(0x00, 0x00, 0x80));
    nombre->setData(Qt::UserRole, columna);
    criterios.setItem(fila, 0, nombre);
    criterios.setItem(fila, 1, new QTableWidgetItem());
  }
  criterios.setFocus();
  QString claves;
  if (ShowModal() == mrOk) claves = clavesElegidas();
  // Accepting with no row chooses nothing.
  if (claves.isEmpty()) SetModalResult(mrCancel);
  lectura_->Cerrar();
  return claves;
}

QString TfGENEBUSA::clavesElegidas() const {
  if (!ClientDataSet1->Active() || ClientDataSet1->IsEmpty()) return {};
  QStringList claves = CamposClavePrimaria(TablaBusqueda).split(u';', Qt::SkipEmptyParts);
  if (!claves.isEmpty() && claves.front().startsWith(QLatin1String("Error."))) claves.clear();
  if (claves.isEmpty()) return ClientDataSet1->Fields(0).AsString();
  QStringList valores;
  for (const QString& clave : claves) {
    const Field* campo = ClientDataSet1->FindField(clave);
    const QString valor = campo ? campo->AsString() : QString();
    valores.append(valor.isEmpty() ? QStringLiteral("NULL") : valor);
  }
  return valores.join(QLatin1String("\r\n"));
}

QString TfGENEBUSA::Condicion() const {
  QString condicion;
  for (int fila = 0; fila < ui_->ValueListEditor->rowCount(); ++fila) {
    const QTableWidgetItem* celda = ui_->ValueListEditor->item(fila, 1);
    QString valor = celda ? celda->text() : QString();
    if (valor.isEmpty()) continue;
    if (EsSQLServer()) valor = PatronAproximado(valor);
    condicion += (condicion.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ")) +
                 TerminoAproximado(ColumnasBusqueda.value(fila), valor);
  }
  return condicion;
}

const QString& TfGENEBUSA::UltimaSentencia() const { return lectura_->Sentencia(); }

void TfGENEBUSA::pbBuscarClick() {
  // A cell being edited gives its value first.
  if (QWidget* editor = ui_->ValueListEditor->indexWidget(ui_->ValueListEditor->currentIndex())) editor->clearFocus();
  ui_->ValueListEditor->setCurrentCell(-1, -1);
  lectura_->Cerrar();
  const QString condicion = Condicion();
  if (condicion.isEmpty()) {
    MensajeInformacion(QStringLiteral("¡Debe introducir alguna restricción para realizar la búsqueda!"));
    return;
  }
  const QString seleccion = QStringLiteral("SELECT * FROM ") + NombreSQLTabla(TablaBusqueda);
  QStringList claves = CamposClavePrimaria(TablaBusqueda).split(u';', Qt::SkipEmptyParts);
  if (!claves.isEmpty() && claves.front().startsWith(QLatin1String("Error."))) claves.clear();
  // Unordered by the statement itself; the key orders the packets.
  const bool abierta = claves.isEmpty()
                           ? lectura_->Abrir(seleccion + condicion)
                           : lectura_->Abrir(std::make_unique<PaquetesBusqueda>(seleccion, condicion, claves, kPaquete));
  if (!abierta) return;
  OcultarCamposRestringidos(*this);
  for (int i = 0; i < ClientDataSet1->FieldCount(); ++i) {
    Field& campo = ClientDataSet1->Fields(i);
    campo.SetDisplayLabel(AbreviarNombre(campo.DisplayLabel(), 1));
    formatoRejilla(campo);
  }
  TraducirFormulario(this);
  ui_->DBGrid1->setFocus();
}

void TfGENEBUSA::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  if (!event->spontaneous()) TraducirFormulario(this);
}

bool TfGENEBUSA::eventFilter(QObject* watched, QEvent* event) {
  if (esIntro(event)) {
    if (watched == ui_->DBGrid1) SetModalResult(mrOk);
    // In the criteria the key only ends the cell's edit (the editor's own
    // handling has done so): it never reaches the default button.
    return true;
  }
  return Form::eventFilter(watched, event);
}
