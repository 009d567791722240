// The suite's backup runner: "dexowin [file]" runs each statement of the
// file (DEXOWIN.CFG beside the program by default) on the connection its
// first line names, the word "DiaSemana" replaced by today's day as the
// backup jobs spell it. A failing statement is told on standard error and
// the next one follows; the exit code is 1 when any failed.

#include "maintenance/TareasCopiaSeguridad.h"
#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "platform/data/Query.h"
#include "platform/data/SqlRouting.h"

#include <QCoreApplication>
#include <QDate>
#include <QHostInfo>
#include <QRegularExpression>

#include <cstdio>

namespace {

void avisar(const QString& texto) { std::fprintf(stderr, "DEXOWIN: %s\n", texto.toLocal8Bit().constData()); }

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication programa(argc, argv);
  const QString archivo = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                   : Paths::FindFile(QCoreApplication::applicationDirPath(), QStringLiteral("DEXOWIN.CFG"));
  QStringList lineas;
  try {
    lineas = TextFile::Read(archivo).split(QRegularExpression(QStringLiteral("\r\n|\n|\r")), Qt::SkipEmptyParts);
  } catch (const Exception& error) {
    avisar(error.Message());
    return 1;
  }
  if (lineas.isEmpty()) {
    avisar(QStringLiteral("%1: no connection").arg(archivo));
    return 1;
  }
  SqlRouting::Install([] { return QStringLiteral("mm/dd/yyyy"); },
                      {qEnvironmentVariable("USER"), QHostInfo::localHostName(), QStringLiteral("DEXOWIN")});
  const QString hoy = QString::fromLatin1(kDiasSemana[QDate::currentDate().dayOfWeek() - 1]);
  int fallidas = 0;
  for (qsizetype i = 1; i < lineas.size(); ++i) {
    const QString sentencia = QString(lineas[i]).replace(QLatin1String(kDiaSemana), hoy);
    try {
      Query consulta;
      consulta.SetDatabaseName(lineas.first());
      consulta.SQL().SetText(sentencia);
      consulta.ExecSQL();
    } catch (const Exception& error) {
      avisar(sentencia + QStringLiteral(": ") + error.Message());
      ++fallidas;
    }
  }
  return fallidas ? 1 : 0;
}
