#pragma once

#include <QString>

class RecordedPages;

// The texts of recorded pages as a file of one of our formats, in
// Windows-1252, lines ended by CR LF; each line of a printed band gives one
// line (or row), the lines a wrapped item runs over one, its texts from left
// to right:
// - Text: the texts at fixed columns of 8 report units, as on the page;
// - Csv: the values in double quotes (inner quotes doubled, line breaks kept
//   as CR LF), joined by ","; an item that printed nothing gives an empty
//   value, so each value stays under its column;
// - Html: a table, a row per band and a cell per value, texts escaped and
//   characters the code page lacks as character references.
// The file replaces the target only once complete; a failure raises with the
// reason and leaves the target as it was.
enum class ExportFormat { Text, Csv, Html };

void ExportPages(const RecordedPages& pages, ExportFormat format, const QString& fileName,
                 const QString& title = QString());
