#pragma once

// Deletes the files that earlier runs left behind: "_QS*.*" in the program
// folder and "QRP*.TMP" in the temporary folder.
void BorrarArchivosTemporales();
