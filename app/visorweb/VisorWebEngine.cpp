#include "app/visorweb/VisorWebEngine.h"

#include <QCoreApplication>
#include <QUrl>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <unistd.h>

void VisorWebEngine::Preparar() {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  // The engine's sandbox refuses to run for root and ends the whole program
  // at the first view; root goes without it.
  if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

QWidget* VisorWebEngine::Crear(QWidget& panel) {
  auto* vista = new QWebEngineView(&panel);
  // The forms' pages are files the program writes, which load their
  // content from the maker's servers.
  vista->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
  vista->setContextMenuPolicy(Qt::NoContextMenu);
  LlenarPanel(panel, *vista);
  return vista;
}

QWidget* VisorWebEngine::CrearSinScripts(QWidget& panel) {
  auto* vista = static_cast<QWebEngineView*>(Crear(panel));
  vista->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
  vista->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  return vista;
}

void VisorWebEngine::Navegar(QWidget& vista, const QString& direccion) {
  if (auto* navegador = qobject_cast<QWebEngineView*>(&vista)) navegador->load(QUrl(direccion));
}
