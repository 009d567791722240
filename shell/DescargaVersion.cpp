#include "shell/DescargaVersion.h"

#include "core/datamodule/IdentificacionUsuario.h"
#include "core/messages/MensajeSistema.h"
#include "core/progress/Geneprog.h"
#include "core/services/SeleccionLista.h"
#include "core/startup/Configuracion.h"
#include "core/system/Archivos.h"
#include "platform/net/ClienteFTP.h"
#include "platform/zip/Descompresion.h"
#include "shell/ZipMstr.h"

#include <QDir>
#include <QSet>

const QStringList PaquetesDescarga = {
    QStringLiteral("Archivos de Ayuda (AYUDA.zip)"),
    QStringLiteral("Archivos Script de BBDD (DATABASE.zip)"),
    QStringLiteral("Programas Auxiliares (AUXILIAR.zip)"),
    QStringLiteral("Conversor IVA (ConversorIVA.zip)"),
    QStringLiteral("Nóminas (TUVAWIN.zip)"),
    QStringLiteral("Contabilidad (RAXOWIN.zip)"),
    QStringLiteral("Tesorería (MOLUWIN.zip)"),
    QStringLiteral("Almacenes (PIRUWIN.zip)"),
    QStringLiteral("Facturación (GOBEWIN.zip)"),
    QStringLiteral("Cartera de Compras (DUNEWIN.zip)"),
    QStringLiteral("Control de Producción (KIVAWIN.zip)"),
    QStringLiteral("Pedidos de Cliente (SOLTWIN.zip)"),
    QStringLiteral("Control de Presencia (HAWEWIN.zip)"),
    QStringLiteral("Ofertas a Cliente (TEBAWIN.zip)"),
    QStringLiteral("Ofertas de Proveedor (WUDAWIN.zip)"),
    QStringLiteral("Gestión de Proyectos (BISEWIN.zip)"),
    QStringLiteral("Fabricación (YOMIWIN.zip)"),
    QStringLiteral("EDI (LURAWIN.zip)"),
    QStringLiteral("Control de Calidad (NORAWIN.zip)"),
    QStringLiteral("Control de Primas (GAVOWIN.zip)"),
    QStringLiteral("TPV (ZEKUWIN.zip)"),
    QStringLiteral("Planificación (MEROWIN.zip)"),
    QStringLiteral("Quill Overview (QuillOverview.zip)"),
    QStringLiteral("Control de Obras (JUPEWIN.zip)"),
    QStringLiteral("SAT (FEMOWIN.zip)"),
    QStringLiteral("CRM (HEPWIN.zip)"),
    QStringLiteral("Mantenimiento de Equipos (SIBOWIN.zip)"),
    QStringLiteral("Recursos Humanos (TAGUWIN.zip)"),
    QStringLiteral("SGA (HOLMWIN.zip)"),
    QStringLiteral("Captura de Datos (KOPEWIN.zip)"),
    QStringLiteral("Captura de Datos de Fabricación (KOPAWIN.zip)"),
    QStringLiteral("Aplicaciones Especiales (ESPECIAL.zip)"),
};

const QString ServidorDescargas = QStringLiteral("descargas.zem.es");

