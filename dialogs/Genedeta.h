#pragma once

#include "platform/Form.h"

#include <QString>

#include <functional>
#include <memory>

namespace Ui {
class TfGENEDETA;
}

class QWidget;

// The detail viewer: shows a long text as plain text or HTML.
class TfGENEDETA : public Form {
  Q_OBJECT

 public:
  explicit TfGENEDETA(QWidget* owner = nullptr);
  ~TfGENEDETA() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  friend void MostrarDetalle(const QString& texto, const QString& titulo, const QString& opciones);

  std::unique_ptr<Ui::TfGENEDETA> ui_;
};

extern TfGENEDETA* fGENEDETA;

// Shows the text modally, with the options "Fuente=<name>,<size>",
// "Formato=<width>,<height>" and "Interprete=HTML"; returns once it closes.
void MostrarDetalle(const QString& texto, const QString& titulo, const QString& opciones = QString());

// The web view the HTML text is shown in: it shows the page of the address
// inside the panel. The program gives it; until then no page is shown.
using VisorDetalle = std::function<void(QWidget& panel, const QString& direccion)>;
void InstalarVisorDetalle(VisorDetalle visor);
// The file the HTML text is written to: the program file's name and ".html"
// in the temporary folder.
QString PaginaDetalle();
