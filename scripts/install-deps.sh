#!/usr/bin/env bash
# Installs the Debian packages the project needs to build, run and test.
# Safe to run again: it asks apt only for what is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  googletest libgtest-dev
  unixodbc unixodbc-dev libsqliteodbc odbc-postgresql
  sqlite3 libsqlite3-dev libpq-dev
  postgresql postgresql-contrib
  libcli11-dev nlohmann-json3-dev libinih-dev
  binutils locales
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
