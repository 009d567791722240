#include "core/datamodule/AdministradorInicial.h"

#include "core/startup/Configuracion.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"

void DarDeAltaAdministrador(Table& usuarios) {
  if (!usuarios.IsEmpty()) return;
  try {
    usuarios.Append();
    usuarios.FieldByName(QStringLiteral("Codigo")).SetAsString(CodigoAdministrador);
    usuarios.FieldByName(QStringLiteral("Nombre")).SetAsString(QStringLiteral("Administrador"));
    usuarios.FieldByName(QStringLiteral("Categoria")).SetAsString(QStringLiteral("Administrador"));
    usuarios.Post();
  } catch (const std::exception&) {
    usuarios.Cancel();
    // Another running copy that found the table empty too gave it its users.
    usuarios.Refresh();
    if (usuarios.IsEmpty()) throw;
  }
}
