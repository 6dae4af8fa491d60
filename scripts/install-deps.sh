#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and look at itself.
# Idempotent: when everything is already there it says nothing and touches nothing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libopencv-dev qtbase5-dev qtbase5-dev-tools libx11-dev
  fonts-liberation locales
  xvfb xauth imagemagick tmux xdotool
  libfuzzylite-dev libgif-dev qttranslations5-l10n
  clang libclang-rt-14-dev clang-format help2man
  lintian desktop-file-utils
  python3-dev pybind11-dev python3-numpy python3-pytest python3-matplotlib
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing packages: ${missing[*]} (run as root)" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The file tests write and read tables under a comma-decimal locale.
if ! locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$'; then
  if [ "$(id -u)" -eq 0 ]; then
    sed -i 's/^# *\(fr_FR.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^fr_FR.UTF-8 UTF-8' /etc/locale.gen || echo 'fr_FR.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  else
    echo "install-deps: locale fr_FR.UTF-8 missing (run as root)" >&2
  fi
fi
