#pragma once

#include <functional>
#include <memory>

class Form;

// An administration command: when the current user is an administrator (a
// refusal is warned of), the form is created, shown modally and freed when
// it closes (a creation that gives none shows nothing). False when the user
// was refused.
bool AbrirFormularioAdministrador(const std::function<std::unique_ptr<Form>()>& crear);

template <class F>
bool AbrirFormularioAdministrador() {
  return AbrirFormularioAdministrador([] { return std::unique_ptr<Form>(new F()); });
}
