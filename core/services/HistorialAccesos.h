#pragma once

#include <QString>

class Dataset;

// The statement that reads the history of a record from REGACCES, newest
// first: its key's values joined by "|", with or without the last "|".
QString SentenciaHistorialAccesos(const QString& tabla, const QString& clave);

// Shows who inserted, edited or deleted the dataset's current record, and
// when, in the list window; nothing without RegistroAccesosActivado or for a
// dataset of a data module. A history that cannot be read shows only the
// SQL layer's warning.
void HistorialAccesos(Dataset& dataset);
