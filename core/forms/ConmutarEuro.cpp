#include "core/forms/ConmutarEuro.h"

#include "core/datamodule/ConversionMoneda.h"
#include "core/datamodule/PresentacionMoneda.h"
#include "core/forms/BotonEuro.h"
#include "core/forms/ImagenesEuro.h"
#include "platform/controls/Components.h"
#include "platform/data/Field.h"
#include "platform/report/ReportComponent.h"

#include <QAbstractButton>

namespace {

constexpr int kEtiquetaImporte = 1000;

bool esImporte(const ReportItem& elemento) {
  return elemento.Tag >= kEtiquetaImporte &&
         (elemento.Kind == ItemKind::Label || elemento.Kind == ItemKind::DataText || elemento.Kind == ItemKind::Sum);
}

bool esImporte(const Field& campo) {
  return campo.Tag() >= kEtiquetaImporte && (campo.DataType() == ftFloat || campo.DataType() == ftCurrency);
}

template <typename Accion>
void paraCadaElementoImporte(ReportEngine& informe, Accion accion) {
  for (const auto& banda : informe.Bands())
    for (const auto& elemento : banda->Items())
      if (esImporte(*elemento)) accion(*elemento);
}

void mostrarSentido(QObject& formulario) {
  if (!ParametrosGeneralesCargados()) return;
  QAbstractButton* boton = BotonEuro(qobject_cast<QWidget*>(&formulario));
  if (!boton) return;
  const CodigosMoneda codigos = Codigos();
  const QPixmap imagen = ImagenEuro(codigos.base != codigos.euro ? QStringLiteral("PTSEURO") : QStringLiteral("EUROPTS"));
  boton->setIcon(imagen);
  boton->setIconSize(imagen.size());
}

void asignar(QObject& formulario) {
  for (QObject* componente : Components(&formulario)) {
    if (auto* campo = qobject_cast<Field*>(componente); campo && esImporte(*campo)) {
      campo->OnGetText = VerEnMonedaNacionalOEuro;
    } else if (auto* informe = qobject_cast<ReportComponent*>(componente)) {
      paraCadaElementoImporte(informe->Report(), [](ReportItem& elemento) {
        if (!elemento.OnPrint) elemento.OnPrint = ImprimirEnMonedaNacionalOEuro;
      });
    }
  }
  mostrarSentido(formulario);
}

void desasignar(QObject& formulario) {
  for (QObject* componente : Components(&formulario)) {
    if (auto* campo = qobject_cast<Field*>(componente); campo && esImporte(*campo)) {
      campo->OnGetText = nullptr;
    } else if (auto* informe = qobject_cast<ReportComponent*>(componente)) {
      paraCadaElementoImporte(informe->Report(), [](ReportItem& elemento) { elemento.OnPrint = nullptr; });
    }
  }
}

}  // namespace

void ConmutarEuro(QObject& formulario, const QString& modo) {
  if (modo == QLatin1String("Asignar")) asignar(formulario);
  else if (modo == QLatin1String("Desasignar")) desasignar(formulario);
}
