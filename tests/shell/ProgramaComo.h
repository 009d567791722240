#pragma once

#include "tests/fixtures/TemporaryFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QString>

#include <gtest/gtest.h>

// Runs the one test named in a copy of this program started under another
// name (a link to it), as the installation starts "ZEMWIN" or "MASPWIN".
inline void EjecutarTestComo(const char* programa, const QString& test) {
  SCOPED_TRACE(programa);
  TemporaryFolder carpeta;
  const QString enlace = carpeta.File(QString::fromLatin1(programa));
  ASSERT_TRUE(QFile::link(QCoreApplication::applicationFilePath(), enlace));
  QProcess copia;
  copia.setProcessChannelMode(QProcess::MergedChannels);
  copia.start(enlace, {u"--gtest_filter="_qs + test});
  ASSERT_TRUE(copia.waitForFinished(120000));
  const QByteArray salida = copia.readAll();
  EXPECT_EQ(copia.exitCode(), 0) << salida.toStdString();
  EXPECT_TRUE(salida.contains("[  PASSED  ] 1 test.")) << salida.toStdString();
}
