#include "core/messages/Genemens.h"

#include "core/messages/MensajeSistema.h"
#include "core/startup/Configuracion.h"
#include "core/startup/TraduccionFormulario.h"
#include "ui_GENEMENS.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QStyle>

TfGENEMENS* fGENEMENS = nullptr;

namespace {

// The box's outer width and heights; the window frame takes this much of them.
constexpr int kAncho = 404;
constexpr int kAlto = 158;
constexpr int kAltoWindowsXP = 162;
constexpr int kAltoPregunta = 195;
constexpr int kMarcoAncho = 10;
constexpr int kMarcoAlto = 27;

constexpr int kLongitudTextoLargo = 90;
constexpr int kFuenteTextoLargo = 8;

QPixmap imagen(const QStyle* estilo, QStyle::StandardPixmap cual) { return estilo->standardIcon(cual).pixmap(48, 48); }

}  // namespace

TfGENEMENS::TfGENEMENS(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENEMENS>()) {
  ui_->setupUi(this);
  // Single border, system menu only.
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  // The panel only shows the text and takes no clicks; disabled, Qt would grey the text.
  ui_->PanelMensaje->setAttribute(Qt::WA_TransparentForMouseEvents);
  ui_->ImagenInformacion->setPixmap(imagen(style(), QStyle::SP_MessageBoxInformation));
  ui_->ImagenExclamacion->setPixmap(imagen(style(), QStyle::SP_MessageBoxWarning));
  ui_->ImagenInterrogacion->setPixmap(imagen(style(), QStyle::SP_MessageBoxQuestion));
  ui_->ImagenError->setPixmap(imagen(style(), QStyle::SP_MessageBoxCritical));
  QFont fuenteRespuesta = ui_->EditRespuesta->font();
  fuenteRespuesta.setPixelSize(12);
  ui_->EditRespuesta->setFont(fuenteRespuesta);
  connect(ui_->pbAceptar, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
  connect(ui_->pbSI, &QPushButton::clicked, this, [this] { SetModalResult(mrYes); });
  connect(ui_->pbNO, &QPushButton::clicked, this, [this] { SetModalResult(mrNo); });
}

TfGENEMENS::~TfGENEMENS() {
  if (fGENEMENS == this) fGENEMENS = nullptr;
}

QString TfGENEMENS::Present(const QString& kind, const QString& text, const QString& defaultAnswer) {
  // A copy: the arguments may be the request globals, which a nested message overwrites.
  const QString tipo = kind;
  cerrado_ = true;
  if (isVisible()) return tipo == QLatin1String("C") ? QStringLiteral("NO") : QString();
  TipoMensajeActual = tipo;
  TextoMensajeActual = text;
  RespuestaMensaje = defaultAnswer;
  const int resultado = ShowModal();
  cerrado_ = resultado != mrOk && resultado != mrYes && resultado != mrNo;
  if (tipo == QLatin1String("C")) return resultado == mrYes ? QStringLiteral("SI") : QStringLiteral("NO");
  if (tipo == QLatin1String("P")) return resultado == mrOk ? RespuestaMensaje : QString();
  return QString();
}

void TfGENEMENS::showEvent(QShowEvent* event) {
  FormShow();
  Form::showEvent(event);
  FormActivate();
}

void TfGENEMENS::changeEvent(QEvent* event) {
  Form::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TfGENEMENS::hideEvent(QHideEvent* event) {
  FormHide();
  Form::hideEvent(event);
}

void TfGENEMENS::keyPressEvent(QKeyEvent* event) {
  // Esc answers with the cancel button, "No", when it is on the box; any
  // other box it closes unanswered, as its close box does.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    if (ui_->pbNO->isVisible() && ui_->pbNO->isEnabled())
      ui_->pbNO->click();
    else
      close();
    return;
  }
  Form::keyPressEvent(event);
}

void TfGENEMENS::FormShow() {
  tipoMostrado_ = TipoMensajeActual;
  ui_->PanelMensaje->setVisible(false);
  ui_->TextoMensaje->setText(TextoMensajeActual);
  QFont fuente = ui_->TextoMensaje->font();
  tamanoFuenteTexto_ = fuente.pointSize();
  if (TextoMensajeActual.size() > kLongitudTextoLargo) {
    fuente.setPointSize(kFuenteTextoLargo);
    ui_->TextoMensaje->setFont(fuente);
  }

  for (QWidget* oculto : std::initializer_list<QWidget*>{ui_->ImagenInformacion, ui_->ImagenExclamacion,
                                                         ui_->ImagenInterrogacion, ui_->ImagenError, ui_->pbAceptar,
                                                         ui_->pbSI, ui_->pbNO, ui_->PanelRespuesta})
    oculto->setVisible(false);
  ui_->pbAceptar->move(153, 99);
  ui_->pbAceptar->setDefault(true);
  ui_->pbNO->setDefault(false);
  ui_->EditRespuesta->setEchoMode(QLineEdit::Normal);

  int alto = Plataforma == QLatin1String("Windows XP") ? kAltoWindowsXP : kAlto;

  struct Tipo {
    const char* tipo;
    const char* titulo;
    QLabel* imagen;
  };
  const Tipo tipos[] = {{"I", "Información", ui_->ImagenInformacion},
                        {"A", "Advertencia", ui_->ImagenExclamacion},
                        {"E", "Error", ui_->ImagenError},
                        {"C", "Confirmar", ui_->ImagenInterrogacion},
                        {"P", "Pregunta", ui_->ImagenInterrogacion}};
  for (const Tipo& tipo : tipos) {
    if (tipoMostrado_ != QLatin1String(tipo.tipo)) continue;
    ui_->PanelMensaje->setVisible(true);
    SetCaption(QString::fromUtf8(tipo.titulo));
    tipo.imagen->move(10, 18);
    tipo.imagen->setVisible(true);
    if (tipoMostrado_ == QLatin1String("C")) {
      ui_->pbSI->setVisible(true);
      ui_->pbNO->setVisible(true);
      ui_->pbAceptar->setDefault(false);
      ui_->pbNO->setDefault(true);
      ui_->pbNO->setFocus();
    } else {
      ui_->pbAceptar->setVisible(true);
    }
    if (tipoMostrado_ == QLatin1String("P")) {
      alto = kAltoPregunta;
      ui_->PanelRespuesta->setVisible(true);
      ui_->pbAceptar->move(153, 135);
      if (RespuestaMensaje == QLatin1String("Password")) {
        ui_->EditRespuesta->clear();
        ui_->EditRespuesta->setEchoMode(QLineEdit::Password);
      } else {
        ui_->EditRespuesta->setText(RespuestaMensaje);
        ui_->EditRespuesta->selectAll();  // typing replaces the default
      }
      ui_->EditRespuesta->setFocus();
    }
  }
  setFixedSize(kAncho - kMarcoAncho, alto - kMarcoAlto);

  if (const QScreen* pantalla = QGuiApplication::primaryScreen()) {
    const QRect area = pantalla->geometry();
    const QSize exterior(kAncho, alto);
    move(area.x() + (area.width() - exterior.width()) / 2, area.y() + (area.height() - exterior.height()) / 2);
  }
}

void TfGENEMENS::FormActivate() {
  // The caption and the text are among the form's translated texts.
  TraducirFormulario(this);
  QString texto = ui_->EditRespuesta->text();
  const qsizetype inicio = texto.indexOf(QLatin1String(":SelStart:"));
  if (inicio < 0) return;
  texto.remove(QLatin1String(":SelStart:"));
  const qsizetype fin = texto.indexOf(QLatin1String(":SelEnd:"));
  texto.remove(QLatin1String(":SelEnd:"));
  ui_->EditRespuesta->setText(texto);
  const qsizetype longitud = fin < inicio ? texto.size() - inicio : fin - inicio;
  ui_->EditRespuesta->setSelection(static_cast<int>(inicio), static_cast<int>(longitud));
}

void TfGENEMENS::FormHide() {
  if (tipoMostrado_ == QLatin1String("P")) RespuestaMensaje = ui_->EditRespuesta->text();
  QFont fuente = ui_->TextoMensaje->font();
  fuente.setPointSize(tamanoFuenteTexto_);
  ui_->TextoMensaje->setFont(fuente);
}
