#include "shell/LanzamientoModulos.h"

#include "core/startup/Configuracion.h"
#include "core/startup/LineaComandos.h"
#include "core/system/Procesos.h"

#include <QDir>
#include <QFileInfo>

const std::array<EntradaLanzamiento, 28> EntradasLanzamiento = {{
    {1, "Nominas1", "Nóminas", "TUVAWIN.EXE "},
    {2, "Contabilidad1", "Contabilidad", "RAXOWIN.EXE "},
    {3, "CarteraEfectos1", "Tesorería", "MOLUWIN.EXE "},
    {4, "OfertasaCliente1", "Ofertas a Clientes", "TEBAWIN.EXE "},
    {5, "CarteraPedidos1", "Cartera de Pedidos", "SOLTWIN.EXE "},
    {6, "Facturacion1", "Facturación", "GOBEWIN.EXE "},
    {7, "Almacenes1", "Almacén", "PIRUWIN.EXE "},
    {8, "ControlProduccion1", "Control de Producción", "KIVAWIN.EXE "},
    {9, "Fabricacion1", "Fabricación", "YOMIWIN.EXE "},
    {10, "OfertasDeProveedor1", "Ofertas de Proveedores", "WUDAWIN.EXE "},
    {11, "CarteraCompras1", "Cartera de Compras", "DUNEWIN.EXE "},
    {12, "ControlPresencia1", "Control de Presencia", "HAWEWIN.EXE "},
    {13, "ControldeProyectos1", "Control de Proyectos", "BISEWIN.EXE "},
    {14, "EtiquetaOdette1", "EDI", "LURAWIN.EXE "},
    {15, "ControldePrimas1", "Control de Primas", "GAVOWIN.EXE "},
    {16, "TerminalPuntodeVenta1", "Terminal Punto de Venta", "ZEKUWIN.EXE "},
    {17, "GestionCalidad1", "Gestión de Calidad", "NORAWIN.EXE "},
    {18, "Planificacion1", "Planificación", "MEROWIN.EXE "},
    {19, "QuillOverview1", "Quill Overview", "QuillOverview.exe "},
    {20, "ControlObras1", "Control de Obras", "JUPEWIN.EXE "},
    {21, "SAT1", "SAT", "FEMOWIN.EXE "},
    {22, "CRM1", "eZOB", "eZOB.exe "},
    {0, "CapturaDeDatosEnPlanta1", "Captura de Datos en Planta", "KOPEWIN.EXE "},
    {23, "MantenimientodeEquipos1", "Mantenimiento de Equipos", "SIBOWIN.EXE "},
    {24, "RecursosHumanos1", "Recursos Humanos", "TAGUWIN.EXE "},
    {25, "SGA1", "SGA", "HOLMWIN.exe "},
    {-1, "ConversionTiposIVA", "Conversión de Tipos de IVA", "PULMERA.EXE "},
    {-1, "ConversindeCCCaIBANyBIC1", "Conversión de CCC a IBAN y BIC", "TRESOLAK.EXE "},
}};

QString LineaComandosModulo(const QString& ejecutable) { return ejecutable + ParametrosLlamada(); }

QString LineaComandosAplicacionEspecial(int n, const QString& texto) {
  if (texto.isEmpty()) return QStringLiteral("ESPE") + QString::number(n) + QStringLiteral("WIN.EXE ") + ParametrosLlamada();
  if (!texto.contains(u' ')) return texto + u' ' + ParametrosLlamada();
  // A program path with blanks in it is quoted so that it stays one word.
  if (QFileInfo(QDir(CarpetaPrograma), texto).isFile()) return u'"' + texto + u'"';
  return texto;
}

void LanzarModulo(const QString& lineaComandos) {
  QDir::setCurrent(CarpetaPrograma);
  EjecutarPrograma(lineaComandos, QStringLiteral("Normal"));
}
