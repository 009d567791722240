#pragma once

#include <QString>
#include <QStringList>

// Starts the program of the command line (its first word; "XXXXWIN.EXE" also
// finds the Linux binary "xxxxwin") with the remaining words as its
// parameters, in the current folder, without waiting. A program that cannot
// start is told in the plain message dialog unless the options hold
// "SinMensaje"; the caller is not told.
void EjecutarPrograma(const QString& lineaComandos, const QString& opciones);
// The same with the program's parameters as a list (a parameter may hold
// blanks); false when it did not start.
bool EjecutarProgramaArgumentos(const QString& programa, const QStringList& argumentos, const QString& opciones);

// Starts a program and waits for its end while the window messages keep being
// handled. With a program given, the command line is the whole command line of
// the new process, its first word standing for the program itself; with none,
// that first word names the program. A program that cannot start is told in
// the plain message dialog.
void EjecutarYEsperar(const QString& programa, const QString& lineaComandos);

// As EjecutarYEsperar, with the program's parameters as a list: a parameter
// may hold blanks.
void EjecutarYEsperarArgumentos(const QString& programa, const QStringList& argumentos);

// Writes the text as the file, each line ended by CR LF, replacing the file;
// a failure is told in the plain message dialog and gives false. Either way it
// then waits one second.
bool CrearArchivoBat(const QString& ruta, const QString& texto);

// Whether the running executable's name (as "ZEMWIN.EXE") is, or holds, the
// name, without regard to case; never for an empty name.
bool EsEjecutable(const QString& nombre);
