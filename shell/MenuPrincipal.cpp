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
  bool hecho;          // its command exists
};

QMenu* menu(QMenuBar& barra, const char* nombre, const char* titulo) {
  QMenu* nuevo = barra.addMenu(QString::fromUtf8(titulo));
  nuevo->setObjectName(QString::fromLatin1(nombre));
  nuevo->menuAction()->setObjectName(QString::fromLatin1(nombre));
  return nuevo;
}

QAction* item(QMenu& menu, QMainWindow& ventana, const char* nombre, const QString& titulo, bool hecho = true) {
  QAction* accion = titulo == QLatin1String("-") ? new QAction(&ventana) : new QAction(titulo, &ventana);
  accion->setSeparator(titulo == QLatin1String("-"));
  accion->setObjectName(QString::fromLatin1(nombre));
  accion->setEnabled(hecho);
  menu.addAction(accion);
  return accion;
}

void items(QMenu& menu, QMainWindow& ventana, std::initializer_list<Item> lista) {
  for (const Item& i : lista) item(menu, ventana, i.nombre, QString::fromUtf8(i.titulo), i.hecho);
}

}  // namespace

void ConstruirMenuPrincipal(QMainWindow& ventana, QMenuBar& barra) {
  items(*menu(barra, "BaseDatos1", "&Base Datos"), ventana,
        {{"Empresas1", "Maestro de &Empresas", true},
         {"N6", "-", true},
         {"CamposdeUsuarioPersonalizados", "Maestro de &Campos de Usuario Personalizados", true},
         {"N2", "-", true},
         {"Salir1", "&Salir", true}});

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
        {{"ConfiguracindelSistema1", "Configuración del &Sistema", true},
         {"N4", "-", true},
         {"ConfiguraciondeAplicaciones1", "&Configuración de Aplicaciones", true},
         {"ConfiguracionDeUsuarios", "Configuración de &Usuarios", true},
         {"ConfiguracindeImpresos1", "Configuración de &Impresos", true},
         {"ConfiguracindeResponsabilidadDocumental1", "Configuración de &Responsabilidad Documental", true},
         {"N11", "-", true},
         {"ConfiguracionDeInternacionalizacion", "Configuración de Internacionalización", true}});

  QMenu& utilidades = *menu(barra, "Utilidades1", "&Utilidades");
  items(utilidades, ventana,
        {{"ActualizacionBaseDatos", "Actualización de la Base de Datos", false},
         {"TraspasoDatosParadoxInterbase", "Traspaso de Datos desde Paradox/Interbase", false},
         {"ConversorJuegosCaracteres", "Conversor de Juegos de Caracteres", false}});
  for (const EntradaLanzamiento& entrada : EntradasLanzamiento)
    if (entrada.tag < 0) item(utilidades, ventana, entrada.nombre, QString::fromUtf8(entrada.titulo));
  items(utilidades, ventana,
        {{"N10", "-", true},
         {"GestionCopiasSeguridadSQLServer", "Gestión de Copias de Seguridad", true},
         {"CopiadeSeguridadInstantneadeunaEmpresa1", "Copia de Seguridad Instantánea de una Empresa", false},
         {"Restaurarcopiadeseguridaddeunaempresa1", "Restaurar Copia de Seguridad sobre una Empresa", false},
         {"VerlaUbicacindelosArchivosdeCopia", "Ver la Ubicación de los Archivos de Copia de Seguridad", false},
         {"N1", "-", true},
         {"IntroduccindeIncidenciasdelaAplicacin1", "&Introducción de Incidencias de la Aplicación", false},
         {"ConsultadeIncidenciasdelaAplicacin1", "&Consulta de Incidencias de la Aplicación", false},
         {"N3", "-", true},
         {"RegistrarunaLibreradeEnlaceDinmicoDLL1", "Registrar una Librería de Enlace Dinámico (DLL)", false},
         {"DesregistrarunaLibreradeEnlaceDinmicoDLL1", "Desregistrar una Librería de Enlace Dinámico (DLL)", false},
         {"RegistrarlasLibreriasZEMPDFCreator1", "Registrar las Librerías de ZEMPDFCreator", false},
         {"N7", "-", true},
         {"TestdeRendimiento1", "&Test de Rendimiento del Sistema", true},
         {"N8", "-", true},
         {"InformacionConflictosBloqueo", "Información de Conflictos de Bloqueo", false},
         {"ListadeUsuariosdelBDE1", "Información del &Sistema", false},
         {"N9", "-", true},
         {"DescargadelaUltimaVersindeMirdalERP1", "Descarga de la Ultima Versión de Mirdal ERP", true}});

  menu(barra, "Ventana1", "&Ventana");

  QMenu& ayuda = *menu(barra, "Ayuda1", "A&yuda");
  ayuda.menuAction()->setShortcut(QKeySequence(Qt::Key_F1));
  items(ayuda, ventana,
        {{"AyudadelGestordeAplicaciones1", "&Ayuda del Gestor de Aplicaciones", true},
         {"LoNuevodelaVersion", "Lo Nuevo de la Versión", true},
         {"N5", "-", true},
         {"AcercadelGestordeAplicaciones1", "A&cerca del Gestor de Aplicaciones", true}});
}
