#include "platform/VisorWeb.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

class VisorHTML : public VisorWeb {
 public:
  QWidget* Crear(QWidget& panel) override {
    auto* vista = new QTextBrowser(&panel);
    vista->setFrameShape(QFrame::NoFrame);
    vista->setOpenLinks(false);
    LlenarPanel(panel, *vista);
    return vista;
  }

  void Navegar(QWidget& vista, const QString& direccion) override {
    auto* navegador = qobject_cast<QTextBrowser*>(&vista);
    if (!navegador) return;
    const QUrl url(direccion);
    // Only local pages: this view has no network.
    if (url.isLocalFile())
      navegador->setSource(url, QTextDocument::HtmlResource);
    else
      navegador->clear();
  }
};

}  // namespace

void LlenarPanel(QWidget& panel, QWidget& vista) {
  QLayout* capa = panel.layout();
  if (!capa) {
    capa = new QVBoxLayout(&panel);
    capa->setContentsMargins(0, 0, 0, 0);
  }
  capa->addWidget(&vista);
}

VisorWeb& VisorWeb::Default() {
  static VisorHTML visor;
  return visor;
}
