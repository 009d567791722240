#include "core/system/Espera.h"

#include "platform/Timer.h"

#include <QEventLoop>

void Esperar(int milisegundos) {
  if (milisegundos <= 0) return;
  QEventLoop bucle;
  Timer plazo(milisegundos);
  plazo.OnTimer = [&bucle] { bucle.quit(); };
  plazo.SetEnabled(true);
  bucle.exec();
}
