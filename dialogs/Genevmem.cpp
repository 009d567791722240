#include "dialogs/Genevmem.h"

#include "core/forms/TeclasFormulario.h"
#include "core/services/RutinasBusqueda.h"
#include "core/datamodule/ExistenciaClave.h"
#include "core/forms/TablasFormulario.h"
#include "core/helpers/Textos.h"
#include "core/startup/TraduccionFormulario.h"
#include "platform/VirtualKeys.h"
#include "platform/controls/DBEdit.h"
#include "platform/data/DataSource.h"
#include "ui_GENEVMEM.h"

#include <QEvent>
#include <QLayout>

TfGENEVMEM* fGENEVMEM = nullptr;

TfGENEVMEM::TfGENEVMEM(QWidget* owner)
    : Form(owner), ui_(std::make_unique<Ui::TfGENEVMEM>()), dataSource1_(new DataSource(this)) {
  ui_->setupUi(this);
  dataSource1_->setObjectName(QStringLiteral("DataSource1"));
  // Named like its class, so made here rather than in the form file.
  memo_ = new DBMemo(this);
  memo_->setObjectName(QStringLiteral("DBMemo"));
  layout()->addWidget(memo_);
  memo_->SetSource(dataSource1_);
  memo_->viewport()->installEventFilter(this);
  OnKeyDown = [](Form& formulario, quint16& tecla, Qt::KeyboardModifiers estado) {
    if (tecla == VK::Escape)
      formulario.close();
    else
      TeclasFormulario(formulario, tecla, estado);
  };
  AbrirTablasFormulario(*this);
}

TfGENEVMEM::~TfGENEVMEM() {
  if (fGENEVMEM == this) fGENEVMEM = nullptr;
}

DBMemo& TfGENEVMEM::Memo() const { return *memo_; }

void TfGENEVMEM::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  TraducirFormulario(this);
}

void TfGENEVMEM::hideEvent(QHideEvent* event) {
  quitarLineasVaciasFinales();
  Form::hideEvent(event);
}

bool TfGENEVMEM::eventFilter(QObject* watched, QEvent* event) {
  if (watched == memo_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    BuscarEnMemo();
    return true;
  }
  return Form::eventFilter(watched, event);
}

void TfGENEVMEM::quitarLineasVaciasFinales() {
  DBMemo& memo = *memo_;
  QString texto = memo.toPlainText();
  qsizetype fin = texto.size();
  while (fin > 0 && (texto.at(fin - 1) == u'\n' || texto.at(fin - 1) == u'\r')) --fin;
  if (fin == texto.size()) return;
  texto.truncate(fin);
  memo.setPlainText(texto);
  if (!memo.isReadOnly()) memo.UpdateRecord();
}

void TfGENEVMEM::BuscarEnMemo() {
  DBMemo& memo = *memo_;
  if (busquedaMemo_.isEmpty() || memo.isReadOnly()) return;
  const QString tabla = ExtraerElemento(0, busquedaMemo_, u";"_qs);
  const QString campo = ExtraerElemento(2, busquedaMemo_, u";"_qs);
  const Variant clave = BuscarDato(tabla, ExtraerElemento(1, busquedaMemo_, u";"_qs).toInt());
  if (clave.IsNull() || clave.Elements().isEmpty()) return;
  QString valor = clave.Elements().first().AsString();
  if (!campo.isEmpty()) {
    QString claveTexto;
    for (const Variant& elemento : clave.Elements()) claveTexto += elemento.AsString() + u';';
    Variant valores;
    const Variant leido = ConsultaFiltrada(tabla, claveTexto, valores, campo);
    valor = leido.Elements().isEmpty() ? leido.AsString() : leido.Elements().first().AsString();
  }
  memo.moveCursor(QTextCursor::End);
  memo.insertPlainText(valor + u'\n');
  memo.UpdateRecord();
  repaint();
}
