#pragma once

#include "platform/StringList.h"

#include <QByteArray>
#include <QFlags>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace Descompresion {
struct Aviso;
}

// The zip component of the main window: it reads the list of entries of an
// archive itself and has the unzip library extract them.
class TZipMaster : public QObject {
  Q_OBJECT

 public:
  enum ExtrOption { ExtrDirNames = 1, ExtrOverWrite = 2, ExtrFreshen = 4, ExtrUpdate = 8, ExtrTest = 16 };
  Q_DECLARE_FLAGS(ExtrOptionSet, ExtrOption)
  // What a self-extracting archive does with a file that exists.
  enum SFXOverWriteMode { OvrConfirm, OvrAlways, OvrNever };

  // One local file header of the archive: the 26 bytes after its signature
  // and the entry's file name as stored.
  struct ZipDirEntry {
    std::array<char, 26> Cabecera;
    QByteArray FileName;
  };

  using ProgressEvent = std::function<void(QObject* sender, int kind, const QString& fileName, std::int64_t size)>;
  using MessageEvent = std::function<void(QObject* sender, int errorCode, const QString& text)>;
  using DirUpdateEvent = std::function<void(QObject* sender)>;

  explicit TZipMaster(QObject* owner);
  ~TZipMaster() override;

  QString ZipFilename() const { return zipFilename_; }
  // Reads the archive's entries, unless the component is being loaded.
  void SetZipFilename(const QString& nombre);
  int Count() const { return static_cast<int>(entradas_.size()); }
  const ZipDirEntry& Entry(int indice) const { return entradas_.at(std::size_t(indice)); }

  QString DLLDirectory() const { return dllDirectory_; }
  void SetDLLDirectory(const QString& carpeta);

  StringList FSpecArgs;
  QString ExtrBaseDir;
  ExtrOptionSet ExtrOptions;
  bool Verbose = false;
  bool Trace = false;
  QString Password;
  bool Loading = false;  // being loaded from its form definition
  bool Cancel = false;
  bool Busy() const { return busy_; }
  int SuccessCnt() const { return successCnt_; }

  // Kept as the form defines them; nothing here adds to or writes archives.
  int AddCompLevel = 9;
  unsigned AddOptions = 0;
  unsigned SFXOptions = 0;
  SFXOverWriteMode SFXOverWrMode = OvrConfirm;
  QString SFXCaption = QStringLiteral("Self-extracting Archive");

  ProgressEvent OnProgress;
  MessageEvent OnMessage;
  DirUpdateEvent OnDirUpdate;

  void LoadUnzDll();
  void UnloadUnzDll();
  static bool UnzDllLoaded();
  void Extract();
  void ListarZip();

 private:
  int UnzCallback(const Descompresion::Aviso& aviso);

  QString zipFilename_;
  QString dllDirectory_;
  std::vector<ZipDirEntry> entradas_;
  int successCnt_ = 0;
  bool busy_ = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TZipMaster::ExtrOptionSet)
