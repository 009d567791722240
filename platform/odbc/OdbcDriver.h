#pragma once

#include <QString>

#include <compare>
#include <optional>

// The version of an installed ODBC driver, as its SQL_DRIVER_VER gives it
// ("01.03.0017").
struct OdbcDriverVersion {
  int major = 0;
  int minor = 0;
  int release = 0;

  static std::optional<OdbcDriverVersion> Parse(const QString& text);
  QString Text() const;  // "1.3.17"
  auto operator<=>(const OdbcDriverVersion&) const = default;
};

// Asked of the driver library itself, before any connection, so that what
// the driver would misread can be refused before it is sent. Empty when the
// driver manager lists no such driver or its library does not answer.
std::optional<OdbcDriverVersion> InstalledDriverVersion(const QString& driverName);
