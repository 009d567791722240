#pragma once

#include "core/startup/Geneinic.h"
#include "tests/fixtures/ScriptedPresenter.h"
#include "tests/fixtures/SecondProcess.h"

#include <QDir>

// The setting that names the program folder to a second process.
inline constexpr char kCarpetaOtraCopia[] = "ZEM_PROGRAM_FOLDER";

// A second running copy of the program on the same installation: reports
// "abierta" once its databases are open and stays until told to end.
inline void OtraCopiaAbierta() {
  QDir::setCurrent(qEnvironmentVariable(kCarpetaOtraCopia));
  const ScriptedPresenter sinMensajes;
  TfGENEINIC servicios({});
  SecondProcess::Report(QStringLiteral("abierta"));
  SecondProcess::NextLine();
}
