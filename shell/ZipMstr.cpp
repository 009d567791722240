#include "shell/ZipMstr.h"

#include "platform/Exceptions.h"
#include "platform/PlainMessage.h"
#include "platform/zip/Descompresion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace {

constexpr quint32 FirmaCabeceraLocal = 0x04034B50;
constexpr quint32 FirmaDirectorioCentral = 0x02014B50;
constexpr quint32 FirmaFinDirectorio = 0x06054B50;
constexpr qint64 InicioAutoextraible = 14000;
constexpr qint64 BusquedaMaxima = 60000;
constexpr qint64 TamanoFinDirectorio = 22;

// The library bound by LoadUnzDll, shared by every instance.
int (*unzDllExec)(const Descompresion::Parametros&) = nullptr;

// The header scan of an archive: the entries of its local file headers, up to
// its central directory.
class LecturaZip {
 public:
  LecturaZip(QFile& archivo, std::vector<TZipMaster::ZipDirEntry>& entradas)
      : archivo_(archivo), entradas_(entradas), tamano_(archivo.size()) {}

  void Leer() {
    if (!buscarFirma()) return;
    bool firmaLeida = true;
    for (;;) {
      quint32 firma = FirmaCabeceraLocal;
      if (!firmaLeida) {
        QByteArray bytes = archivo_.read(4);
        if (bytes.size() != 4) throw Exception(QStringLiteral("Error reading Zip File"));
        firma = qFromLittleEndian<quint32>(bytes.constData());
      }
      firmaLeida = false;
      if (firma == FirmaDirectorioCentral || firma == FirmaFinDirectorio) return;
      if (firma != FirmaCabeceraLocal) continue;
      if (!leerEntrada()) {
        if (!buscarFirma()) return;
        firmaLeida = true;
      }
    }
  }

 private:
  // False when no entry was read yet and the header did not hold: the scan
  // for a signature goes on.
  bool leerEntrada() {
    TZipMaster::ZipDirEntry entrada;
    const QByteArray cabecera = archivo_.read(26);
    const auto campo16 = [&](int desde) { return qFromLittleEndian<quint16>(cabecera.constData() + desde); };
    if (cabecera.size() == 26) entrada.FileName = archivo_.read(campo16(22));
    if (cabecera.size() != 26 || entrada.FileName.size() != campo16(22)) return fallo("Error 2 reading Zip file");
    std::copy(cabecera.begin(), cabecera.end(), entrada.Cabecera.begin());
    const qint64 extra = campo16(24);
    const qint64 comprimido = qFromLittleEndian<quint32>(cabecera.constData() + 14);
    const qint64 despuesExtra = archivo_.pos() + extra;
    if (despuesExtra + comprimido > tamano_ - TamanoFinDirectorio) return fallo("Error 3 reading Zip file");
    if (!archivo_.seek(despuesExtra) || archivo_.pos() != despuesExtra)
      throw Exception(QStringLiteral("Error 4 reading Zip file"));
    if (!archivo_.seek(despuesExtra + comprimido) || archivo_.pos() != despuesExtra + comprimido)
      throw Exception(QStringLiteral("Error 5 reading Zip file"));
    entradas_.push_back(std::move(entrada));
    return true;
  }

  bool fallo(const char* texto) {
    if (!entradas_.empty()) throw Exception(QString::fromLatin1(texto));
    return false;
  }

  // Reads byte by byte up to the next "PK\3\4"; the signature must begin
  // within the first 60000 bytes scanned.
  bool buscarFirma() {
    quint32 ventana = 0;
    char byte = 0;
    for (;;) {
      if (explorados_ >= BusquedaMaxima + 3 || !archivo_.getChar(&byte)) {
        ShowMessage(QStringLiteral("No valid zip entries found"));
        return false;
      }
      ++explorados_;
      ventana = (ventana >> 8) | (quint32(quint8(byte)) << 24);
      if (explorados_ >= 4 && ventana == FirmaCabeceraLocal) return true;
    }
  }

  QFile& archivo_;
  std::vector<TZipMaster::ZipDirEntry>& entradas_;
  const qint64 tamano_;
  qint64 explorados_ = 0;
};

}  // namespace

