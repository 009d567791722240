#pragma once

// The calculator dialog (TfGENECALC) starting from the number; the number it
// holds when it closes, the one given when the user changed nothing.
double Calculadora(double valor);

// What the dialog keeps for Calculadora: the start value as the program
// gave it, and whether the user has changed the display since.
inline constexpr auto kPropiedadValorCalculadora = "Valor";
inline constexpr auto kPropiedadCambiadaCalculadora = "Cambiada";
