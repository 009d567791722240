#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Whole-file reading and writing of the Windows-1252 text files the suite
// shares with other programs. Failures raise Exception with the file's name.
namespace TextFile {

QByteArray ReadBytes(const QString& path);
// The bytes go to a new file beside the target, which takes the target's
// place once they are on disk: a failure at any step leaves the old file
// whole. Readers see the old content or the new, never a part.
void WriteBytes(const QString& path, const QByteArray& bytes);

QString Read(const QString& path);
void Write(const QString& path, const QString& text);
// As Write, the new file readable and writable by its owner only (it may
// hold a password).
void WriteOwnerOnly(const QString& path, const QString& text);

// Reads the file (empty when missing) and writes what change makes of its
// bytes, holding a lock that every other Update of the file, in this program
// or another, waits for: two copies changing different parts keep both. A
// file that exists but cannot be read raises and is not written.
void Update(const QString& path, const std::function<QByteArray(const QByteArray& bytes)>& change);
// The same for several files at once, change giving their contents in the
// order of the paths: every new content is on disk before any takes its
// file's place, so a failure (a read-only file, a full disk) leaves them all
// as they were.
void UpdateTogether(const QStringList& paths,
                    const std::function<QList<QByteArray>(const QList<QByteArray>& bytes)>& change);

}  // namespace TextFile
