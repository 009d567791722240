#pragma once

#include <QString>

// The currency codes of the general parameters; 0 while they are not loaded.
struct CodigosMoneda {
  int base = 0;
  int euro = 0;
  int nacional = 0;
};
bool ParametrosGeneralesCargados();
CodigosMoneda Codigos();

// Amounts between the company's base currency and the national currency or
// the euro, by the exchange rates of the currency table (MONEDA) and the
// currency codes of the general parameters. A missing currency or a table
// that cannot be read leaves the amount as it is; an exchange rate of 0 raises.
double ConvertirImporte(const QString& tipo, double importe);
int DecimalesMoneda(int codigo);
double CambioMoneda(int codigo);
// An amount text converted and formatted with the third numeric template;
// its markers "D" and "H" are kept at its end, and a company whose base
// currency is the national one marks a converted amount with "€ ".
QString ConvertirTextoImporte(const QString& texto, const QString& tipo);
QString TextoEnOtraMoneda(const QString& texto);
