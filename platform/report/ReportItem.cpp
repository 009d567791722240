#include "platform/report/ReportItem.h"

ReportItem::ReportItem() : Font(QStringLiteral("Arial")) { Font.setPixelSize(13); }
