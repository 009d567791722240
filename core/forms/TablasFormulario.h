#pragma once

#include <QString>

class Dataset;
class QObject;

// Sets the form up, then opens every table of the form on the general or
// the company database by its name, creating a missing one. A form (or data
// module) with a table that could neither be opened nor created is closed
// once all its tables have been tried.
void AbrirTablasFormulario(QObject& formulario);
// Refreshes the browsing datasets of the form; on SQL Server with the mode
// "Apertura/Cierre" they are opened again on the record they showed.
void RefrescarTablasFormulario(QObject& formulario, const QString& modo);
// Makes every table of the form read-only.
void SoloLecturaTablas(QObject& formulario);
// The before-delete hook: the company tables' records take their associated
// rows with them; when those cannot go, the delete is abandoned silently.
void AntesDeBorrarRegistro(Dataset& dataset);
