#pragma once

#include <QString>

class QObject;

// "Asignar" gives every amount component of the form (tag 1000 or more) the
// currency handlers: float fields their shown text, report labels, data
// texts and sums their printed text, where the form set none of its own;
// and shows on the euro button which way amounts convert. "Desasignar"
// takes the handlers off again. Any other mode does nothing.
void ConmutarEuro(QObject& formulario, const QString& modo);