TZipMaster::TZipMaster(QObject* owner) : QObject(owner) {}

TZipMaster::~TZipMaster() = default;

void TZipMaster::SetZipFilename(const QString& nombre) {
  zipFilename_ = nombre;
  if (!Loading) ListarZip();
}

void TZipMaster::SetDLLDirectory(const QString& carpeta) {
  dllDirectory_ = carpeta.endsWith(u'\\') ? carpeta.chopped(1) : carpeta;
}

void TZipMaster::ListarZip() {
  entradas_.clear();
  if (!zipFilename_.isEmpty() && QFileInfo(zipFilename_).isFile()) {
    QFile archivo(zipFilename_);
    if (archivo.open(QIODevice::ReadOnly)) {
      if (QFileInfo(zipFilename_).suffix().toUpper() == QLatin1String("EXE")) archivo.seek(InicioAutoextraible);
      LecturaZip(archivo, entradas_).Leer();
    }
  }
  if (OnDirUpdate) OnDirUpdate(this);
}

// The built-in extraction stands where the unzip library was loaded: there is
// no library file to load.
void TZipMaster::LoadUnzDll() {
  unzDllExec = &Descompresion::Extraer;
  if (Trace) ShowMessage(QStringLiteral("UNZ DLL Loaded"));
}

void TZipMaster::UnloadUnzDll() { unzDllExec = nullptr; }

bool TZipMaster::UnzDllLoaded() { return unzDllExec != nullptr; }

void TZipMaster::Extract() {
  successCnt_ = 0;
  if (zipFilename_.isEmpty() || !QFileInfo(zipFilename_).isFile()) {
    ShowMessage(QStringLiteral("Error - no zip file specified"));
    return;
  }
  if (busy_) return;
  busy_ = true;
  Cancel = false;
  const bool cargadaAqui = !UnzDllLoaded();
  if (cargadaAqui) LoadUnzDll();
  struct Fin {
    TZipMaster& zip;
    bool descargar;
    ~Fin() {
      zip.FSpecArgs.Clear();
      if (descargar) zip.UnloadUnzDll();
      zip.Cancel = false;
      zip.busy_ = false;
    }
  } fin{*this, cargadaAqui};

  Descompresion::Parametros parametros;
  parametros.archivo = zipFilename_;
  parametros.carpeta = QFileInfo(ExtrBaseDir).isDir() ? ExtrBaseDir : QDir::currentPath();
  parametros.patronesArchivo = FSpecArgs.Lines();
  parametros.clave = Password.left(80);
  parametros.soloPrueba = ExtrOptions.testFlag(ExtrTest);
  parametros.actualizar = ExtrOptions.testFlag(ExtrUpdate);
  parametros.refrescar = ExtrOptions.testFlag(ExtrFreshen) && !parametros.actualizar;
  parametros.nombresCarpetas = ExtrOptions.testFlag(ExtrDirNames);
  parametros.sobrescribir = ExtrOptions.testFlag(ExtrOverWrite);
  parametros.llamada = [this](const Descompresion::Aviso& aviso) { return UnzCallback(aviso) == 0; };
  try {
    successCnt_ = unzDllExec(parametros);
  } catch (const std::exception&) {
    ShowMessage(QStringLiteral("Fatal DLL Error: abort exception"));
  }
}

int TZipMaster::UnzCallback(const Descompresion::Aviso& aviso) {
  using Aviso = Descompresion::Aviso;
  switch (aviso.accion) {
    case Aviso::NuevoArchivo:
      if (OnProgress) OnProgress(this, 0, aviso.texto, aviso.tamano);
      break;
    case Aviso::Progreso:
      if (OnProgress) OnProgress(this, 1, QStringLiteral(" "), 0);
      break;
    case Aviso::FinLote:
      if (OnProgress) OnProgress(this, 2, QStringLiteral(" "), 0);
      break;
    case Aviso::Mensaje: {
      QString texto = aviso.texto;
      for (int i = 0; i < 2 && (texto.endsWith(u'\r') || texto.endsWith(u'\n')); ++i) texto.chop(1);
      if (OnMessage) OnMessage(this, aviso.codigoError, texto);
      break;
    }
  }
  return Cancel ? -1 : 0;
}
