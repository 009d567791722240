#include "platform/Form.h"

#include "platform/Application.h"

Form::Form(QWidget* owner) : QDialog(owner) {
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
  modalResult_ = result;
  if (modal_ && result != mrNone) QDialog::done(result);
}

void Form::done(int result) {
  // QDialog's own accept/reject route through here.
  modalResult_ = result == QDialog::Accepted ? mrOk : result == QDialog::Rejected ? mrCancel : result;
  QDialog::done(modalResult_);
}
