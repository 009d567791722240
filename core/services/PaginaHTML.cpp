#include "core/services/PaginaHTML.h"

#include "core/system/Espera.h"
#include "platform/TextFile.h"
#include "platform/VisorWeb.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QUrl>

void AbrirPaginaHTML(QWidget& vista) {
  // One page per running program: copies sharing the folder keep their own.
  const QString pagina = QDir(QDir::tempPath()).filePath(
      QStringLiteral("ZEM%1.html").arg(QCoreApplication::applicationPid()));
  QFile::remove(pagina);
  try {
    TextFile::WriteBytes(pagina, "<html><body></body></html>");
  } catch (const std::exception&) {
    // Without the page the view is sent to an empty address.
  }
  VisorWebSeam::Get().Navegar(vista, QUrl::fromLocalFile(pagina).toString());
  Esperar(100);
}
