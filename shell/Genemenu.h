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

 private:
  std::unique_ptr<Ui::TfGENEMENU> ui_;
};

extern TfGENEMENU* fGENEMENU;
