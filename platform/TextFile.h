#pragma once

#include <QByteArray>
#include <QString>

// Whole-file reading and writing of the Windows-1252 text files the suite
// shares with other programs. Failures raise Exception with the file's name.
namespace TextFile {

QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);

QString Read(const QString& path);
void Write(const QString& path, const QString& text);

}  // namespace TextFile
