#pragma once

#include <QString>

#include <functional>

class Exception;
class QObject;
class Table;
class TfGENEINIC;

// What an index error is handed to (table or none, error, caller) in place of
// the Paradox repair list (RepararTablas), which an empty one restores.
using ReparacionTablas = std::function<void(Table* tabla, const QString& error, QObject* llamador)>;
void InstalarReparacionTablas(ReparacionTablas reparacion);

// The application's handler of uncaught exceptions: warnings are shown and
// the program goes on, errors are shown and end it, some texts are dropped.
void GestionExcepciones(TfGENEINIC& servicios, QObject* sender, const Exception& error);

// Makes GestionExcepciones the application object's handler.
void InstalarGestionExcepciones(TfGENEINIC& servicios);
