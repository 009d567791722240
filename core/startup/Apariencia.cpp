#include "core/startup/Apariencia.h"

#include "core/startup/Configuracion.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

// Windows' system colour "gradient inactive caption" (index 28) as the
// "evo" looks were designed against.
const QColor kColorSistema28(215, 228, 242);

QColor colorCaraBoton() { return QGuiApplication::palette().color(QPalette::Button); }

}  // namespace

void ConstruirAspecto() {
  const bool evo = AspectoAplicacion.startsWith(QLatin1String("evo"));
  QFont fuente(evo ? QStringLiteral("Segoe UI") : QStringLiteral("MS Sans Serif"));
  fuente.setPointSize(8);
  FuenteAplicacion = fuente;
  ColorFormularioMDI = evo ? kColorSistema28 : colorCaraBoton();
  ColorFormularioNormal = evo ? QColor(234, 234, 255) : colorCaraBoton();
}
