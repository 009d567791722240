#pragma once

class Field;

// A date-time field that holds a time of day, shown and typed as "hh:nn:ss".
void MostrarComoHora(Field& campo);
