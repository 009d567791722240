#include "core/datamodule/AdministradorInicial.h"

#include "core/startup/Configuracion.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"

void DarDeAltaAdministrador(Table& usuarios) {
  if (!usuarios.IsEmpty()) return;
  usuarios.Append();
  usuarios.FieldByName(QStringLiteral("Codigo")).SetAsString(CodigoAdministrador);
  usuarios.FieldByName(QStringLiteral("Nombre")).SetAsString(QStringLiteral("Administrador"));
  usuarios.FieldByName(QStringLiteral("Categoria")).SetAsString(QStringLiteral("Administrador"));
  usuarios.Post();
}
