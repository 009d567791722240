#include "printing/comandos/ComandoGrafico.h"

#include "core/startup/Configuracion.h"
#include "platform/Paths.h"
#include "printing/comandos/DestinoComandos.h"
#include "printing/comandos/TablaReferida.h"
#include "printing/comandos/ValoresImpreso.h"
#include "printing/formlang/NumerosImpreso.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>

namespace {

constexpr int LimiteMegabytes = 128;

QImage Leer(QIODevice& origen, const char* formato) {
  QImageReader lector(&origen, formato);
  lector.setAllocationLimit(LimiteMegabytes);
  QImage imagen;
  if (!lector.read(&imagen)) return {};
  return imagen;
}

// JPEG by its name, a bitmap otherwise; a name without a folder is the program folder's.
QImage LeerArchivo(const QString& nombre) {
  if (nombre.isEmpty()) return {};
  const QString mayusculas = nombre.toUpper();
  const char* formato = mayusculas.contains(u".JPEG"_qs) || mayusculas.contains(u".JPG"_qs) ? "JPEG" : "BMP";
  QFile archivo(nombre.contains(u'\\') ? Paths::Internal(nombre) : Paths::FindFile(CarpetaPrograma, nombre));
  if (!archivo.open(QIODevice::ReadOnly)) return {};
  return Leer(archivo, formato);
}

QImage LeerBytes(const QByteArray& bytes) {
  for (const char* formato : {"BMP", "JPEG"}) {
    QBuffer memoria;
    memoria.setData(bytes);
    memoria.open(QIODevice::ReadOnly);
    QImage imagen = Leer(memoria, formato);
    if (!imagen.isNull()) return imagen;
  }
  return {};
}

QImage LeerCampo(DestinoComandos& destino, const QString& referencia) {
  if (referencia.contains(u'.')) return LeerArchivo(ValorCampoTablaReferida(destino, referencia).value_or(QString()));
  const std::optional<QVariant> valor = destino.CampoFila(referencia);
  if (!valor || valor->isNull()) return {};
  if (valor->metaType().id() == QMetaType::QByteArray) return LeerBytes(valor->toByteArray());
  return LeerArchivo(TextoCampo(*valor));
}

}  // namespace

void DibujarGrafico(DestinoComandos& destino, const EsquinasGrafico& esquinas, const QImage& imagen) {
  LienzoImpreso* lienzo = destino.Lienzo();
  if (imagen.isNull() || !lienzo || !lienzo->pintor) return;
  const GeometriaImpreso& geometria = destino.Ejecucion().geometria;
  const QPoint uno(destino.PixelesX(geometria.CoordenadaX(esquinas.x1)), destino.PixelesY(geometria.CoordenadaY(esquinas.y1)));
  if (esquinas.x2 == 0 && esquinas.y2 == 0) {
    lienzo->pintor->drawImage(uno, imagen);
    return;
  }
  const QPoint dos(destino.PixelesX(geometria.CoordenadaX(esquinas.x2)), destino.PixelesY(geometria.CoordenadaY(esquinas.y2)));
  lienzo->pintor->drawImage(QRect(uno.x(), uno.y(), dos.x() - uno.x(), dos.y() - uno.y()), imagen);
}

void ComandoGraf(DestinoComandos& destino, const LineaInstruccion& linea) {
  if (PruebaDiseno()) return;
  const EsquinasGrafico esquinas{NumeroImpreso(linea.Argumento(1)), NumeroImpreso(linea.Argumento(2)),
                                 NumeroImpreso(linea.Argumento(3)), NumeroImpreso(linea.Argumento(4))};
  QString origen = linea.Argumento(5);
  const bool campo = origen.contains(u"Camp:"_qs);
  const QImage imagen = campo ? LeerCampo(destino, origen.remove(u"Camp:"_qs)) : LeerArchivo(origen);
  DibujarGrafico(destino, esquinas, imagen);
}
