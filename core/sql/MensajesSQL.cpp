#include "core/sql/MensajesSQL.h"

#include "platform/Exceptions.h"
#include "platform/MessagePresenter.h"

void MostrarMensaje(const QString& texto) { MessagePresenterSeam::Get().Present(QString(), texto, QString()); }

QString TextoExcepcion(const std::exception& error) {
  if (const auto* propia = dynamic_cast<const Exception*>(&error)) return propia->Message();
  return QString::fromLocal8Bit(error.what());
}
