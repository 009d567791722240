#pragma once

class Dataset;
class Field;
class QString;

// A date-time field that holds a time of day, shown and typed as "hh:nn:ss".
void MostrarComoHora(Field& campo);
// The same for a field of a dataset just opened, whose controls already
// showed the whole date-time: they read it again.
void MostrarComoHoraAlAbrir(Dataset& tabla, const QString& campo);
