#include "dialogs/Genecalc.h"

#include "core/forms/AparienciaFormulario.h"
#include "core/helpers/Calculadora.h"
#include "core/startup/TraduccionFormulario.h"
#include "platform/FormRegistry.h"
#include "platform/VirtualKeys.h"
#include "platform/format/Format.h"
#include "ui_GENECALC.h"

TfGENECALC* fGENECALC = nullptr;

namespace {

// Pesetas to the euro.
constexpr double kCambioEuro = 166.386;

}  // namespace

TfGENECALC::TfGENECALC(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENECALC>()) {
  ui_->setupUi(this);
  const std::pair<QPushButton*, QChar> teclas[] = {
      {ui_->pb0, u'0'},     {ui_->pb1, u'1'},          {ui_->pb2, u'2'},      {ui_->pb3, u'3'},
      {ui_->pb4, u'4'},     {ui_->pb5, u'5'},          {ui_->pb6, u'6'},      {ui_->pb7, u'7'},
      {ui_->pb8, u'8'},     {ui_->pb9, u'9'},          {ui_->pbComa, u','},   {ui_->pbSuma, u'+'},
      {ui_->pbResta, u'-'}, {ui_->pbMultiplica, u'*'}, {ui_->pbDivide, u'/'}, {ui_->pbIgual, u'='},
  };
  for (const auto& [boton, tecla] : teclas)
    connect(boton, &QPushButton::clicked, this, [this, tecla = tecla] { pulsacion(tecla); });
  connect(ui_->pbBorrar, &QPushButton::clicked, this, &TfGENECALC::borrar);
  connect(ui_->pbEuro, &QPushButton::clicked, this, [this] { convertir(1 / kCambioEuro); });
  connect(ui_->pbPeseta, &QPushButton::clicked, this, [this] { convertir(kCambioEuro); });
  connect(ui_->pbCambiaSigno, &QPushButton::clicked, this, [this] {
    mostrar(-valor());
    nuevaEntrada_ = false;
  });
  connect(ui_->pbAceptar, &QPushButton::clicked, this, [this] {
    if (!pendiente_.isNull()) igual();
    SetModalResult(mrOk);
  });
  OnKeyDown = [](Form& formulario, quint16& tecla, Qt::KeyboardModifiers) {
    if (tecla == VK::Escape) formulario.SetModalResult(mrCancel);
  };
  OnKeyPress = [this](Form&, QChar& tecla) {
    pulsacion(tecla == u'.' ? u',' : tecla);
    if (tecla != u'\r') tecla = QChar();
  };
  connect(this, &QDialog::finished, this, &TfGENECALC::guardar);
  AplicarAspecto(*this);
  fGENECALC = this;
}

TfGENECALC::~TfGENECALC() {
  if (fGENECALC == this) fGENECALC = nullptr;
}

QString TfGENECALC::Visor() const { return ui_->Visor->text(); }

void TfGENECALC::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  exacto_ = property(kPropiedadValorCalculadora).toDouble();
  ui_->Visor->setText(FormatFloat(QStringLiteral("0.##"), exacto_));
  exactoVigente_ = true;
  setProperty(kPropiedadCambiadaCalculadora, false);
  acumulado_ = 0;
  pendiente_ = QChar();
  nuevaEntrada_ = true;
  ui_->pbAceptar->setFocus();
  TraducirFormulario(this);
}

double TfGENECALC::valor() const {
  if (exactoVigente_) return exacto_;
  double numero = 0;
  return TryStrToFloat(ui_->Visor->text(), numero) ? numero : 0;
}

void TfGENECALC::mostrar(double numero) {
  escribir(FormatFloat(QStringLiteral("0.##########"), numero));
  exacto_ = numero;
  exactoVigente_ = true;
}

void TfGENECALC::escribir(const QString& texto) {
  ui_->Visor->setText(texto);
  exactoVigente_ = false;
  setProperty(kPropiedadCambiadaCalculadora, true);
}

void TfGENECALC::digito(QChar cifra) {
  const QString visor = ui_->Visor->text();
  escribir(nuevaEntrada_ || visor == QLatin1String("0") ? QString(cifra) : visor + cifra);
  nuevaEntrada_ = false;
}

void TfGENECALC::coma() {
  if (nuevaEntrada_)
    escribir(QStringLiteral("0,"));
  else if (!ui_->Visor->text().contains(u','))
    escribir(ui_->Visor->text() + u',');
  nuevaEntrada_ = false;
}

void TfGENECALC::operacion(QChar nueva) {
  if (!pendiente_.isNull() && !nuevaEntrada_)
    igual();
  else
    acumulado_ = valor();
  pendiente_ = nueva;
  nuevaEntrada_ = true;
}

void TfGENECALC::igual() {
  const double operando = valor();
  switch (pendiente_.unicode()) {
    case u'+': acumulado_ += operando; break;
    case u'-': acumulado_ -= operando; break;
    case u'*': acumulado_ *= operando; break;
    // A division by zero leaves the first operand.
    case u'/': if (operando != 0) acumulado_ /= operando; break;
    default: acumulado_ = operando; break;
  }
  pendiente_ = QChar();
  mostrar(acumulado_);
  nuevaEntrada_ = true;
}

void TfGENECALC::borrar() {
  escribir(QStringLiteral("0"));
  acumulado_ = 0;
  pendiente_ = QChar();
  nuevaEntrada_ = true;
}

void TfGENECALC::convertir(double factor) {
  mostrar(valor() * factor);
  nuevaEntrada_ = true;
}

void TfGENECALC::pulsacion(QChar tecla) {
  if (tecla.isDigit())
    digito(tecla);
  else if (tecla == u',')
    coma();
  else if (tecla == u'=')
    igual();
  else if (QStringLiteral("+-*/").contains(tecla))
    operacion(tecla);
}

void TfGENECALC::guardar() { setProperty(kPropiedadValorCalculadora, valor()); }

void RegistrarGENECALC() {
  FormRegistry::Register(QStringLiteral("TfGENECALC"), [](QWidget* owner) { return new TfGENECALC(owner); });
}
