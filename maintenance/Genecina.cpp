#include "maintenance/Genecina.h"

#include "core/forms/GanchosFormulario.h"
#include "core/forms/PreparacionFormulario.h"
#include "core/forms/TablasFormulario.h"
#include "core/helpers/Letras.h"
#include "core/helpers/Textos.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/Ayuda.h"
#include "core/startup/TraduccionFormulario.h"
#include "maintenance/CampoHora.h"
#include "platform/FormRegistry.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "ui_GENECINA.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>

TfGENECINA* fGENECINA = nullptr;

namespace {

constexpr int kLongitudCalculado = 200;

// A memo on one grid line: its line breaks as ". ", cut to the field's size.
QString UnaLinea(const QString& memo) {
  QString texto = memo;
  ReemplazarTexto(QStringLiteral("\r\n"), QStringLiteral(". "), texto);
  return texto.left(kLongitudCalculado);
}

}  // namespace

TfGENECINA::TfGENECINA(QWidget* owner)
    : Form(owner), Table1(new Table(this)), DataSource1(new DataSource(this)), ui_(std::make_unique<Ui::TfGENECINA>()) {
  ui_->setupUi(this);
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setGeometry(screen()->availableGeometry());  // also where no window manager maximises it
  setWindowState(Qt::WindowMaximized);
  Table1->setObjectName(QStringLiteral("Table1"));
  Table1->SetTableName(QStringLiteral("INCAPLIC"));
  DataSource1->setObjectName(QStringLiteral("DataSource1"));
  DataSource1->SetDataSet(Table1);
  for (const char* nombre : {"DescripcionStr", "CondicionesStr"})
    (new Field(Table1, QString::fromLatin1(nombre), ftString, kLongitudCalculado))->SetFieldKind(fkCalculated);
  Table1->OnCalcFields = [this](Dataset&) { Table1CalcFields(); };
  Table1->AfterOpen = [](Dataset& tabla) { MostrarComoHoraAlAbrir(tabla, QStringLiteral("Hora")); };
  ui_->DBGrid1->SetSource(DataSource1);
  ui_->DBGrid1->SetReadOnly(true);
  QPalette colores = ui_->DBGrid1->palette();
  colores.setColor(QPalette::Base, colores.color(QPalette::ToolTipBase));
  ui_->DBGrid1->setPalette(colores);

  auto* menu = new QMenu(this);
  menu->setObjectName(QStringLiteral("PopupMenu1"));
  const auto item = [this, menu](const char* nombre, const QString& texto, QKeySequence atajo, auto accion) {
    QAction* entrada = menu->addAction(texto, this, accion);
    entrada->setObjectName(QString::fromLatin1(nombre));
    entrada->setShortcut(atajo);
    addAction(entrada);
  };
  item("FiltrarRegistros1", QStringLiteral("&Filtrar Registros..."), {}, [this] { FiltrarRegistros1Click(); });
  item("FiltrarRegistrosporValorIgualA", QStringLiteral("Filtrar Registros por Valor &Igual a..."),
       QKeySequence(Qt::CTRL | Qt::Key_I), [this] { FiltrarRegistrosporValorClick(IgualA); });
  item("FiltrarRegistrosporValorDesde", QStringLiteral("Filtrar Registros por Valor &Desde..."),
       QKeySequence(Qt::CTRL | Qt::Key_D), [this] { FiltrarRegistrosporValorClick(Desde); });
  item("FiltrarRegistrosporValorHasta", QStringLiteral("Filtrar Registros por Valor &Hasta..."),
       QKeySequence(Qt::CTRL | Qt::Key_H), [this] { FiltrarRegistrosporValorClick(Hasta); });
  ui_->DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ui_->DBGrid1, &QWidget::customContextMenuRequested, this,
          [this, menu](const QPoint& punto) { menu->popup(ui_->DBGrid1->viewport()->mapToGlobal(punto)); });
  connect(ui_->SpeedButton2, &QToolButton::clicked, this, [this] { MostrarAyuda(ContextoAyuda(Caption())); });
  ui_->DBGrid1->installEventFilter(this);
  installEventFilter(this);  // the keys the controls leave to the form

  PrepararFormulario(*this);
  AbrirTablasFormulario(*this);
  if (Table1->Active()) Table1->First();
  ui_->DBGrid1->WidenToTitles();
}

TfGENECINA::~TfGENECINA() {
  if (fGENECINA == this) fGENECINA = nullptr;
}

void RegistrarGENECINA() {
  FormRegistry::Register(QStringLiteral("TfGENECINA"), [](QWidget* owner) { return new TfGENECINA(owner); });
}

void TfGENECINA::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  TraducirFormulario(this);
}

void TfGENECINA::Table1CalcFields() {
  Table1->FieldByName(QStringLiteral("DescripcionStr"))
      .SetAsString(UnaLinea(Table1->FieldByName(QStringLiteral("Descripcion")).AsString()));
  Table1->FieldByName(QStringLiteral("CondicionesStr"))
      .SetAsString(UnaLinea(Table1->FieldByName(QStringLiteral("Condiciones")).AsString()));
}

void TfGENECINA::FiltrarRegistros1Click() {
  if (Ganchos().FiltrarTabla) Ganchos().FiltrarTabla(*Table1);
}

void TfGENECINA::FiltrarRegistrosporValorClick(Operador operador) {
  const DataSetState estado = Table1->State();
  if (estado == dsEdit || estado == dsInsert || estado == dsSetKey) return;
  const Field* campo = ui_->DBGrid1->SelectedField();
  if (!campo || campo->Calculated()) return;
  static const QString kSimbolos[] = {QStringLiteral("="), QStringLiteral(">="), QStringLiteral("<=")};
  static const QString kPreguntas[] = {QStringLiteral("Introduzca el valor del campo "),
                                       QStringLiteral("Introduzca el valor Desde "),
                                       QStringLiteral("Introduzca el valor Hasta ")};
  const QString nombre = campo->FieldName();
  QString valor = campo->Text();
  MensajePregunta(kPreguntas[operador] + AbreviarNombre(nombre, 1), valor);
  if (valor.isEmpty()) return;
  const QString anterior = Table1->Filter();
  const bool filtrada = Table1->Filtered();
  try {
    Table1->SetFiltered(false);
    QString filtro = anterior;
    if (!filtro.isEmpty()) filtro += QStringLiteral(" AND ");
    filtro += u'(' + nombre + u' ' + kSimbolos[operador] + u' ' + Entrecomillar(valor) + u')';
    Table1->SetFilter(filtro);
    Table1->SetFiltered(true);
  } catch (const std::exception&) {
    // The table keeps the filter it had.
    try {
      Table1->SetFilter(anterior);
      Table1->SetFiltered(filtrada);
    } catch (const std::exception&) {
    }
    MensajeAviso(QStringLiteral("¡No ha sido posible filtrar registros!"));
  }
}

// In the grid Enter moves on as Tab does and F2 does nothing; Esc, from any
// control, closes the consultation.
bool TfGENECINA::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* tecla = static_cast<QKeyEvent*>(event);
    if (tecla->key() == Qt::Key_Escape && tecla->modifiers() == Qt::NoModifier) {
      close();
      return true;
    }
    if (watched != ui_->DBGrid1) return Form::eventFilter(watched, event);
    if (tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) {
      focusNextChild();
      return true;
    }
    if (tecla->key() == Qt::Key_F2 && tecla->modifiers() == Qt::NoModifier) return true;
  }
  return Form::eventFilter(watched, event);
}
