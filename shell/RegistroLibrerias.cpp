#include "shell/RegistroLibrerias.h"

#include "core/messages/MensajeSistema.h"
#include "core/system/Archivos.h"
#include "core/system/Espera.h"
#include "core/system/Procesos.h"
#include "platform/CommonDialogs.h"
#include "platform/DesktopServices.h"
#include "platform/Paths.h"
#include "platform/StringList.h"

#include <QDir>
#include <QFile>

namespace {

const QStringList kLibreriasPDF{QStringLiteral("ZEMPDFCreator.dll"), QStringLiteral("TORAKLine.dll"),
                                QStringLiteral("itextsharp.dll")};

QString carpetaVersion4(const QString& carpetaFramework) {
  const QString marca = Paths::Internal(carpetaFramework) + QStringLiteral("/v4");
  StringList entradas;
  entradas.SetText(BuscarArchivos(carpetaFramework + QStringLiteral("\\*.*")));
  for (const QString& entrada : entradas.Lines())
    if (Paths::Internal(entrada).contains(marca)) return entrada;
  return {};
}

void ofrecerDescarga() {
  QString respuesta;
  MensajeConfirmacion(QStringLiteral("Su sistema no tiene instalado Microsoft .NET Framework 4.0 o superior. ¿Desea ir a "
                                     "la página Web y descargar la aplicación?"),
                      respuesta);
  if (respuesta != QLatin1String("SI")) return;
  DesktopServicesSeam::Get().OpenUrl(QLatin1String(kDescargaFrameworkNET));
  MensajeInformacion(QStringLiteral("Recuerde volver a repetir este proceso después de la instalación"));
}

}  // namespace

void RegistrarLibreria(QFileDialog& abrir, bool desregistrar) {
  SetFilter(abrir, QStringLiteral("Liberías de Enlace Dinámico (*.dll)|*.dll"));
  SetFileName(abrir, QStringLiteral("*.dll"));
  if (!CommonDialogsSeam::Get().Execute(abrir)) return;
  QStringList argumentos{FileName(abrir)};
  if (desregistrar) argumentos.append(QStringLiteral("/U"));
  EjecutarProgramaArgumentos(QStringLiteral("Regsvr32.exe"), argumentos, QString());
}

void RegistrarLibreriasZEMPDFCreator(const QString& carpetaFramework) {
  QString respuesta;
  MensajeConfirmacion(QStringLiteral("¿Está seguro de que desea registrar las librerías?"), respuesta);
  if (respuesta == QLatin1String("NO")) return;
  const QString framework = carpetaVersion4(carpetaFramework);
  if (framework.isEmpty()) {
    ofrecerDescarga();
    return;
  }
  const QString temporal = DirectorioTemporal();
  for (const QString& libreria : kLibreriasPDF) CopiarArchivo(QDir::current().filePath(libreria), temporal + libreria);
  EjecutarProgramaArgumentos(framework + QStringLiteral("/regasm.exe"), {temporal + kLibreriasPDF.first()}, QString());
  Esperar(1000);
  for (const QString& libreria : kLibreriasPDF) QFile::remove(temporal + libreria);
}
