#include "core/progress/Geneprog.h"

#include "core/messages/MensajeSistema.h"
#include "core/datamodule/Traduccion.h"
#include "core/startup/TraduccionFormulario.h"
#include "core/startup/Configuracion.h"
#include "platform/Clock.h"
#include "ui_GENEPROG.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QStatusBar>

#include <algorithm>
#include <utility>

bool CancelarListado = false;
TfGENEPROG* fGENEPROG = nullptr;

namespace {

constexpr int kAnchoMinimo = 330;
constexpr int kAlto = 85;
constexpr int kMargenTexto = 40;
constexpr int kMargenPanel = 16;
constexpr int kMargenPanelVistaY7 = 8;
constexpr int kDistanciaAlPie = 150;
constexpr int kAnchoPanelEstado = 50;
// A copy changes the text at every record: its pending messages are handled
// at most this often, still soon enough for an Esc or a repaint.
constexpr qint64 kIntervaloMensajes = 30;

qint64 ultimaAtencion = 0;

void atenderMensajes(bool siempre) {
  const qint64 ahora = ClockSeam::Get().Milliseconds();
  if (!siempre && ahora >= ultimaAtencion && ahora - ultimaAtencion < kIntervaloMensajes) return;
  ultimaAtencion = ahora;
  QCoreApplication::processEvents();
}

std::unique_ptr<TfGENEPROG>& ventana() {
  static std::unique_ptr<TfGENEPROG> creada;
  return creada;
}

void liberarVentana() {
  ventana().reset();
  fGENEPROG = nullptr;
}

TfGENEPROG& crearVentana() {
  static const bool liberacionAlSalir = [] {
    // A window still on at the end goes before the application object does.
    qAddPostRoutine(liberarVentana);
    return true;
  }();
  (void)liberacionAlSalir;
  // A second "ON" replaces the window instead of leaving the first on screen.
  ventana() = std::make_unique<TfGENEPROG>();
  fGENEPROG = ventana().get();
  return *fGENEPROG;
}

void cambiarProgreso(const QString& modo, const QString& titulo, const QString& texto) {
  if (modo == QLatin1String("ON")) {
    TfGENEPROG& progreso = crearVentana();
    progreso.SetCaption(titulo);
    progreso.EditProgreso()->setText(texto);
    progreso.EditProgresoChange();
    progreso.show();
  } else if (modo == QLatin1String("OFF")) {
    liberarVentana();
  } else if (modo.isEmpty() && fGENEPROG) {
    fGENEPROG->CambiarTexto(texto);
  }
}

QString textoTraducido(const QString& texto) {
  const QLatin1String puntos("...");
  const qsizetype primeros = texto.indexOf(puntos);
  if (primeros < 0) return Traducir(texto);
  const qsizetype desde = primeros + puntos.size();
  const qsizetype segundos = texto.indexOf(puntos, desde);
  const QString medio = segundos < 0 ? texto.mid(desde) : texto.mid(desde, segundos - desde);
  return Traducir(texto.left(primeros)) + puntos + medio;
}

}  // namespace

TfGENEPROG::TfGENEPROG(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENEPROG>()) {
  ui_->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
  setCursor(Qt::WaitCursor);
  ui_->PanelProgreso->setBackgroundRole(QPalette::Base);  // the window colour of an edit
  auto* panel = new QLabel(ui_->StatusBar1);
  panel->setObjectName(QStringLiteral("Panel0"));
  panel->setFixedWidth(kAnchoPanelEstado);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  ui_->StatusBar1->addWidget(panel);
  Timer.OnTimer = [this] { TimerTimer(); };
  Timer.SetEnabled(true);
  intervaloPintado_.OnTimer = [this] { finIntervalo(); };
}

TfGENEPROG::~TfGENEPROG() {
  if (fGENEPROG == this) fGENEPROG = nullptr;
}

