#pragma once

#include "platform/Form.h"

class QLabel;
class QWidget;

// The about box: product, version with the executable's date, the maker's
// contact links and the remote-support page.
class TfGENEACER : public Form {
  Q_OBJECT

 public:
  explicit TfGENEACER(QWidget* owner = nullptr);

  QLabel* NombreProducto() const { return nombreProducto_; }
  QLabel* Version() const { return version_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();

  QLabel* version_;
  QLabel* nombreProducto_;
  QLabel* aviso_;
  QWidget* panelWebBrowser_;
};

// The support page file of the program folder, and its one line.
QString ArchivoPaginaSoporte();
QString PaginaSoporte();
// "Versión 2024b - (<the executable's last write>)", translated.
QString TextoVersion(const QString& ejecutable);
