#pragma once

#include "platform/Seam.h"

#include <QString>

class QUrl;
class QWidget;

// The web view embedded in a form: made inside a panel, which it fills, and
// sent to a page. The program puts the full web engine in place at start-up;
// without it the view shows plain HTML and runs no script.
class VisorWeb {
 public:
  virtual ~VisorWeb() = default;
  // The view, a child of the panel.
  virtual QWidget* Crear(QWidget& panel) = 0;
  // A view for texts the program did not write: it runs no script, and its
  // local page reaches no remote address.
  virtual QWidget* CrearSinScripts(QWidget& panel) { return Crear(panel); }
  // Loads the page of the address into a view made by Crear; a page that
  // cannot be loaded leaves the view empty.
  virtual void Navegar(QWidget& vista, const QString& direccion) = 0;

  static VisorWeb& Default();
};

using VisorWebSeam = Seam<VisorWeb>;

// Makes the view of VisorWeb::Crear fill the panel.
void LlenarPanel(QWidget& panel, QWidget& vista);

// Whether a page shown without scripts may go on from its document to the
// address: only to what lies in the document's own folder (a folder shown
// is its own), on the same site.
bool NavegacionPermitida(const QUrl& documento, const QUrl& destino);
