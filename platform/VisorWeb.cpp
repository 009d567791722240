#include "platform/VisorWeb.h"

#include <QFileInfo>
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

bool NavegacionPermitida(const QUrl& documento, const QUrl& destino) {
  const QUrl origen = documento.adjusted(QUrl::NormalizePathSegments | QUrl::RemoveQuery | QUrl::RemoveFragment);
  const QUrl final = destino.adjusted(QUrl::NormalizePathSegments | QUrl::RemoveQuery | QUrl::RemoveFragment);
  if (!origen.isValid() || !final.isValid() || origen.scheme().compare(final.scheme(), Qt::CaseInsensitive) != 0 ||
      origen.host().compare(final.host(), Qt::CaseInsensitive) != 0 || origen.port() != final.port())
    return false;
  QString carpeta = origen.path();
  if (!(origen.isLocalFile() && QFileInfo(origen.toLocalFile()).isDir()) || carpeta.isEmpty())
    carpeta.truncate(carpeta.lastIndexOf(u'/') + 1);
  if (!carpeta.endsWith(u'/')) carpeta += u'/';
  const QString ruta = final.path();
  return ruta.startsWith(carpeta) || ruta + u'/' == carpeta;
}

VisorWeb& VisorWeb::Default() {
  static VisorHTML visor;
  return visor;
}
