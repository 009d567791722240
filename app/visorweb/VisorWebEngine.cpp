#include "app/visorweb/VisorWebEngine.h"

#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

// A page of a text the program did not write: it goes nowhere but its own
// folder, and what its scripts would say is not printed.
class PaginaRestringida : public QWebEnginePage {
 public:
  using QWebEnginePage::QWebEnginePage;
  QUrl documento;

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
    return url == documento || NavegacionPermitida(documento, url);
  }
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) override {}
};

// The program's own pages: the scripts' messages stay out of the terminal.
class PaginaPrograma : public QWebEnginePage {
 public:
  using QWebEnginePage::QWebEnginePage;

 protected:
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) override {}
};

QWebEngineView* vista(QWidget& panel, QWebEnginePage* (*pagina)(QWebEngineView&)) {
  auto* creada = new QWebEngineView(&panel);
  creada->setPage(pagina(*creada));
  creada->setContextMenuPolicy(Qt::NoContextMenu);
  LlenarPanel(panel, *creada);
  return creada;
}

}  // namespace

QWidget* VisorWebEngine::Crear(QWidget& panel) {
  QWebEngineView* creada = vista(panel, [](QWebEngineView& v) -> QWebEnginePage* { return new PaginaPrograma(&v); });
  // The forms' pages are files the program writes, which load their
  // content from the maker's servers.
  creada->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
  return creada;
}

QWidget* VisorWebEngine::CrearSinScripts(QWidget& panel) {
  QWebEngineView* creada = vista(panel, [](QWebEngineView& v) -> QWebEnginePage* { return new PaginaRestringida(&v); });
  QWebEngineSettings* ajustes = creada->settings();
  ajustes->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
  ajustes->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
  ajustes->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  ajustes->setAttribute(QWebEngineSettings::PluginsEnabled, false);
  return creada;
}

void VisorWebEngine::Navegar(QWidget& vista, const QString& direccion) {
  auto* navegador = qobject_cast<QWebEngineView*>(&vista);
  if (!navegador) return;
  const QUrl url(direccion);
  if (auto* restringida = dynamic_cast<PaginaRestringida*>(navegador->page())) restringida->documento = url;
  navegador->load(url);
}

// The engine's own set-up for a program that made its application object
// before asking for the engine: the OpenGL context every view shares, made
// now, when the first page is shown, rather than with the application.
namespace QtWebEngineCore {
void initialize();
}

VisorWeb* ZemVisorWebEngine() {
  static VisorWebEngine visor = [] {
    QtWebEngineCore::initialize();
    return VisorWebEngine();
  }();
  return &visor;
}
