#pragma once

#include "platform/Form.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QKeyEvent;

namespace Ui {
class TfGENEBSQL;
}

// The SQL Server backups: daily backups of a list of databases, scheduled
// with the SQL Server Agent or as a crontab task that starts the backup
// runner, and the restore of one database from a backup file. The settings
// are kept in the section "Backup MS SQL Server" of the program INI file,
// written only after a complete success.
class TfGENEBSQL : public Form {
  Q_OBJECT

 public:
  static constexpr auto kSeccion = "Backup MS SQL Server";
  static constexpr auto kArchivoRunner = "DEXOWIN.CFG";

  explicit TfGENEBSQL(QWidget* owner = nullptr);
  ~TfGENEBSQL() override;

  void LeerConfiguracionCopias();
  void GrabarConfiguracionCopias();
  void GestorTareaCopiaClick();
  void pbCrearCopiaSeguridadClick();
  void AgregartodaslasBasesdeDatos1Click();
  void PageControl1Change();
  void edBasesDatosRestaurarClick();
  void pbRestaurarCopiaSeguridadClick();
  // True when the schedule was made; every failure is warned of.
  bool CrearTareaAgenteSQL();
  bool CrearTareaProgramadaWindows();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool ValidarDatosCopia();
  QStringList basesDatos() const;
  QString carpetaCopias() const;
  // Runs a statement on the msdb connection; raises the server's error.
  void ejecutar(const QString& sentencia);
  bool crearTarea(const std::function<void()>& crear);
  void crearTareaCrontab();

  std::unique_ptr<Ui::TfGENEBSQL> ui_;
  QString conexion_;  // the msdb connection string
};

extern TfGENEBSQL* fGENEBSQL;

// The Windows domain of this computer; empty when it has none.
QString DominioServidor();
// Runs the program with the input, waiting for it; its exit code, -1 when
// it could not start or crashed. Its standard output and error go to salida.
int EjecutarProceso(const QString& programa, const QStringList& argumentos, const QByteArray& entrada,
                    QByteArray& salida);

// The main menu opens it by its class name.
void RegistrarGENEBSQL();
