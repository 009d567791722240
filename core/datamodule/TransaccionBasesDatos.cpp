#include "core/datamodule/TransaccionBasesDatos.h"

#include "platform/data/Session.h"
#include "platform/engine/EngineConnection.h"
#include "platform/engine/WriteTransaction.h"

#include <algorithm>

TransaccionBasesDatos::TransaccionBasesDatos(const QStringList& basesDatos) {
  for (const QString& baseDatos : basesDatos) {
    std::shared_ptr<EngineConnection> conexion;
    try {
      conexion = Session::Default().OpenDatabase(baseDatos);
    } catch (const std::exception&) {
      continue;
    }
    if (std::find(conexiones_.begin(), conexiones_.end(), conexion) != conexiones_.end()) continue;
    conexiones_.push_back(conexion);
    transacciones_.push_back(std::make_unique<WriteTransaction>(*conexion));
    // A statement takes the lock the other program holds as soon as it lets
    // it go: what follows, record locks too, comes after that program's work.
    conexion->Execute(QStringLiteral("SELECT 1"));
  }
}

TransaccionBasesDatos::~TransaccionBasesDatos() = default;

void TransaccionBasesDatos::Confirmar() {
  for (const auto& transaccion : transacciones_) transaccion->Commit();
}
