#pragma once

class TfGENEINIC;

// Backup and restore of a company's database chosen in the record search,
// each after the user's confirmation; false when nothing ran.
bool CopiaSeguridadInstantaneaEmpresa(TfGENEINIC& servicios);
bool RestaurarCopiaSeguridadEmpresa(TfGENEINIC& servicios);
