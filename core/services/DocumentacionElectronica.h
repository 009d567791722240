#pragma once

#include <QString>

// The class name of the electronic documentation window: a Form with the
// properties NombreTabla and ClaveTabla and the invokable CargarDocumentos.
inline constexpr auto kFormularioDocumentacionElectronica = "TfGENEDOCE";

// Brings the electronic documentation window up among the main window's
// children (made when none is open) on the record of the table (its owner
// prefix removed) and key text, and loads its documents.
void MostrarDocumentacionElectronica(const QString& tabla, const QString& clave);
void AbrirDocumentacionElectronica(const QString& tabla, const QString& clave);
