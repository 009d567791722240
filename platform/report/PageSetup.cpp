#include "platform/report/PageSetup.h"

namespace {

QSizeF portraitSize(PaperSize paper) {
  switch (paper) {
    case PaperSize::A3: return {1123, 1587};
    case PaperSize::A5: return {559, 794};
    case PaperSize::Letter: return {816, 1056};
    case PaperSize::A4: break;
  }
  return {794, 1123};
}

}  // namespace

double MillimetresToUnits(double millimetres) { return millimetres * kReportDpi / 25.4; }

QSizeF PageSetup::Size() const {
  const QSizeF portrait = portraitSize(Paper);
  return Orientation == QPageLayout::Landscape ? portrait.transposed() : portrait;
}

double PageSetup::LeftEdge() const { return MillimetresToUnits(LeftMargin); }
double PageSetup::TopEdge() const { return MillimetresToUnits(TopMargin); }
double PageSetup::RightEdge() const { return Size().width() - MillimetresToUnits(RightMargin); }
double PageSetup::BottomEdge() const { return Size().height() - MillimetresToUnits(BottomMargin); }

QPageSize::PageSizeId PageSetup::PageSizeId() const {
  switch (Paper) {
    case PaperSize::A3: return QPageSize::A3;
    case PaperSize::A5: return QPageSize::A5;
    case PaperSize::Letter: return QPageSize::Letter;
    case PaperSize::A4: break;
  }
  return QPageSize::A4;
}
