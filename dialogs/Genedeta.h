#pragma once

#include "platform/CommonDialogs.h"
#include "platform/Form.h"

#include <QString>

#include <functional>
#include <memory>

namespace Ui {
class TfGENEDETA;
}

class QFileDialog;
class QWidget;

// The detail viewer: shows a long text as plain text or HTML.
class TfGENEDETA : public Form {
  Q_OBJECT

 public:
  explicit TfGENEDETA(QWidget* owner = nullptr);
  ~TfGENEDETA() override;

  // Prints the text once the print dialog is accepted: the caption in upper
  // case, an empty line, then the lines; an HTML text without its tags.
  void pbImprimirClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  friend void MostrarDetalle(const QString& texto, const QString& titulo, const QString& opciones);

  bool Preparar(const QString& texto, const QString& opciones);
  void GuardarTexto(const QString& texto);

  std::unique_ptr<Ui::TfGENEDETA> ui_;
  std::unique_ptr<QFileDialog> SaveDialog1;
  PrintDialog PrintDialog1;
  QString texto_;
  bool html_ = false;
};

extern TfGENEDETA* fGENEDETA;

// Shows the text modally, with the options "Fuente=<name>,<size>",
// "Formato=<width>,<height>" and "Interprete=HTML"; returns once it closes.
// A text the window cannot show (longer than it lays out in time, a page that
// cannot be written) is offered to be saved instead.
void MostrarDetalle(const QString& texto, const QString& titulo, const QString& opciones = QString());

// The web view the HTML text is shown in: it shows the page of the address
// inside the panel. The program gives it; until then no page is shown.
using VisorDetalle = std::function<void(QWidget& panel, const QString& direccion)>;
void InstalarVisorDetalle(VisorDetalle visor);
// The file the HTML text is written to: the program file's name and ".html"
// in the temporary folder.
QString PaginaDetalle();
// The most the memo shows; beyond it the text is offered as a file.
constexpr qsizetype kTextoMaximoDetalle = 4 * 1024 * 1024;
// Lines longer than this wrap anywhere: wrapped at words they would take the
// memo a time growing with the square of their length.
constexpr qsizetype kLineaLargaDetalle = 10000;
