#pragma once

#include <QString>

class RecordedPages;

// The texts of recorded pages as a file of one of our formats, in
// Windows-1252, lines ended by CR LF; each printed band gives one line (or
// row), its texts from left to right:
// - Text: the texts at fixed columns of 8 report units, as on the page;
// - Csv: the values in double quotes (inner quotes doubled), joined by ",";
// - Html: a table, a row per band and a cell per value, texts escaped and
//   characters the code page lacks as character references.
// The file replaces the target only once complete; a failure raises with the
// reason and leaves the target as it was.
enum class ExportFormat { Text, Csv, Html };

void ExportPages(const RecordedPages& pages, ExportFormat format, const QString& fileName,
                 const QString& title = QString());
