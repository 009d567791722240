#include "dialogs/FormularioAdministrador.h"

#include "core/datamodule/IdentificacionUsuario.h"
#include "core/startup/Configuracion.h"
#include "platform/Form.h"

bool AbrirFormularioAdministrador(const CreacionFormulario& crear, const std::function<bool()>& mostrar) {
  if (!ExigirAdministrador(CodigoUsuarioActual, QString())) return false;
  const std::unique_ptr<Form> formulario = crear();
  if (formulario && (!mostrar || mostrar())) formulario->ShowModal();
  return true;
}

void AbrirFormularioModal(const CreacionFormulario& crear) { crear()->ShowModal(); }
