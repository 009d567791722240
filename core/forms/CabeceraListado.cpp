#include "core/forms/CabeceraListado.h"

#include "core/helpers/Listas.h"
#include "platform/report/Band.h"
#include "platform/report/ReportEngine.h"

ReportItem* MemoRestricciones = nullptr;
int AlturaCabeceraListado = 0;
bool RecolocarCabecera = false;
QStringList PosicionesCabecera;

namespace {

const QString kTituloRestricciones = QStringLiteral("RESTRICCIONES Y OPCIONES DEL LISTADO: ");
constexpr int kAlturaLinea = 15;
constexpr int kAlturaMinima = 30;

bool apaisado(const Band& banda) {
  return banda.Report && banda.Report->Page.Orientation == QPageLayout::Landscape;
}

// Lines of 100 characters in portrait and 160 in landscape.
int alturaMemo(const Band& banda, const QString& texto) {
  const int porLinea = apaisado(banda) ? 160 : 100;
  const int altura = (static_cast<int>(texto.size()) / porLinea + 1) * kAlturaLinea;
  return altura < 16 ? kAlturaMinima : altura;
}

double posicionDisenada(const QString& etiqueta) {
  return ValorLista(etiqueta, PosicionesCabecera.join(QStringLiteral("\r\n"))).toDouble();
}

void colocarEtiquetas(Band& banda, double desplazamiento, bool tambienEmpresa) {
  for (const auto& elemento : banda.Items()) {
    if (elemento->Kind != ItemKind::Label) continue;
    if (!tambienEmpresa && elemento->Name == QLatin1String("TituloNombreEmpresa")) continue;
    elemento->Top = posicionDisenada(elemento->Name) + desplazamiento;
  }
}

}  // namespace

void CabeceraListado(Band& banda, bool& /*imprimir*/) {
  QString texto = MemoRestricciones ? MemoRestricciones->Caption : QString();
  if (!texto.isEmpty() && !texto.contains(kTituloRestricciones)) {
    texto.prepend(kTituloRestricciones);
    MemoRestricciones->Caption = texto;
  }
  if (RecolocarCabecera && !texto.isEmpty()) {
    const int altura = alturaMemo(banda, texto);
    MemoRestricciones->Enabled = true;
    MemoRestricciones->Height = altura;
    banda.Height = altura + AlturaCabeceraListado;
    colocarEtiquetas(banda, altura, false);
  } else {
    if (MemoRestricciones) MemoRestricciones->Enabled = false;
    banda.Height = AlturaCabeceraListado;
    colocarEtiquetas(banda, 0, true);
  }
  RecolocarCabecera = false;
}
