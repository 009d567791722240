#include "core/system/Procesos.h"

#include "core/system/Comandos.h"
#include "core/system/Espera.h"
#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "platform/PlainMessage.h"
#include "platform/ProcessLauncher.h"
#include "platform/StringList.h"
#include "platform/TextFile.h"

#include <QDir>

#include <cerrno>
#include <optional>

namespace {

using StartFailure = ProcessLauncher::StartFailure;

// The code the system's program starter gives for a program that did not start.
int codigoWinExec(StartFailure fallo) {
  switch (fallo) {
    case StartFailure::FileNotFound: return 2;
    case StartFailure::PathNotFound: return 3;
    case StartFailure::NotExecutable: return 11;
    case StartFailure::None: break;
  }
  return 0;
}

QString mensajeWinExec(int codigo, const QString& lineaComandos) {
  switch (codigo) {
    case 0: return QStringLiteral("Memoria o Recursos Insuficientes.");
    case 2: return QStringLiteral("El archivo ") + lineaComandos + QStringLiteral(" no ha sido encontrado.");
    case 3:
      return QStringLiteral("El camino(path) del archivo ") + lineaComandos + QStringLiteral(" no ha sido encontrado.");
    case 11:
      return QStringLiteral("El archivo ") + lineaComandos +
             QStringLiteral(" no es válido o no es una aplicación Win32.");
    default: return QStringLiteral("Error desconocido de tipo ") + QString::number(codigo) + u'.';
  }
}

// Starts the program without waiting; why it did not start, nothing when it did.
std::optional<StartFailure> iniciar(const QString& programa, const QStringList& argumentos) {
  if (programa.isEmpty()) return StartFailure::FileNotFound;
  ProcessLauncher& lanzador = ProcessLauncherSeam::Get();
  if (lanzador.Start(programa, argumentos, QDir::currentPath())) return std::nullopt;
  return lanzador.LastFailure();
}

// The system's error number of a process that could not be created.
int codigoCreacion(StartFailure fallo) { return fallo == StartFailure::NotExecutable ? EACCES : ENOENT; }

}  // namespace

void EjecutarPrograma(const QString& lineaComandos, const QString& opciones) {
  const Comando comando = SepararComando(lineaComandos);
  const auto fallo = iniciar(comando.programa, comando.parametros);
  if (fallo && !opciones.contains(QLatin1String("SinMensaje")))
    ShowMessage(mensajeWinExec(codigoWinExec(*fallo), lineaComandos));
}

bool EjecutarProgramaArgumentos(const QString& programa, const QStringList& argumentos, const QString& opciones) {
  const auto fallo = iniciar(programa, argumentos);
  if (fallo && !opciones.contains(QLatin1String("SinMensaje")))
    ShowMessage(mensajeWinExec(codigoWinExec(*fallo), (QStringList{programa} + argumentos).join(u' ')));
  return !fallo;
}

void EjecutarYEsperar(const QString& programa, const QString& lineaComandos) {
  const Comando comando = SepararComando(lineaComandos);
  EjecutarYEsperarArgumentos(programa.isEmpty() ? comando.programa : programa, comando.parametros);
}

void EjecutarYEsperarArgumentos(const QString& programa, const QStringList& argumentos) {
  StartFailure fallo = StartFailure::FileNotFound;
  if (!programa.isEmpty()) {
    ProcessLauncher& lanzador = ProcessLauncherSeam::Get();
    if (lanzador.Run(programa, argumentos, QDir::currentPath())) return;
    fallo = lanzador.LastFailure();
  }
  // A program that started and crashed was created all the same.
  if (fallo != StartFailure::None)
    ShowMessage(QStringLiteral("Error de Creación del Proceso: ") + QString::number(codigoCreacion(fallo)));
}

bool CrearArchivoBat(const QString& ruta, const QString& texto) {
  bool creado = true;
  try {
    StringList lineas;
    lineas.SetText(texto);
    TextFile::Write(Paths::Internal(ruta), lineas.Text());
  } catch (const Exception& error) {
    ShowMessage(QStringLiteral("Error de Creación del Archivo (.bat). Motivo: ") + error.Message());
    creado = false;
  }
  Esperar(1000);
  return creado;
}

bool EsEjecutable(const QString& nombre) {
  return !nombre.isEmpty() && Paths::ExecutableName().contains(nombre.toUpper());
}
