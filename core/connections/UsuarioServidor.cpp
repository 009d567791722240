#include "core/connections/UsuarioServidor.h"

#include "core/startup/Configuracion.h"
#include "core/system/Equipo.h"
#include "platform/sql/EmbeddedServer.h"

bool InicioSesionPorNombre(const QString& servidor) {
  return AutenticacionWindows && EmbeddedServer::FolderOfServerName(servidor).has_value();
}

QString UsuarioServidor(const QString& servidor) {
  if (!AutenticacionWindows) return UsuarioInicioSesion;
  return InicioSesionPorNombre(servidor) ? UsuarioWindows() : QString();
}
