#include "platform/PlainMessage.h"

#include "platform/Application.h"

#include <QMessageBox>

namespace {

class MessageBoxDialog : public PlainMessage {
 public:
  void Show(const QString& text) override {
    const Application* application = Application::Instance();
    QMessageBox box(QMessageBox::NoIcon, application ? application->Title() : QString(), text, QMessageBox::Ok);
    box.exec();
  }
};

}  // namespace

PlainMessage& PlainMessage::Default() {
  static MessageBoxDialog dialog;
  return dialog;
}

void ShowMessage(const QString& text) { PlainMessageSeam::Get().Show(text); }
