#include "core/datamodule/CatalogoClaves.h"
#include "core/datamodule/ObjetosBlob.h"
#include "core/helpers/Listas.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/services/AyudanteExterno.h"
#include "core/sql/EjecucionSQL.h"
#include "platform/data/Table.h"
#include "platform/report/PdfCreator.h"
#include "printing/Genelimp.h"
#include "printing/salidas/SalidasImpreso.h"

#include <QDir>
#include <QFile>

namespace {

QStringList Filas(const QString& resultado) {
  if (resultado.startsWith(u"Error."_qs)) return {};
  return resultado.split(u"\r\n"_qs, Qt::SkipEmptyParts);
}

// The files stored for the document: printed on the job's printer, or added
// to the PDF (its own PDF files as they are). Each object is extracted to the
// same file name, so a piece is moved into the run's folder at once.
void DocumentosGuardados(TfGENELIMP& motor, const QString& tabla, const QString& clave, bool pdf, int& objetos) {
  const QString sql = u"SELECT IdObjeto FROM BLOBTAB   WHERE NombreTabla = "_qs + LiteralSQL(tabla) +
                      u"    AND ClaveTabla = "_qs + LiteralSQL(clave);
  for (const QString& objeto : Filas(EjecutarSQL(sql, u"Database"_qs))) {
    const QString tipo = TipoObjetoBlob(tabla, clave, objeto).trimmed();
    const QString archivo = ExtraerObjetoBlob(tabla, clave, objeto);
    if (archivo.isEmpty()) continue;
    if (!pdf) {
      ImprimirDocumentoExterno(archivo, motor.ImpresoraActual, tipo);
    } else if (tipo.compare(u"PDF"_qs, Qt::CaseInsensitive) == 0) {
      const QString pieza = QDir(motor.CarpetaPiezas()).filePath(u"ZEMPDFCreatorTempAdj%1.pdf"_qs.arg(++objetos));
      if (QFile::rename(archivo, pieza) || QFile::copy(archivo, pieza)) motor.ArchivosPDF.append(pieza);
    } else if (tipo.compare(u"DOC"_qs, Qt::CaseInsensitive) == 0) {
      const QString pieza = QDir(motor.CarpetaPiezas()).filePath(u"ZEMPDFCreatorTempAdj%1.pdf"_qs.arg(++objetos));
      const QString error = PdfCreator::Convert(archivo, pieza);
      if (error.isEmpty())
        motor.ArchivosPDF.append(pieza);
      else
        AvisoErrorPDF(error);
    }
    QFile::remove(archivo);
  }
}

}  // namespace

void AdjuntarDocumentosAutomaticamente(TfGENELIMP& motor) {
  EjecucionImpreso& ejecucion = motor.Ejecucion();
  Table& documentos = *motor.Temporal;
  ejecucion.codigoImpresoActual = CodigoImpresoActual;
  const std::optional<DefinicionImpreso> impreso = ejecucion.Fuente().Impreso(ejecucion.CodigoDocumentoInicial());
  const QString conexion = ValorLista(u"ConexionDocumentosAdjuntos"_qs, impreso ? impreso->instrucciones : QString());
  const QString tablaDocumentos = conexion.section(u'>', 0, 0);
  const QStringList camposConexion = conexion.section(u'>', 1).split(u';', Qt::SkipEmptyParts);
  QStringList claves;
  for (const QString& clave : CamposClavePrimaria(documentos.TableName()).split(u';', Qt::SkipEmptyParts))
    claves.append(NombreSQL(clave));
  if (claves.isEmpty()) return;
  QStringList columnasConexion;
  for (const QString& campo : camposConexion) columnasConexion.append(NombreSQL(campo));
  const QString tabla = NombreSQLTabla(documentos.TableName());
  const QString orden = u"   ORDER BY "_qs + claves.join(u',');
  const QStringList filasClave = Filas(EjecutarSQL(u"SELECT "_qs + claves.join(u',') + u" FROM "_qs + tabla + orden,
                                                   documentos.DatabaseName()));
  const QStringList filasConexion =
      camposConexion.isEmpty() ? QStringList()
                               : Filas(EjecutarSQL(u"SELECT "_qs + columnasConexion.join(u',') + u" FROM "_qs + tabla + orden,
                                                   documentos.DatabaseName()));
  const bool pdf = motor.SalidaImpreso.startsWith(u"PDF:"_qs);
  int objetos = 0;
  for (qsizetype i = 0; i < filasClave.size(); ++i) {
    ejecucion.primeraEtiqueta = 1;
    QList<Variant> valores;
    for (const QString& valor : filasClave[i].split(u'|')) valores << Variant::String(valor);
    documentos.SetRange(valores, valores);
    ejecucion.destino = pdf ? DestinoSalida::Pantalla : DestinoSalida::Impresora;
    motor.EjecutarImpreso();
    if (pdf) {
      motor.ImpresoraActual = motor.SalidaImpreso;
      if (motor.NumeroPaginas() > 0) EscribirPaginasPDF(motor, u"ZEMPDFCreatorTemp%1.pdf"_qs.arg(i + 1));
      motor.LiberarPaginas();
    }
    if (motor.ImpresoraActual == u"Ninguna") continue;
    DocumentosGuardados(motor, tablaDocumentos, filasConexion.value(i), pdf, objetos);
    // The next documents go to the same printer without the dialog.
    NoSolicitarDialogoImpresora = true;
    motor.SalidaImpreso = motor.ImpresoraActual;
  }
  documentos.CancelRange();
  GenerarPDF(motor);
}
