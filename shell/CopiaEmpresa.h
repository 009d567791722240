#pragma once

class TfGENEINIC;

// Backup and restore of a company's database chosen in the record search,
// each after the user's confirmation, which then say how it ended; false
// when nothing ran or it failed.
bool CopiaSeguridadInstantaneaEmpresa(TfGENEINIC& servicios);
bool RestaurarCopiaSeguridadEmpresa(TfGENEINIC& servicios);
