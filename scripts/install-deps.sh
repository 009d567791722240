#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run.
# Idempotent and non-interactive; does nothing when all are present.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev qt6-webengine-dev
  # Qt's own dialogs in Spanish
  qt6-translations-l10n
  libsqlite3-dev sqlite3
  # the checksum of the embedded server's backups
  libxxhash-dev
  unixodbc-dev libsqliteodbc tdsodbc
  # Interbase sources of the data transfer, and the embedded engine its tests make them with
  libqt6sql6-ibase libfbclient2 firebird3.0-server-core firebird3.0-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  libxlsxwriter-dev libzip-dev libqpdf-dev poppler-utils fonts-liberation2
  # Word templates converted and printed as PDF
  libreoffice-writer-nogui
  # the reference barcode encoder of the barcode tests
  libzint-dev
  # raw and PDF jobs through the scheduler's library; the tests' private scheduler
  libcups2-dev cups
  libcurl4-openssl-dev openssl ca-certificates
  xvfb xauth fonts-dejavu-core
  # a window manager and the stacking order it reports, for the tests run on a display
  openbox x11-utils
  locales
  # the tests' loopback mail and FTP servers; the outside helper's mail program and printer client
  python3-aiosmtpd python3-pyftpdlib
  xdg-utils cups-client
  # the scheduled backups' crontab
  cron
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
# Another program holding the package lock is waited for, not failed on.
apt_get() { $SUDO apt-get -o DPkg::Lock::Timeout=600 "$@"; }
# Older apt-get update does not wait for the lists lock: it is tried again.
update_lists() {
  local attempt output
  for attempt in $(seq 60); do
    if output="$(apt_get update -qq 2>&1)"; then return 0; fi
    grep -q 'Could not get lock' <<<"$output" || break
    sleep 10
  done
  echo "$output" >&2
  return 1
}
if [ ${#missing[@]} -gt 0 ]; then
  update_lists
  apt_get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The format tests run under a Spanish process locale to show it changes nothing.
locale -a | grep -qix 'es_ES.utf8' || $SUDO localedef -i es_ES -f UTF-8 es_ES.UTF-8
