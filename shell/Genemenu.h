#pragma once

#include <QMainWindow>

#include <array>
#include <memory>

class QAction;
class QLabel;
class QMdiArea;
class QMenuBar;
class QToolButton;
class QWidget;
class Table;
class TZipMaster;

namespace Ui {
class TfGENEMENU;
}

// The MDI main window of the application manager: the application menu and
// the icon panel of the suite's modules.
class TfGENEMENU : public QMainWindow {
  Q_OBJECT

 public:
  explicit TfGENEMENU(QWidget* parent = nullptr);
  ~TfGENEMENU() override;

  // The run of the configuration program: no module menu, no icon panel.
  void ModoSoloConfiguracion();
  // Names and pictures of the special applications and of the icon buttons.
  void ConstruirMenuAplicaciones();
  void ImagenesClick(QObject* sender);
  void VerMenu1Click();
  void AcercadelGestordeAplicaciones1Click();
  void DescargadelaUltimaVersindeMirdalERP1Click();

  // The administration and utility commands of the menu, one per item.
  void Empresas1Click();
  void CamposdeUsuarioPersonalizadosClick();
  void ConfiguracindelSistema1Click();
  void ConfiguraciondeAplicaciones1Click();
  void ConfiguracionDeUsuariosClick();
  void ConfiguracindeImpresos1Click();
  void ConfiguracindeResponsabilidadDocumental1Click();
  void ConfiguracionDeInternacionalizacionClick();
  void ActualizacionBaseDatosClick();
  void TraspasoDatosParadoxInterbaseClick();
  void ConversorJuegosCaracteresClick();
  void GestionCopiasSeguridadSQLServerClick();
  void CopiadeSeguridadInstantneadeunaEmpresa1Click();
  void Restaurarcopiadeseguridaddeunaempresa1Click();
  void VerlaUbicacindelosArchivosdeCopiaClick();
  void IntroduccindeIncidenciasdelaAplicacin1Click();
  void ConsultadeIncidenciasdelaAplicacin1Click();
  void RegistrarunaLibreradeEnlaceDinmicoDLL1Click();
  void DesregistrarunaLibreradeEnlaceDinmicoDLL1Click();
  void RegistrarlasLibreriasZEMPDFCreator1Click();
  void TestdeRendimiento1Click();
  void InformacionConflictosBloqueoClick();
  void ListadeUsuariosdelBDE1Click();
  void LoNuevodelaVersionClick();

  QLabel* Image1() const { return image1_; }
  QWidget* Panel1() const { return panel1_; }
  TZipMaster* const ArchivoZip;
  QMdiArea* AreaMDI() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormShow();
  // Enables each entry exactly when its command can run.
  void ActivarEntradas();
  void FormResize();
  void conectarMenu();
  QAction* accion(const char* nombre) const;

  std::unique_ptr<Ui::TfGENEMENU> ui_;
  QMenuBar* mainMenu1_ = nullptr;
  std::unique_ptr<QMenuBar> menuFuera_;  // the menu bar while it is off the window
  QLabel* image1_ = nullptr;
  QWidget* panel1_ = nullptr;
  QAction* verMenu1_ = nullptr;
  Table* configuracion_ = nullptr;
  Table* empresa_ = nullptr;
  std::array<QToolButton*, 31> imagenes_{};  // 1 to 30
  bool creando_ = true;
  bool mostrado_ = false;
  bool cerrarTrasMostrar_ = false;
};

extern TfGENEMENU* fGENEMENU;