namespace {

const QString BibliotecaUnzip = QStringLiteral("Unzdll.dll");

EleccionPaquetes& eleccion() {
  static EleccionPaquetes instalada = &SeleccionarDeLista;
  return instalada;
}

QString nombreArchivo(const QString& linea) { return linea.mid(linea.indexOf(u'(') + 1).remove(u')'); }

// The server folder of a package; empty when it is not fetched.
QString carpetaServidor(const QString& nombre) {
  if (nombre == BibliotecaUnzip) return QStringLiteral("/gene/");
  if (nombre == QLatin1String("ESPECIAL.zip"))
    return CarpetaFTPClienteWebZEM.isEmpty() ? QString() : QStringLiteral("/clientes/") + CarpetaFTPClienteWebZEM + u'/';
  return QStringLiteral("/estandar/");
}

// What runs in every case once the client and the list exist.
struct Limpieza {
  ClienteFTP& cliente;
  ~Limpieza() {
    if (cliente.Connected()) cliente.Disconnect();
    MostrarProgreso(QStringLiteral("OFF"), QString(), QString());
  }
};

// The zip component's message handler for the run, put back afterwards. A
// staging folder left untouched is told apart (the archive is unpacked anyway)
// and kept for the end of the download, which tells it once.
struct MensajesZip {
  TZipMaster& zip;
  QStringList& restosNoValidos;
  TZipMaster::MessageEvent previo = zip.OnMessage;
  QString texto;
  MensajesZip(TZipMaster& componente, QStringList& restos) : zip(componente), restosNoValidos(restos) {
    zip.OnMessage = [this](QObject*, int codigo, const QString& mensaje) {
      if (codigo == Descompresion::RestosNoValidos)
        restosNoValidos.append(mensaje);
      else
        texto = mensaje;
    };
  }
  ~MensajesZip() { zip.OnMessage = previo; }
};

void descomprimir(TZipMaster& zip, const QString& nombre, const QString& descargas, QStringList& restosNoValidos) {
  zip.ExtrBaseDir = nombre == QLatin1String("DATABASE.zip") ? PathBaseDatosGeneral : CarpetaPrograma;
  zip.SetZipFilename(descargas + nombre);
  if (zip.Count() < 1) return;
  MostrarProgreso(QString(), QString(), QStringLiteral("Descomprimiendo...") + nombre);
  MensajesZip mensajes(zip, restosNoValidos);
  zip.Extract();
  if (!mensajes.texto.isEmpty())
    MensajeAviso(QStringLiteral("¡No se ha podido descomprimir el archivo ") + nombre + QStringLiteral("! Motivo: ") +
                 mensajes.texto);
}

}  // namespace

void InstalarEleccionPaquetes(EleccionPaquetes nueva) {
  eleccion() = nueva ? std::move(nueva) : EleccionPaquetes(&SeleccionarDeLista);
}

void DescargarUltimaVersion(TZipMaster& zip) {
  if (!ExigirAdministrador(CodigoUsuarioActual, QString())) return;
  QDir::setCurrent(CarpetaPrograma);
  const QString descargas = CarpetaPrograma + QStringLiteral("DOWNLOAD/");
  QDir().mkdir(descargas);

  ClienteFTP cliente;
  Limpieza limpieza{cliente};
  const QString elegidas = eleccion()(QStringLiteral("Titulo=Seleccion de Descargas\r\nFormato=0,0,300,0\r\nModo=Multiple"),
                                      PaquetesDescarga.join(QStringLiteral("\r\n")));
  QStringList lista = elegidas.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  if (lista.isEmpty()) return;
  lista.append(u'(' + BibliotecaUnzip + u')');

  MostrarProgreso(QStringLiteral("ON"), QStringLiteral("Descarga de archivos de Mirdal ERP"), QStringLiteral("Conectando..."));
  cliente.Username = QStringLiteral("ftpZEMDescargas");
  cliente.Password = QStringLiteral("K%m7ub41");
  cliente.Host = ServidorDescargas;
  cliente.Connect();

  QSet<QString> obtenidos;
  for (const QString& linea : lista) {
    const QString nombre = nombreArchivo(linea);
    MostrarProgreso(QString(), QString(), QStringLiteral("Descargando...") + nombre);
    const QString carpeta = carpetaServidor(nombre);
    if (carpeta.isEmpty()) continue;
    cliente.Get(carpeta + nombre, descargas + nombre);
    obtenidos.insert(nombre);
  }

  CopiarArchivo(descargas + BibliotecaUnzip, CarpetaPrograma + BibliotecaUnzip);
  zip.LoadUnzDll();
  zip.FSpecArgs.Add(QStringLiteral("*.*"));
  zip.ExtrOptions |= TZipMaster::ExtrOverWrite;
  QStringList restosNoValidos;
  for (const QString& linea : lista) {
    const QString nombre = nombreArchivo(linea);
    if (nombre != BibliotecaUnzip && obtenidos.contains(nombre)) descomprimir(zip, nombre, descargas, restosNoValidos);
  }
  restosNoValidos.removeDuplicates();
  for (const QString& resto : restosNoValidos) MensajeAviso(resto);
}
