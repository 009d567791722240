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
  bool AskYesNo(const QString& title, const QString& text) override {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
  }
};

}  // namespace

PlainMessage& PlainMessage::Default() {
  static MessageBoxDialog dialog;
  return dialog;
}

void ShowMessage(const QString& text) { PlainMessageSeam::Get().Show(text); }

bool AskYesNo(const QString& title, const QString& text) { return PlainMessageSeam::Get().AskYesNo(title, text); }
