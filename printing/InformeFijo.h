#pragma once

#include <QString>
#include <QStringList>

class ReportEngine;
struct ParametrosListado;
struct ReportItem;

// What the listing report and the incident report share: the page header
// (logo, title, company name), the page footer, the colour schemes, the
// compression and the restrictions header.

// A4 portrait, 10 mm above and below; the page header, 99 high, with the
// title "QRTitulo", the second line "TituloNombreEmpresa" and the picture
// "TituloLogotipoEmpresa".
void DisenarInformeFijo(ReportEngine& informe);
// The page footer, 45 high: "Página  " and the page number, and the time of
// printing after "Impreso el ".
void AgregarPiePagina(ReportEngine& informe);

// The current company's name; empty without a company.
QString NombreEmpresaActual();

// Any scheme but "Standard": silver goes white and the labels take their
// band's colour; "Basica" and "Blanco y Negro" frame the black-backed labels
// as black on white; "Blanco y Negro" leaves every text black.
void AplicarTramas(ReportEngine& informe, const QString& tramas);
void ComprimirCelda(ReportItem& celda, const ParametrosListado& parametros, bool conPosicion);
// Every text of the design: labels also in place and width.
void ComprimirInforme(ReportEngine& informe, const ParametrosListado& parametros);

// Made with ListarRestricciones, unless the listing dialog is the active MDI
// child: the options of the form the report is asked from, as its visible
// controls in ListaControlesListado give them ("Nombre En Palabras: texto, "
// for edits and combo boxes, the caption of a checked box or radio button),
// but "VisualizacionPrevia", then the analysis-group ranges when the form
// offers them (pbRangoGruposAnalisis); empty otherwise.
QString OpcionesDelFormulario(const ParametrosListado& parametros);

// The page header's label tops and height as designed, taken before any run
// has moved them for the restrictions.
struct CabeceraDisenada {
  QStringList posiciones;  // label name "=" top
  int altura = 0;
};
CabeceraDisenada TomarCabeceraDisenada(const ReportEngine& informe);

// The memo of the restrictions under the logo of the page header, laid out
// by CabeceraListado on the first page only, from the designed header; a
// report output again starts from that same design.
void ColocarRestricciones(ReportEngine& informe, const QString& texto, const CabeceraDisenada& disenada);
// The header as it stands taken as its design: for a report laid out once.
void ColocarRestricciones(ReportEngine& informe, const QString& texto);
