#include "shell/MenuPrincipal.h"

#include "shell/LanzamientoModulos.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

struct Item {
  const char* nombre;
  const char* titulo;  // "-" a separator
};

QMenu* menu(QMenuBar& barra, const char* nombre, const char* titulo) {
  QMenu* nuevo = barra.addMenu(QString::fromUtf8(titulo));
  nuevo->setObjectName(QString::fromLatin1(nombre));
  nuevo->menuAction()->setObjectName(QString::fromLatin1(nombre));
  return nuevo;
}

QAction* item(QMenu& menu, QMainWindow& ventana, const char* nombre, const QString& titulo) {
  QAction* accion = titulo == QLatin1String("-") ? new QAction(&ventana) : new QAction(titulo, &ventana);
  accion->setSeparator(titulo == QLatin1String("-"));
  accion->setObjectName(QString::fromLatin1(nombre));
  menu.addAction(accion);
  return accion;
}

void items(QMenu& menu, QMainWindow& ventana, std::initializer_list<Item> lista) {
  for (const Item& i : lista) item(menu, ventana, i.nombre, QString::fromUtf8(i.titulo));
}

}  // namespace

void ConstruirMenuPrincipal(QMainWindow& ventana, QMenuBar& barra) {
  items(*menu(barra, "BaseDatos1", "&Base Datos"), ventana,
        {{"Empresas1", "Maestro de &Empresas"},
         {"N6", "-"},
         {"CamposdeUsuarioPersonalizados", "Maestro de &Campos de Usuario Personalizados"},
         {"N2", "-"},
         {"Salir1", "&Salir"}});

  QMenu& aplicaciones = *menu(barra, "Aplicaciones1", "&Aplicaciones");
  for (const EntradaLanzamiento& entrada : EntradasLanzamiento) {
    if (entrada.tag < 0) continue;
    QAction* accion = item(aplicaciones, ventana, entrada.nombre, QString::fromUtf8(entrada.titulo));
    accion->setProperty("Tag", entrada.tag);
  }
  item(aplicaciones, ventana, "SeparadorAplicaciones", QStringLiteral("-"))->setVisible(false);
  for (int n = 1; n <= 5; ++n) {
    QAction* especial = item(aplicaciones, ventana, "", QStringLiteral("Aplicación Especial &") + QString::number(n));
    especial->setObjectName(QStringLiteral("AplicacionEspecial") + QString::number(n));
    especial->setProperty("Tag", 25 + n);
    especial->setVisible(false);
  }

  items(*menu(barra, "Configuracin1", "&Configuración"), ventana,
        {{"ConfiguracindelSistema1", "Configuración del &Sistema"},
         {"N4", "-"},
         {"ConfiguraciondeAplicaciones1", "&Configuración de Aplicaciones"},
         {"ConfiguracionDeUsuarios", "Configuración de &Usuarios"},
         {"ConfiguracindeImpresos1", "Configuración de &Impresos"},
         {"ConfiguracindeResponsabilidadDocumental1", "Configuración de &Responsabilidad Documental"},
         {"N11", "-"},
         {"ConfiguracionDeInternacionalizacion", "Configuración de Internacionalización"}});

  QMenu& utilidades = *menu(barra, "Utilidades1", "&Utilidades");
  items(utilidades, ventana,
        {{"ActualizacionBaseDatos", "Actualización de la Base de Datos"},
         {"TraspasoDatosParadoxInterbase", "Traspaso de Datos desde Paradox/Interbase"},
         {"ConversorJuegosCaracteres", "Conversor de Juegos de Caracteres"}});
  for (const EntradaLanzamiento& entrada : EntradasLanzamiento)
    if (entrada.tag < 0) item(utilidades, ventana, entrada.nombre, QString::fromUtf8(entrada.titulo));
  items(utilidades, ventana,
        {{"N10", "-"},
         {"GestionCopiasSeguridadSQLServer", "Gestión de Copias de Seguridad"},
         {"CopiadeSeguridadInstantneadeunaEmpresa1", "Copia de Seguridad Instantánea de una Empresa"},
         {"Restaurarcopiadeseguridaddeunaempresa1", "Restaurar Copia de Seguridad sobre una Empresa"},
         {"VerlaUbicacindelosArchivosdeCopia", "Ver la Ubicación de los Archivos de Copia de Seguridad"},
         {"N1", "-"},
         {"IntroduccindeIncidenciasdelaAplicacin1", "&Introducción de Incidencias de la Aplicación"},
         {"ConsultadeIncidenciasdelaAplicacin1", "&Consulta de Incidencias de la Aplicación"},
         {"N3", "-"},
         {"RegistrarunaLibreradeEnlaceDinmicoDLL1", "Registrar una Librería de Enlace Dinámico (DLL)"},
         {"DesregistrarunaLibreradeEnlaceDinmicoDLL1", "Desregistrar una Librería de Enlace Dinámico (DLL)"},
         {"RegistrarlasLibreriasZEMPDFCreator1", "Registrar las Librerías de ZEMPDFCreator"},
         {"N7", "-"},
         {"TestdeRendimiento1", "&Test de Rendimiento del Sistema"},
         {"N8", "-"},
         {"InformacionConflictosBloqueo", "Información de Conflictos de Bloqueo"},
         {"ListadeUsuariosdelBDE1", "Información del &Sistema"},
         {"N9", "-"},
         {"DescargadelaUltimaVersindeMirdalERP1", "Descarga de la Ultima Versión de Mirdal ERP"}});

  menu(barra, "Ventana1", "&Ventana");

  QMenu& ayuda = *menu(barra, "Ayuda1", "A&yuda");
  ayuda.menuAction()->setShortcut(QKeySequence(Qt::Key_F1));
  items(ayuda, ventana,
        {{"AyudadelGestordeAplicaciones1", "&Ayuda del Gestor de Aplicaciones"},
         {"LoNuevodelaVersion", "Lo Nuevo de la Versión"},
         {"N5", "-"},
         {"AcercadelGestordeAplicaciones1", "A&cerca del Gestor de Aplicaciones"}});
}
