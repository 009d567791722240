#pragma once

#include "platform/Form.h"

#include <memory>

class QLabel;
class QWidget;

namespace Ui {
class TfGENEACER;
}

// The about box: product, version with the executable's date, the maker's
// contact links and the remote-support page.
class TfGENEACER : public Form {
  Q_OBJECT

 public:
  explicit TfGENEACER(QWidget* owner = nullptr);
  ~TfGENEACER() override;

  QLabel* NombreProducto() const;
  QLabel* Version() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FormShow();
  void alinearMarco();

  std::unique_ptr<Ui::TfGENEACER> ui_;
  QWidget* webBrowser1_;
};

// The support page file of the program folder, and its one line.
QString ArchivoPaginaSoporte();
QString PaginaSoporte();
// "Versión 2024b - (<the executable's last write>)", translated.
QString TextoVersion(const QString& ejecutable);
