#include "dialogs/Genekpad.h"

#include "platform/controls/DBGrid.h"
#include "platform/controls/DatasetModel.h"
#include "platform/data/DataSource.h"
#include "platform/data/Dataset.h"
#include "platform/data/Field.h"
#include "ui_GENEKPAD.h"

#include <QLineEdit>
#include <QMouseEvent>

TfGENEKPAD* fGENEKPAD = nullptr;

namespace {

const QString kIntro = QStringLiteral("Intro");
const QString kSupr = QStringLiteral("Supr");

void siguienteControl(QWidget& control) {
  for (QWidget* siguiente = control.nextInFocusChain(); siguiente && siguiente != &control;
       siguiente = siguiente->nextInFocusChain())
    if ((siguiente->focusPolicy() & Qt::TabFocus) && siguiente->isEnabled() && siguiente->isVisible() &&
        siguiente->window() == control.window()) {
      siguiente->setFocus(Qt::TabFocusReason);
      return;
    }
}

void teclaEnEdicion(QLineEdit& edicion, const QString& tecla) {
  edicion.end(false);
  if (tecla == kIntro)
    siguienteControl(edicion);
  else if (tecla == kSupr)
    edicion.backspace();
  else
    edicion.insert(tecla);
  edicion.end(false);
}

int columnaVisible(const DBGrid& rejilla, int desde, int paso) {
  for (int columna = desde; columna >= 0 && columna < rejilla.ColumnCount(); columna += paso)
    if (rejilla.ColumnVisible(columna)) return columna;
  return -1;
}

// The next row, a new one past the last.
void siguienteFila(Dataset& datos) {
  datos.Next();
  if (datos.Eof()) datos.Append();
}

void introEnRejilla(DBGrid& rejilla, Dataset& datos) {
  const int fila = rejilla.currentIndex().row();
  const int siguiente = columnaVisible(rejilla, rejilla.currentIndex().column() + 1, 1);
  if (siguiente >= 0) {
    rejilla.setCurrentIndex(rejilla.Model()->index(std::max(fila, 0), siguiente));
    return;
  }
  const DataSetState estado = datos.State();
  if (estado == dsInsert) {
    datos.Post();
    datos.Append();
  } else {
    if (estado == dsEdit) datos.Post();
    siguienteFila(datos);
  }
  const int primera = columnaVisible(rejilla, 0, 1);
  rejilla.setCurrentIndex(rejilla.Model()->index(std::max(rejilla.Model()->CurrentRow(), 0), std::max(primera, 0)));
}

}  // namespace

PanelTecla::PanelTecla(QWidget* parent) : QLabel(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(2);
  setAlignment(Qt::AlignCenter);
}

void PanelTecla::mousePressEvent(QMouseEvent* event) {
  setFrameShadow(QFrame::Sunken);
  event->accept();
}

void PanelTecla::mouseReleaseEvent(QMouseEvent* event) {
  setFrameShadow(QFrame::Raised);
  event->accept();
  if (rect().contains(event->position().toPoint())) emit Pulsada(text());
}

TfGENEKPAD::TfGENEKPAD(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENEKPAD>()) {
  ui_->setupUi(this);
  setFixedSize(sizeHint());
  for (PanelTecla* tecla : findChildren<PanelTecla*>()) connect(tecla, &PanelTecla::Pulsada, this, &TfGENEKPAD::Pulsar);
  fGENEKPAD = this;
}

TfGENEKPAD::~TfGENEKPAD() {
  if (fGENEKPAD == this) fGENEKPAD = nullptr;
}

void TfGENEKPAD::Pulsar(const QString& tecla) {
  if (!formularioDestino_) return;
  QWidget* control = formularioDestino_->focusWidget();
  if (auto* edicion = qobject_cast<QLineEdit*>(control)) {
    teclaEnEdicion(*edicion, tecla);
  } else if (auto* rejilla = qobject_cast<DBGrid*>(control)) {
    Dataset* datos = rejilla->Model()->DataSet();
    Field* campo = rejilla->SelectedField();
    if (!datos || !datos->Active()) return;
    if (tecla == kIntro) {
      introEnRejilla(*rejilla, *datos);
    } else if (campo && tecla == kSupr) {
      if (datos->State() == dsBrowse) datos->Edit();
      campo->SetText(campo->Text().chopped(std::min<qsizetype>(1, campo->Text().size())));
    } else if (tecla == u",") {
      comaPendiente_ = tecla;
    } else if (campo) {
      if (datos->State() == dsBrowse) datos->Edit();
      campo->SetText(campo->Text() + std::exchange(comaPendiente_, QString()) + tecla);
    }
  }
  formularioDestino_->activateWindow();
}
