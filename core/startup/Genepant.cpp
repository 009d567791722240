#include "core/startup/Genepant.h"

#include "core/startup/TraduccionFormulario.h"
#include "platform/Paths.h"
#include "ui_GENEPANT.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

TfGENEPANT* fGENEPANT = nullptr;

namespace {

std::unique_ptr<TfGENEPANT>& pantalla() {
  static std::unique_ptr<TfGENEPANT> creada;
  return creada;
}

}  // namespace

TfGENEPANT::TfGENEPANT(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENEPANT>()) {
  ui_->setupUi(this);
  setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
  setFixedSize(462, 363);
  QPixmap logotipo;
  if (logotipo.load(Paths::FindFile(QDir::currentPath(), QStringLiteral("LOGOINI.BMP"))))
    ui_->Image1->setPixmap(logotipo);
}

TfGENEPANT::~TfGENEPANT() {
  if (fGENEPANT == this) fGENEPANT = nullptr;
}

QLabel* TfGENEPANT::Version() const { return ui_->Version; }

void TfGENEPANT::showEvent(QShowEvent* event) {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
  }
  Form::showEvent(event);
  TraducirFormulario(this);
}

TfGENEPANT* CrearPantallaPresentacion() {
  pantalla() = std::make_unique<TfGENEPANT>();
  fGENEPANT = pantalla().get();
  return fGENEPANT;
}

void LiberarPantallaPresentacion() { pantalla().reset(); }
