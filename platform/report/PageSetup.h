#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>

// The page of a report in its own units: pixels of a 96-dpi screen, so an A4
// page is 794 x 1123 whatever the device it ends on. Margins are kept in
// millimetres, as the report designer gives them.
enum class PaperSize { A4, A3, A5, Letter };

struct PageSetup {
  PaperSize Paper = PaperSize::A4;
  QPageLayout::Orientation Orientation = QPageLayout::Portrait;
  double LeftMargin = 10;
  double TopMargin = 10;
  double RightMargin = 10;
  double BottomMargin = 10;

  QSizeF Size() const;  // in report units, turned for landscape
  double LeftEdge() const;
  double TopEdge() const;
  double RightEdge() const;
  double BottomEdge() const;
  QPageSize::PageSizeId PageSizeId() const;
};

inline constexpr double kReportDpi = 96.0;
double MillimetresToUnits(double millimetres);
