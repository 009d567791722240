#include "core/helpers/Calculadora.h"

#include "core/services/FormularioRegistrado.h"

double Calculadora(double valor) {
  const QString clase = QStringLiteral("TfGENECALC");
  std::unique_ptr<Form> calculadora = CrearFormularioRegistrado(clase);
  if (!calculadora) FormularioNoDisponible(clase);
  calculadora->setProperty(kPropiedadValorCalculadora, valor);
  calculadora->ShowModal();
  if (!calculadora->property(kPropiedadCambiadaCalculadora).toBool()) return valor;
  return calculadora->property(kPropiedadValorCalculadora).toDouble();
}
