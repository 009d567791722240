#pragma once

#include <functional>
#include <memory>

class Form;

using CreacionFormulario = std::function<std::unique_ptr<Form>()>;

// An administration command: when the current user is an administrator (a
// refusal is warned of), the form is created, shown modally and freed when
// it closes; a creation that gives none, or a form that finds nothing to
// show once created (the condition false), shows nothing. False when the
// user was refused.
bool AbrirFormularioAdministrador(const CreacionFormulario& crear, const std::function<bool()>& mostrar = nullptr);

template <class F>
bool AbrirFormularioAdministrador() {
  return AbrirFormularioAdministrador([] { return std::unique_ptr<Form>(new F()); });
}

// A command anyone may run: the form is created, shown modally and freed.
void AbrirFormularioModal(const CreacionFormulario& crear);
