#pragma once

#include <QPixmap>
#include <QString>

// The pictures of the euro button by their resource names: "PTSEURO" while
// the base currency is not the euro (amounts go to euros), "EUROPTS" when it
// is (amounts go to the national currency). A null picture for other names.
QPixmap ImagenEuro(const QString& nombre);
