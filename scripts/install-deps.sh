#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run.
# Idempotent and non-interactive; does nothing when all are present.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev
  libsqlite3-dev
  unixodbc-dev libsqliteodbc tdsodbc
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-dejavu-core
  locales
)

# E-mail, download and unpacking: libcurl and libzip; the tests' loopback servers and certificates;
# the outside helper's mail program and printer client.
packages+=(
  libcurl4-openssl-dev libzip-dev
  python3-aiosmtpd python3-pyftpdlib openssl ca-certificates
  xdg-utils cups-client
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The format tests run under a Spanish process locale to show it changes nothing.
locale -a | grep -qix 'es_ES.utf8' || $SUDO localedef -i es_ES -f UTF-8 es_ES.UTF-8
