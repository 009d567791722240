#include "dialogs/FormularioAdministrador.h"

#include "core/datamodule/IdentificacionUsuario.h"
#include "core/startup/Configuracion.h"
#include "platform/Form.h"

bool AbrirFormularioAdministrador(const std::function<std::unique_ptr<Form>()>& crear) {
  if (!ExigirAdministrador(CodigoUsuarioActual, QString())) return false;
  const std::unique_ptr<Form> formulario = crear();
  if (formulario) formulario->ShowModal();
  return true;
}
