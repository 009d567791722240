#include "platform/Form.h"

#include "platform/Application.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QScopedValueRollback>

namespace {

// Hands the mouse moves and key presses of every widget to the slots of the
// form the widget is on.
class FormInputEvents : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::MouseMove && event->type() != QEvent::KeyPress) return false;
    for (QObject* at = watched; at; at = at->parent()) {
      auto* form = qobject_cast<Form*>(at);
      if (!form) continue;
      if (event->type() == QEvent::MouseMove && form->OnMouseMove)
        form->OnMouseMove(*form, static_cast<QMouseEvent*>(event));
      else if (event->type() == QEvent::KeyPress && form->OnKeyDown)
        form->OnKeyDown(*form, static_cast<QKeyEvent*>(event));
      break;
    }
    return false;
  }
};

void watchInputEvents() {
  static QPointer<QObject> filter;
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || filter) return;
  filter = new FormInputEvents(app);
  app->installEventFilter(filter);
}

}  // namespace

Form::Form(QWidget* owner) : QDialog(owner) {
  watchInputEvents();
  if (Application* app = Application::Instance())
    connect(app, &Application::terminateRequested, this, [this] {
      if (modal_) SetModalResult(mrCancel);
    });
}

int Form::ShowModal() {
  const Application* app = Application::Instance();
  if (app && app->Terminated()) return modalResult_ = mrCancel;
  modalResult_ = mrNone;
  modal_ = true;
  const int result = exec();
  modal_ = false;
  // Closed by the window manager or Esc: no result was set.
  if (modalResult_ == mrNone) modalResult_ = result == QDialog::Rejected ? mrCancel : result;
  return modalResult_;
}

void Form::SetModalResult(int result) {
  if (modal_ && result != mrNone && !CloseQuery()) return;
  modalResult_ = result;
  if (modal_ && result != mrNone) QDialog::done(result);
}

bool Form::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(*this, canClose);
  return canClose;
}

void Form::closeEvent(QCloseEvent* event) {
  if (!CloseQuery()) {
    event->ignore();
    return;
  }
  const QScopedValueRollback asked(closeQueried_, true);
  QDialog::closeEvent(event);
}

void Form::done(int result) {
  if (!closeQueried_ && !CloseQuery()) return;
  // QDialog's own accept/reject route through here.
  modalResult_ = result == QDialog::Accepted ? mrOk : result == QDialog::Rejected ? mrCancel : result;
  QDialog::done(modalResult_);
}