QLabel* TfGENEPROG::EditProgreso() const { return ui_->EditProgreso; }
QFrame* TfGENEPROG::PanelProgreso() const { return ui_->PanelProgreso; }
QStatusBar* TfGENEPROG::StatusBar1() const { return ui_->StatusBar1; }

void TfGENEPROG::EditProgresoChange() {
  ui_->EditProgreso->adjustSize();
  const int ancho = std::max(kAnchoMinimo, ui_->EditProgreso->width() + kMargenTexto);
  int anchoPanel = ancho - kMargenPanel;
  if (Plataforma == QLatin1String("Windows VISTA") || Plataforma == QLatin1String("Windows 7"))
    anchoPanel -= kMargenPanelVistaY7;
  ui_->PanelProgreso->resize(anchoPanel, ui_->PanelProgreso->height());
  setFixedSize(ancho, kAlto);
  if (const QScreen* pantalla = QGuiApplication::primaryScreen()) {
    const QRect area = pantalla->geometry();
    move(area.x() + (area.width() - ancho) / 2, area.y() + area.height() - kAlto - kDistanciaAlPie);
  }
}

void TfGENEPROG::CambiarTexto(const QString& texto) {
  textoDiferido_ = nullptr;
  if (texto == ui_->EditProgreso->text() && !textoPendiente_) return;
  if (intervaloPintado_.Enabled()) {
    // Not painted now, nor by the pending messages handled after each change.
    ui_->EditProgreso->setUpdatesEnabled(false);
    ui_->EditProgreso->setText(texto);
    textoPendiente_ = true;
    return;
  }
  ui_->EditProgreso->setText(texto);
  mostrarTexto();
  intervaloPintado_.SetEnabled(true);
}

void TfGENEPROG::CambiarTextoDiferido(std::function<QString()> texto) {
  if (!intervaloPintado_.Enabled()) return CambiarTexto(texto());
  textoDiferido_ = std::move(texto);
  textoPendiente_ = true;
}

void TfGENEPROG::mostrarTexto() {
  if (textoDiferido_) ui_->EditProgreso->setText(std::exchange(textoDiferido_, nullptr)());
  textoPendiente_ = false;
  ui_->EditProgreso->setUpdatesEnabled(true);
  EditProgresoChange();
  repaint();
}

void TfGENEPROG::finIntervalo() {
  if (textoPendiente_)
    mostrarTexto();
  else
    intervaloPintado_.SetEnabled(false);
}

void TfGENEPROG::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  TraducirFormulario(this);
}

void TfGENEPROG::changeEvent(QEvent* event) {
  Form::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TfGENEPROG::keyPressEvent(QKeyEvent* event) { FormKeyDown(event); }

void TfGENEPROG::FormActivate() { repaint(); }

void TfGENEPROG::FormKeyDown(QKeyEvent* event) {
  // Esc must not close the window as it would close a dialog: the listing
  // decides when to stop.
  if (event->key() != Qt::Key_Escape) {
    Form::keyPressEvent(event);
    return;
  }
  QString respuesta;
  MensajeConfirmacion(
      QStringLiteral("El listado será cancelado a continuación. ¿Desea continuar con el listado?"), respuesta);
  CancelarListado = respuesta != QLatin1String("SI");
}

void TfGENEPROG::TimerTimer() { ui_->EditProgreso->repaint(); }

void VentanaProgreso(const QString& modo, const QString& titulo, const QString& /*otro*/, const QString& texto) {
  cambiarProgreso(modo, titulo, texto);
  atenderMensajes(!modo.isEmpty());
}

void VentanaProgresoDiferida(std::function<QString()> texto) {
  if (fGENEPROG) fGENEPROG->CambiarTextoDiferido(std::move(texto));
  atenderMensajes(false);
}

void MostrarProgreso(const QString& modo, const QString& titulo, const QString& texto) {
  cambiarProgreso(modo, Traducir(titulo), textoTraducido(texto));
}
