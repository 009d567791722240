#pragma once

#include <QMainWindow>

#include <memory>

namespace Ui {
class TfGENEMENU;
}

// The MDI main window of the application manager.
class TfGENEMENU : public QMainWindow {
  Q_OBJECT

 public:
  explicit TfGENEMENU(QWidget* parent = nullptr);
  ~TfGENEMENU() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();

  std::unique_ptr<Ui::TfGENEMENU> ui_;
  bool mostrado_ = false;
};

extern TfGENEMENU* fGENEMENU;
