#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The texts of the scheduled backups: the SQL Server Agent's weekday jobs,
// the backup runner's configuration file and the crontab line that starts
// the runner every day.

// The weekdays with a job, as the jobs and the backup files spell them
// (Monday first), and every day of the week as the runner names today.
inline constexpr const char* kDiasTrabajo[] = {"Lunes", "Martes", "Miercoles", "Jueves", "Viernes"};
inline constexpr const char* kDiasSemana[] = {"Lunes",  "Martes", "Miercoles", "Jueves",
                                              "Viernes", "Sabado", "Domingo"};
// The word of the runner's statements that stands for today.
inline constexpr auto kDiaSemana = "DiaSemana";
// The task's name, carried by its crontab line as a comment.
inline constexpr auto kNombreTarea = "Backup Mirdal ZEM";

// "HHNNSS" of a time text ("1:00:00" gives "010000").
QString HoraSeisCifras(const QString& hora);

// The statements of one weekday's job (day 0 Monday to 4 Friday), in order:
// the deletion of the old job, its creation, one step per database, its
// server and its schedule.
QStringList SentenciasTrabajoAgente(int dia, const QStringList& bases, const QString& carpeta, const QString& hora);

// The runner's file: the connection on its first line, then one backup
// statement per database into "<carpeta>\<base>_db_DiaSemana.bak".
QString ConfiguracionDEXOWIN(const QString& conexion, const QStringList& bases, const QString& carpeta);

// The user's crontab with the task's line in place of its earlier ones (the
// lines ending with its mark; one line in all) and every other line kept byte
// for byte: the runner started daily at the
// time with its file, each path reaching the runner as it is through cron's
// reading of "%" and "\" and the shell's. A path holding a line break or a
// NUL is refused, and so is a command longer than crontab installs.
QByteArray CrontabConTarea(const QByteArray& actual, const QString& runner, const QString& archivo,
                           const QString& hora);
