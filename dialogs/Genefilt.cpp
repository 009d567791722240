#include "dialogs/Genefilt.h"

#include "core/connections/AperturaTablas.h"
#include "core/connections/Conexiones.h"
#include "core/datamodule/CamposNoVisibles.h"
#include "core/datamodule/Traduccion.h"
#include "core/forms/PreparacionFormulario.h"
#include "core/forms/TeclasFormulario.h"
#include "core/helpers/Textos.h"
#include "core/helpers/TiposCampo.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/MensajesSQL.h"
#include "core/startup/Geneinic.h"
#include "core/startup/TraduccionFormulario.h"
#include "core/tables/NombresTablas.h"
#include "platform/VirtualKeys.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/sqlite/DatabaseError.h"
#include "ui_GENEFILT.h"

#include <QKeyEvent>
#include <QMenuBar>

TfGENEFILT* fGENEFILT = nullptr;

namespace {

const QString kDescripcion = QStringLiteral("Descripcion");
const QString kFiltro = QStringLiteral("Filtro");

bool bloqueado(const std::exception& error) {
  const auto* base = dynamic_cast<const EDatabaseError*>(&error);
  return base && base->EngineMessage() == QLatin1String(EngineText::RecordLocked);
}

}  // namespace

TfGENEFILT::TfGENEFILT(QWidget* owner)
    : Form(owner), ui_(std::make_unique<Ui::TfGENEFILT>()), Filtro(new Table(this)), DSFiltro(new DataSource(this)) {
  ui_->setupUi(this);
  Filtro->setObjectName(QStringLiteral("Filtro"));
  Filtro->SetTableName(QStringLiteral("FILTRO"));
  DSFiltro->setObjectName(QStringLiteral("DSFiltro"));
  DSFiltro->SetDataSet(Filtro);
  MainMenu1 = new QMenuBar(this);
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  layout()->setMenuBar(MainMenu1);
  QMenu* archivo = MainMenu1->addMenu(QStringLiteral("&Archivo"));
  connect(archivo->addAction(QStringLiteral("&Guardar")), &QAction::triggered, this, &TfGENEFILT::Guardar1Click);
  connect(archivo->addAction(QStringLiteral("Guardar &Como...")), &QAction::triggered, this,
          &TfGENEFILT::GuardarComo1Click);
  connect(archivo->addAction(QStringLiteral("&Eliminar")), &QAction::triggered, this, &TfGENEFILT::Eliminar1Click);
  connect(archivo->addAction(QStringLiteral("&Salir")), &QAction::triggered, this, [this] { SetModalResult(mrCancel); });
  connect(ui_->pbAgregar, &QPushButton::clicked, this, &TfGENEFILT::pbAgregarClick);
  connect(ui_->pbAplicar, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
  connect(ui_->pbCancelar, &QPushButton::clicked, this, [this] { SetModalResult(mrCancel); });
  connect(ui_->pbRestablecer, &QPushButton::clicked, this, [this] {
    ui_->MemoFiltros->clear();
    SetModalResult(mrOk);
  });
  connect(ui_->EditDescripcionFiltro, qOverload<int>(&QComboBox::activated), this,
          &TfGENEFILT::EditDescripcionFiltroChange);
  for (QWidget* control : findChildren<QWidget*>()) control->installEventFilter(this);
  // Enter is the form's own (see eventFilter).
  OnKeyDown = [](Form& formulario, quint16& tecla, Qt::KeyboardModifiers estado) {
    if (tecla != VK::Return) TeclasFormulario(formulario, tecla, estado);
  };
  PrepararFormulario(*this);
}

TfGENEFILT::~TfGENEFILT() {
  if (fGENEFILT == this) fGENEFILT = nullptr;
}

void FiltrarTabla(Dataset& dataSet) {
  TfGENEFILT* dialogo = fGENEFILT;
  if (!dialogo || !dialogo->abrir(dataSet)) return;
  if (dialogo->ShowModal() != mrOk) return;
  try {
    dataSet.SetFilter(dialogo->ui_->MemoFiltros->toPlainText());
    dataSet.SetFiltered(true);
  } catch (const std::exception&) {
    dataSet.SetFiltered(false);
    MensajeAviso(QStringLiteral("¡La lista de filtros es incorrecta! Inténtelo de nuevo."));
  }
  dataSet.First();
}

bool TfGENEFILT::abrir(Dataset& dataSet) {
  const auto* tabla = qobject_cast<const Table*>(&dataSet);
  NombreTablaFiltro = tabla ? tabla->TableName() : dataSet.objectName().toUpper();
  if (EsSQLServer()) NombreTablaFiltro = QuitarPrefijoTabla(NombreTablaFiltro);
  Filtro->Close();
  if (!fGENEINIC || !AbrirTabla(*fGENEINIC, *this, *Filtro)) return false;
  Filtro->SetRange({Variant::String(NombreTablaFiltro)}, {Variant::String(NombreTablaFiltro)});
  listarFiltros(QString());
  ui_->MemoFiltros->setPlainText(!dataSet.Filter().isEmpty() ? dataSet.Filter()
                                 : Filtro->IsEmpty()         ? QString()
                                                             : Filtro->FieldByName(kFiltro).AsString());
  ui_->ListaCampos->clear();
  TiposCampos.clear();
  for (int i = 0; i < dataSet.FieldCount(); ++i) {
    const Field& campo = dataSet.Fields(i);
    const bool memo = campo.DataType() == ftMemo || campo.DataType() == ftFmtMemo;
    if (memo || campo.FieldKind() != fkData || CampoNoVisible(campo.FieldName())) continue;
    ui_->ListaCampos->addItem(campo.FieldName());
    TiposCampos.append(TextoDeTipoCampo(campo.DataType()));
  }
  SetCaption(Traducir(QStringLiteral("Filtrar Registros de la Tabla")) + u' ' + NombreTablaFiltro);
  ui_->ListaCampos->setCurrentIndex(0);
  ui_->Valor->clear();
  ui_->ListaCampos->setFocus();
  return true;
}

// The descriptions of the table's filters, the one named (else the first) current.
void TfGENEFILT::listarFiltros(const QString& elegido) {
  QStringList descripciones;
  for (Filtro->First(); !Filtro->Eof(); Filtro->Next()) descripciones.append(Filtro->FieldByName(kDescripcion).AsString());
  ui_->EditDescripcionFiltro->clear();
  ui_->EditDescripcionFiltro->addItems(descripciones);
  const int indice = elegido.isEmpty() ? 0 : static_cast<int>(descripciones.indexOf(elegido));
  ui_->EditDescripcionFiltro->setCurrentIndex(descripciones.isEmpty() ? -1 : std::max(indice, 0));
  if (!descripciones.isEmpty()) Filtro->Locate(kDescripcion, Variant::String(descripciones.value(std::max(indice, 0))));
}

void TfGENEFILT::EditDescripcionFiltroChange() {
  const QString descripcion = ui_->EditDescripcionFiltro->currentText();
  if (Filtro->Active() && Filtro->Locate(kDescripcion, Variant::String(descripcion)))
    ui_->MemoFiltros->setPlainText(Filtro->FieldByName(kFiltro).AsString());
}

void TfGENEFILT::pbAgregarClick() {
  QPlainTextEdit& memo = *ui_->MemoFiltros;
  if (memo.toPlainText() == u"\n" || memo.toPlainText() == u"\r\n") memo.clear();
  if (ui_->Valor->text().isEmpty()) return;
  QStringList lineas = memo.toPlainText().split(u'\n');
  if (memo.toPlainText().isEmpty()) lineas.clear();
  if (!lineas.isEmpty()) lineas.last() += QStringLiteral(" AND");
  lineas.append(u'(' + ui_->ListaCampos->currentText() + u' ' + ui_->Operador->currentText() + u' ' +
                Entrecomillar(ui_->Valor->text()) + u')');
  memo.setPlainText(lineas.join(u'\n'));
}

void TfGENEFILT::Guardar1Click() {
  const QString descripcion = ui_->EditDescripcionFiltro->currentText();
  if (descripcion.isEmpty() || !Filtro->Locate(kDescripcion, Variant::String(descripcion))) return GuardarComo1Click();
  try {
    Filtro->Edit();
    Filtro->FieldByName(kFiltro).SetAsString(ui_->MemoFiltros->toPlainText());
    Filtro->Post();
  } catch (const std::exception& error) {
    if (Filtro->State() != dsBrowse) Filtro->Cancel();
    MensajeAviso(bloqueado(error) ? QStringLiteral("¡El registro está siendo utilizado por otro usuario!")
                                  : QStringLiteral("¡Imposible grabar el registro!"));
  }
}

void TfGENEFILT::GuardarComo1Click() {
  QString descripcion;
  MensajePregunta(QStringLiteral("Introduzca la Descripción del Filtro: "), descripcion);
  if (descripcion.isEmpty()) return;
  try {
    Filtro->Insert();
    Filtro->FieldByName(QStringLiteral("NombreTabla")).SetAsString(NombreTablaFiltro);
    Filtro->FieldByName(kDescripcion).SetAsString(descripcion);
    Filtro->FieldByName(kFiltro).SetAsString(ui_->MemoFiltros->toPlainText());
    Filtro->Post();
  } catch (const std::exception&) {
    if (Filtro->State() != dsBrowse) Filtro->Cancel();
    MensajeAviso(QStringLiteral("¡Imposible grabar el registro!"));
    return;
  }
  listarFiltros(descripcion);
  EditDescripcionFiltroChange();
}

void TfGENEFILT::Eliminar1Click() {
  const QString descripcion = ui_->EditDescripcionFiltro->currentText();
  if (descripcion.isEmpty() || !Filtro->Locate(kDescripcion, Variant::String(descripcion))) return;
  try {
    Filtro->Delete();
  } catch (const std::exception& error) {
    MensajeAviso(bloqueado(error) ? QStringLiteral("¡El registro está siendo utilizado por otro usuario!")
                                  : TextoExcepcion(error));
    return;
  }
  listarFiltros(QString());
  ui_->MemoFiltros->setPlainText(Filtro->IsEmpty() ? QString() : Filtro->FieldByName(kFiltro).AsString());
}

void TfGENEFILT::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  if (!event->spontaneous()) TraducirFormulario(this);
}

void TfGENEFILT::done(int result) {
  Filtro->Close();
  Form::done(result);
}

// Enter moves on to the next control.
bool TfGENEFILT::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int tecla = static_cast<QKeyEvent*>(event)->key();
    if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
      focusNextChild();
      return true;
    }
  }
  return Form::eventFilter(watched, event);
}
