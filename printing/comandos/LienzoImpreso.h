#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPen>

class QPainter;

// A canvas of a printed form: the painter of a page or of the printer job,
// with the drawing state the commands leave for the ones that follow. Text
// takes its own colour, so lines and frames keep theirs.
struct LienzoImpreso {
  QPainter* pintor = nullptr;
  QFont fuente{QStringLiteral("Arial"), 8};
  QColor colorFuente = Qt::black;
  QPen lapiz{QBrush(Qt::black), 1};
  QBrush brocha{Qt::NoBrush};
};
