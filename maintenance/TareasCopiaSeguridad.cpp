#include "maintenance/TareasCopiaSeguridad.h"

#include "core/helpers/LiteralesSQL.h"
#include "platform/Exceptions.h"
#include "platform/format/DateTime.h"
#include "platform/format/Format.h"

namespace {

const QString kUsoMsdb = QStringLiteral("USE msdb EXEC ");

QString copiaBase(const QString& base, const QString& archivo) {
  return QStringLiteral("BACKUP DATABASE ") + NombreSQL(base) + QStringLiteral(" TO DISK = ") + LiteralSQL(archivo) +
         QStringLiteral(" WITH FORMAT");
}

// The longest command of a line that crontab installs (a longer one makes it
// refuse the whole table).
constexpr qsizetype kLongitudOrdenCron = 998;

// A word of a crontab line that reaches the shell as it is once cron has
// read it: cron ends the command at a bare "%" and reads "\%" as "%" and
// "\\" as "\", so both are written escaped inside the shell's quotes.
QString palabraShell(const QString& texto) {
  QString palabra(u'\'');
  for (const QChar c : texto) {
    if (c == u'\'') {
      palabra += QStringLiteral("'\\''");
    } else if (c == u'%' || c == u'\\') {
      palabra += u'\\';
      palabra += c;
    } else {
      palabra += c;
    }
  }
  return palabra + u'\'';
}

}  // namespace

QString HoraSeisCifras(const QString& hora) {
  int horas = 0, minutos = 0, segundos = 0, milisegundos = 0;
  DecodeTime(StrToTime(hora), horas, minutos, segundos, milisegundos);
  return QStringLiteral("%1%2%3")
      .arg(horas, 2, 10, QLatin1Char('0'))
      .arg(minutos, 2, 10, QLatin1Char('0'))
      .arg(segundos, 2, 10, QLatin1Char('0'));
}

QStringList SentenciasTrabajoAgente(int dia, const QStringList& bases, const QString& carpeta, const QString& hora) {
  const QString nombreDia = QString::fromLatin1(kDiasTrabajo[dia]);
  const QString trabajo = LiteralSQL(QStringLiteral("BackupZEM") + nombreDia);
  QStringList sentencias{
      kUsoMsdb + QStringLiteral("sp_delete_job @job_name = ") + trabajo,
      kUsoMsdb + QStringLiteral("sp_add_job @job_name = ") + trabajo + QStringLiteral(", @enabled = 1, @description = ") +
          trabajo + QStringLiteral(", @owner_login_name = ") + LiteralSQL(QStringLiteral("sa")) +
          QStringLiteral(", @notify_level_eventlog = 2, @notify_level_email = 2, @notify_level_netsend = 2, "
                         "@notify_level_page = 2")};
  for (int i = 0; i < bases.size(); ++i) {
    const QString& base = bases[i];
    const QString archivo = carpeta + u'\\' + base + QStringLiteral("_db_") + nombreDia + QStringLiteral(".bak");
    sentencias.append(kUsoMsdb + QStringLiteral("sp_add_jobstep @job_name = ") + trabajo + QStringLiteral(", @step_name = ") +
                      LiteralSQL(QStringLiteral("Backup BD ") + base + u' ' + nombreDia) +
                      QStringLiteral(", @subsystem = ") + LiteralSQL(QStringLiteral("TSQL")) +
                      QStringLiteral(", @command = ") + LiteralSQL(copiaBase(base, archivo)) +
                      QStringLiteral(", @on_success_action = ") + (i == bases.size() - 1 ? u'1' : u'3') +
                      QStringLiteral(", @retry_attempts = 5, @retry_interval = 5"));
  }
  sentencias.append(kUsoMsdb + QStringLiteral("sp_add_jobserver @job_name = ") + trabajo +
                    QStringLiteral(", @server_name = N") + LiteralSQL(QStringLiteral("(local)")));
  sentencias.append(kUsoMsdb + QStringLiteral("sp_add_jobschedule @job_name = ") + trabajo + QStringLiteral(", @name = ") +
                    LiteralSQL(QStringLiteral("Copia de Seguridad ZEM Programada ") + nombreDia) +
                    QStringLiteral(", @freq_type = 8, @freq_interval = ") + QString::number(1 << (dia + 1)) +
                    QStringLiteral(", @freq_subday_type = 1, @freq_recurrence_factor = 1, @active_start_time = ") +
                    HoraSeisCifras(hora));
  return sentencias;
}

QString ConfiguracionDEXOWIN(const QString& conexion, const QStringList& bases, const QString& carpeta) {
  QString texto = conexion + QStringLiteral("\r\n");
  for (const QString& base : bases)
    texto += copiaBase(base, carpeta + u'\\' + base + QStringLiteral("_db_") + QLatin1String(kDiaSemana) +
                                 QStringLiteral(".bak")) +
             QStringLiteral("\r\n");
  return texto;
}

QByteArray CrontabConTarea(const QByteArray& actual, const QString& runner, const QString& archivo,
                           const QString& hora) {
  // A line break would end the task's line there and start another the
  // crontab runs as given; cron reads a NUL as the line's end.
  for (const QString& valor : {runner, archivo})
    if (valor.contains(u'\n') || valor.contains(u'\r') || valor.contains(QChar(0)))
      throw Exception(QStringLiteral("¡Error creando la tarea programada! Ruta no válida: ") + valor);
  const QByteArray marca = QByteArray("# ") + kNombreTarea;
  int horas = 0, minutos = 0, segundos = 0, milisegundos = 0;
  DecodeTime(StrToTime(hora), horas, minutos, segundos, milisegundos);
  const QByteArray orden = (palabraShell(runner) + u' ' + palabraShell(archivo) + u' ' + QString::fromLatin1(marca)).toUtf8();
  if (orden.size() > kLongitudOrdenCron)
    throw Exception(QStringLiteral("¡Error creando la tarea programada! La línea de la tarea supera los ") +
                    QString::number(kLongitudOrdenCron) + QStringLiteral(" caracteres que admite cron."));
  const QByteArray tarea = QStringLiteral("%1 %2 * * * ").arg(minutos).arg(horas).toUtf8() + orden;
  QList<QByteArray> lineas = actual.split('\n');
  if (lineas.last().isEmpty()) lineas.removeLast();
  QList<QByteArray> quedan;
  qsizetype puesta = -1;
  for (const QByteArray& linea : lineas) {
    if (!linea.trimmed().endsWith(marca)) {
      quedan.append(linea);
      continue;
    }
    if (puesta < 0) {
      puesta = quedan.size();
      quedan.append(tarea);
    }
  }
  if (puesta < 0) quedan.append(tarea);
  QByteArray resultado;
  for (const QByteArray& linea : quedan) resultado += linea + '\n';
  return resultado;
}
