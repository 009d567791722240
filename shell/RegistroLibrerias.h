#pragma once

#include <QString>

class QFileDialog;

// Registers (or unregisters) the library the user picks in the open dialog
// with "Regsvr32.exe", without waiting for it.
void RegistrarLibreria(QFileDialog& abrir, bool desregistrar);

// Where the .NET Framework's versions are installed.
inline constexpr auto kCarpetaFrameworkNET = "C:\\Windows\\Microsoft.net\\Framework";
inline constexpr auto kDescargaFrameworkNET = "https://dotnet.microsoft.com/download/dotnet-framework";

// Registers the PDF creator's .NET libraries of the current folder with the
// framework's "regasm.exe" found under the folder; without a version 4 the
// user is offered its download page.
void RegistrarLibreriasZEMPDFCreator(const QString& carpetaFramework);
