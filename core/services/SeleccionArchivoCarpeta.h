#pragma once

#include <QString>

// The class name under which the program registers its file and folder
// chooser form: the label "Titulo", the file tree "ShellTreeView" with the
// properties Root, ObjectTypes ("otFolders", "otNonFolders", "otHidden") and
// Path, and an OK button.
inline constexpr auto kFormularioSeleccionArchivoCarpeta = "TfGENEOPEN";

// Lets the user choose a file or folder in a tree rooted at the path. The
// options name what the tree shows: "Carpetas" folders, "Archivos" files,
// "Ocultos" hidden ones. On OK the path becomes the chosen entry (the root
// when none was chosen) and the result is true; otherwise the path stays. The
// tree starts at the folder the path names or at the folder of the file it
// names, else at the installation's folder; a choice of folders can be
// cancelled. A failure is warned of and gives false.
bool SeleccionarArchivoCarpeta(const QString& titulo, QString& ruta, const QString& opciones);
