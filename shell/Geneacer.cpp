#include "shell/Geneacer.h"

#include "core/datamodule/Traduccion.h"
#include "core/startup/Configuracion.h"
#include "core/startup/TraduccionFormulario.h"
#include "core/system/CursorEspera.h"
#include "platform/DesktopServices.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "platform/VirtualKeys.h"
#include "platform/VisorWeb.h"
#include "platform/format/DateTime.h"
#include "platform/format/Format.h"
#include "shell/ImagenesProducto.h"
#include "ui_GENEACER.h"

#include <QDate>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>

#include <functional>

namespace {

const QString kCorreo = QStringLiteral("info@zem.es");
const QString kWeb = QStringLiteral("http://www.zem.es");
const QString kServicioSoporte = QStringLiteral("https://soporte.zem.es");
const QString kTokenCliente = QStringLiteral("W53QR2k614039H7");

// The click of a label or picture, which have no click of their own.
class Pulsacion : public QObject {
 public:
  Pulsacion(QWidget* control, std::function<void()> alPulsar) : QObject(control), alPulsar_(std::move(alPulsar)) {
    control->installEventFilter(this);
  }

  bool eventFilter(QObject* control, QEvent* evento) override {
    if (evento->type() == QEvent::MouseButtonRelease) {
      const auto* raton = static_cast<QMouseEvent*>(evento);
      if (raton->button() == Qt::LeftButton && static_cast<QWidget*>(control)->rect().contains(raton->position().toPoint()))
        alPulsar_();
    }
    return false;
  }

 private:
  std::function<void()> alPulsar_;
};

void abrir(const QString& direccion) { DesktopServicesSeam::Get().OpenUrl(direccion); }

}  // namespace

QString ArchivoPaginaSoporte() { return CarpetaPrograma + QStringLiteral("Inquiero.html"); }

QString PaginaSoporte() {
  return QStringLiteral("<script language=\"JavaScript\" src=\"") + kServicioSoporte +
         QStringLiteral("/inquiero/web/an/ann4.asp?login=") + kTokenCliente + QStringLiteral("&lang=es\"></script>");
}

QString TextoVersion(const QString& ejecutable) {
  return Traducir(QStringLiteral("Versión")) + QStringLiteral(" 2024b - (") +
         DateTimeToStr(ToDateTime(QFileInfo(ejecutable).lastModified())) + u')';
}

TfGENEACER::TfGENEACER(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENEACER>()) {
  ui_->setupUi(this);
  ui_->Image1->setPixmap(EmblemaProducto(ui_->Image1->height()));
  ui_->Image2->setPixmap(MarcaFabricante(ui_->Image2->size()));
  ui_->DireccionEMail->setText(kCorreo);
  ui_->SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  webBrowser1_ = VisorWebSeam::Get().Crear(*ui_->PanelWebBrowser);
  webBrowser1_->setObjectName(QStringLiteral("WebBrowser1"));

  connect(ui_->SpeedButton1, &QToolButton::clicked, this, [this] { SetModalResult(mrOk); });
  new Pulsacion(ui_->DireccionEMail, [this] { abrir(QStringLiteral("mailto:") + ui_->DireccionEMail->text()); });
  new Pulsacion(ui_->Aviso, [] { abrir(kWeb); });
  new Pulsacion(ui_->Image2, [] { abrir(kWeb); });
  OnKeyDown = [this](Form& formulario, quint16& tecla, Qt::KeyboardModifiers estado) {
    if (estado & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) return;
    if (tecla == VK::Return) formulario.SetModalResult(mrOk);
    // Esc closes the box as its close button does.
    if (tecla == VK::Escape) {
      tecla = 0;
      ui_->SpeedButton1->click();
    }
  };
}

TfGENEACER::~TfGENEACER() = default;

QLabel* TfGENEACER::NombreProducto() const { return ui_->NombreProducto; }
QLabel* TfGENEACER::Version() const { return ui_->Version; }

void TfGENEACER::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  FormShow();
}

void TfGENEACER::resizeEvent(QResizeEvent* event) {
  Form::resizeEvent(event);
  alinearMarco();
}

// The frame panels keep to the edges whatever the width.
void TfGENEACER::alinearMarco() {
  const int ancho = width();
  const int alto = height();
  const int arriba = ui_->PanelNegroSup->height();
  const int abajo = ui_->PanelNegroInf->height();
  ui_->PanelNegroSup->setGeometry(0, 0, ancho, arriba);
  ui_->PanelNegroInf->setGeometry(0, alto - abajo, ancho, abajo);
  ui_->PanelNegroIzq->setGeometry(0, arriba, ui_->PanelNegroIzq->width(), alto - arriba - abajo);
  const int derecho = ui_->PanelNegroDer->width();
  ui_->PanelNegroDer->setGeometry(ancho - derecho, arriba, derecho, alto - arriba - abajo);
}

void TfGENEACER::FormShow() {
  // Narrowed once shown: it is placed again at the middle of its owner's window.
  const QRect antes = geometry();
  resize(230, height());
  const QWidget* propietario = parentWidget() ? parentWidget()->window() : nullptr;
  move((propietario ? propietario->geometry().center() : antes.center()) - rect().center());
  ui_->PanelWebBrowser->move(25, -3);
  for (QFrame* panel : {ui_->PanelNegroSup, ui_->PanelNegroIzq, ui_->PanelNegroDer, ui_->PanelNegroInf})
    panel->setStyleSheet(QStringLiteral("background-color: black; color: white;"));
  ui_->Version->setText(TextoVersion(QCoreApplication::applicationFilePath()));
  ui_->Aviso->setText(QStringLiteral("© 1989-") + QString::number(QDate::currentDate().year()) + QStringLiteral(" ZEM"));
  {
    CursorEspera espera;
    const QString archivo = Paths::Internal(ArchivoPaginaSoporte());
    TextFile::Write(archivo, PaginaSoporte());
    VisorWebSeam::Get().Navegar(*webBrowser1_, QStringLiteral("file://") + archivo);
  }
  TraducirFormulario(this);
}
