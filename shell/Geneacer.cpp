#include "shell/Geneacer.h"

#include "core/datamodule/Traduccion.h"
#include "core/startup/Configuracion.h"
#include "core/startup/TraduccionFormulario.h"
#include "core/system/CursorEspera.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "platform/format/DateTime.h"
#include "platform/format/Format.h"
#include "shell/VisorWeb.h"

#include <QApplication>
#include <QDate>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString kCorreo = QStringLiteral("info@zem.es");
const QString kWeb = QStringLiteral("http://www.zem.es");
const QString kServicioSoporte = QStringLiteral("https://soporte.zem.es");
const QString kTokenCliente = QStringLiteral("W53QR2k614039H7");

QLabel* etiqueta(QWidget* padre, const char* nombre, const QString& texto) {
  auto* label = new QLabel(texto, padre);
  label->setObjectName(QString::fromLatin1(nombre));
  return label;
}

QWidget* panelNegro(QWidget* padre, const char* nombre) {
  auto* panel = new QWidget(padre);
  panel->setObjectName(QString::fromLatin1(nombre));
  panel->setStyleSheet(QStringLiteral("background-color: black; color: white;"));
  panel->setAutoFillBackground(true);
  return panel;
}

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

TfGENEACER::TfGENEACER(QWidget* owner) : Form(owner) {
  setObjectName(QStringLiteral("fGENEACER"));
  SetCaption(QStringLiteral("Acerca de..."));
  resize(455, 358);
  auto* columna = new QVBoxLayout(this);
  QWidget* superior = panelNegro(this, "PanelNegroSup");
  auto* inferior = panelNegro(this, "PanelNegroInf");
  panelNegro(this, "PanelNegroIzq")->hide();
  panelNegro(this, "PanelNegroDer")->hide();
  nombreProducto_ = etiqueta(inferior, "NombreProducto", QStringLiteral("Gestor de Aplicaciones Comerciales e Industriales"));
  (new QVBoxLayout(inferior))->addWidget(nombreProducto_);
  superior->setFixedHeight(4);
  version_ = etiqueta(this, "Version", QStringLiteral("Versión xx.xx"));
  auto* correo = etiqueta(this, "DireccionEMail", kCorreo);
  correo->setCursor(Qt::PointingHandCursor);
  aviso_ = etiqueta(this, "Aviso", QString());
  aviso_->setCursor(Qt::PointingHandCursor);
  panelWebBrowser_ = new QWidget(this);
  panelWebBrowser_->setObjectName(QStringLiteral("PanelWebBrowser"));
  auto* cerrar = new QPushButton(this);
  cerrar->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  cerrar->setObjectName(QStringLiteral("SpeedButton1"));
  connect(cerrar, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
  for (QWidget* control : {superior, static_cast<QWidget*>(inferior), static_cast<QWidget*>(version_),
                           static_cast<QWidget*>(correo), static_cast<QWidget*>(aviso_), panelWebBrowser_,
                           })
    columna->addWidget(control);
  columna->addWidget(cerrar, 0, Qt::AlignRight);
  OnKeyDown = [](Form& formulario, QKeyEvent* evento) {
    if ((evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) &&
        !(evento->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
      formulario.SetModalResult(mrOk);
  };
  correo->setText(QStringLiteral("<a href=\"mailto:") + kCorreo + QStringLiteral("\">") + kCorreo + QStringLiteral("</a>"));
  correo->setOpenExternalLinks(true);
  aviso_->setOpenExternalLinks(true);
}

void TfGENEACER::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  FormShow();
}

void TfGENEACER::FormShow() {
  resize(230, height());
  panelWebBrowser_->move(25, -3);
  version_->setText(TextoVersion(QCoreApplication::applicationFilePath()));
  aviso_->setText(QStringLiteral("<a href=\"") + kWeb + QStringLiteral("\">© 1989-") +
                  QString::number(QDate::currentDate().year()) + QStringLiteral(" ZEM</a>"));
  {
    CursorEspera espera;
    const QString archivo = ArchivoPaginaSoporte();
    TextFile::Write(Paths::Internal(archivo), PaginaSoporte());
    VisorWebSeam::Get().Navegar(*panelWebBrowser_, QStringLiteral("file://") + archivo);
  }
  TraducirFormulario(this);
}
