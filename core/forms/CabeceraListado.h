#pragma once

#include <QString>
#include <QStringList>

class Band;
struct ReportItem;

// The header state a listing fills before it runs.
// The memo of the listing's restrictions and options.
extern ReportItem* MemoRestricciones;
// The title band's height without the memo.
extern int AlturaCabeceraListado;
// Set by a listing when the title band must be laid out again; cleared by CabeceraListado.
extern bool RecolocarCabecera;
// "label name=designed top" for each label of the title band.
extern QStringList PosicionesCabecera;

// The title band's before-print handler: the restrictions memo under the
// title, with the band's labels (but the company name) moved down below it;
// without restrictions the band and its labels as designed.
void CabeceraListado(Band& banda, bool& imprimir);
