#include "maintenance/TareasCopiaSeguridad.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// The system's cron, run in a mount namespace of its own: its spool, its pid
// file and the system's tables are private folders there, so the machine's
// crontabs are neither read nor touched. It is given one crontab and runs
// until the expected number of files is in the folder of outputs, or 80 s.
const char kCronPrivado[] = R"sh(set -e
PATH=/usr/sbin:/usr/bin:/sbin:/bin:$PATH
d=$1
mount -t tmpfs zem-run /run
mkdir "$d/spool" "$d/cron.d"
chgrp crontab "$d/spool"
chmod 1730 "$d/spool"
mount --bind "$d/spool" /var/spool/cron/crontabs
mount --bind "$d/cron.d" /etc/cron.d
: > "$d/crontab.sistema"
mount --bind "$d/crontab.sistema" /etc/crontab
echo montado
crontab "$d/crontab"
cron -f &
cron=$!
i=0
while [ $i -lt 80 ] && [ "$(ls "$d/salidas" | wc -l)" -lt "$2" ]; do sleep 1; i=$((i + 1)); done
kill $cron
)sh";

QString Programa(const QString& nombre) {
  return QStandardPaths::findExecutable(nombre, {u"/usr/sbin"_qs, u"/sbin"_qs, u"/usr/bin"_qs, u"/bin"_qs});
}

// A runner at the path that writes the paths it was started with.
bool EscribirRunner(const QString& runner, const QString& salida) {
  if (!QDir().mkpath(QFileInfo(runner).path())) return false;
  QFile guion(runner);
  if (!guion.open(QIODevice::WriteOnly)) return false;
  guion.write("#!/bin/sh\nprintf '%s\\n%s' \"$0\" \"$1\" > '" + QFile::encodeName(salida) + "'\n");
  guion.close();
  return guion.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QByteArray Leer(const QString& ruta) {
  QFile archivo(ruta);
  return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray("<no corrió>");
}

}  // namespace

// Each task line, as the program writes it for hostile paths, is run by the
// system's own cron the minute it is due, and the runner it starts is given
// exactly the paths, whatever cron and the shell make of "\", "%", quotes and
// the rest. The longest command the program writes runs whole too.
TEST(TareasCopia, ThePathsReachTheRunnerAsTheyAreThroughCronAndTheShell) {
  for (const char* programa : {"cron", "crontab", "unshare", "mount"})
    if (Programa(QLatin1String(programa)).isEmpty()) GTEST_SKIP() << programa << " is not installed";
  QTemporaryDir carpeta(u"/tmp/zem-cron-XXXXXX"_qs);
  ASSERT_TRUE(carpeta.isValid());
  const QString raiz = carpeta.path();
  ASSERT_TRUE(QDir(raiz).mkdir(u"salidas"_qs));

  const char* nombres[] = {"a\\\\b", "\\", "fin\\", "a\\%b", "a\\\\%b", "50%", "%%\\\\%", "it's\\'%x", "\\\\\\\\",
                           "$(touch X)", "`id`", "\"q\" 'r'", "tab\there", "*", ";x", "#x", " lead", "Año~"};
  struct Tarea {
    QString runner, archivo, salida;
  };
  std::vector<Tarea> tareas;
  for (const char* nombre : nombres) {
    const QString dentro = raiz + u"/t"_qs + QString::number(tareas.size()) + u'/' + QString::fromUtf8(nombre);
    tareas.push_back({dentro + u"/dexowin"_qs, dentro + u"/C\\%F 100% \\\\"_qs,
                      raiz + u"/salidas/"_qs + QString::number(tareas.size())});
  }
  // A runner path making the command exactly as long as crontab installs.
  const QString archivoLargo = raiz + u"/largo/D.CFG"_qs;
  const qsizetype fijo = QByteArray("'' '' # Backup Mirdal ZEM").size() + archivoLargo.size();
  QString runnerLargo = raiz + u"/largo"_qs;
  for (qsizetype falta = 998 - fijo - runnerLargo.size(); falta > 0;) {
    const qsizetype pieza = falta > 201 ? std::min<qsizetype>(200, falta - 3) : falta - 1;
    runnerLargo += u'/' + QString(pieza, u'd');
    falta -= pieza + 1;
  }
  tareas.push_back({runnerLargo, archivoLargo, raiz + u"/salidas/"_qs + QString::number(tareas.size())});

  // Due the next minute that is still some seconds away.
  const QDateTime ahora = QDateTime::currentDateTime();
  const QTime hora = ahora.time().addSecs(ahora.time().second() < 55 ? 60 : 120);
  const QString cuando = hora.toString(u"HH:mm:00"_qs);
  QByteArray crontab = "MAILTO=\"\"\n";
  for (const Tarea& tarea : tareas) {
    ASSERT_TRUE(EscribirRunner(tarea.runner, tarea.salida)) << tarea.runner.toStdString();
    crontab += CrontabConTarea({}, tarea.runner, tarea.archivo, cuando);
  }
  EXPECT_EQ(CrontabConTarea({}, runnerLargo, archivoLargo, cuando).size(),
            QStringLiteral("%1 %2 * * * \n").arg(hora.minute()).arg(hora.hour()).size() + 998);
  QFile archivo(raiz + u"/crontab"_qs);
  ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
  archivo.write(crontab);
  archivo.close();

  QProcess cron;
  cron.setProcessChannelMode(QProcess::MergedChannels);
  cron.start(Programa(u"unshare"_qs), {u"-m"_qs, u"--propagation"_qs, u"private"_qs, u"/bin/sh"_qs, u"-c"_qs,
                                       QLatin1String(kCronPrivado), u"cron-privado"_qs, raiz,
                                       QString::number(tareas.size())});
  ASSERT_TRUE(cron.waitForFinished(110000));
  const QByteArray salida = cron.readAll();
  if (!salida.startsWith("montado")) GTEST_SKIP() << "no private mount namespace here: " << salida.toStdString();
  for (const Tarea& tarea : tareas)
    EXPECT_EQ(QString::fromUtf8(Leer(tarea.salida)), tarea.runner + u'\n' + tarea.archivo)
        << CrontabConTarea({}, tarea.runner, tarea.archivo, cuando).toStdString() << salida.toStdString();
}
