#!/usr/bin/env bash
# Installs every Debian package the configurator needs to build, run and test.
# Idempotent and non-interactive: when everything is present it does nothing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6network6 libgl-dev
  libpugixml-dev zlib1g-dev libjpeg-dev libzip-dev unixodbc-dev libxlsxwriter-dev
  unixodbc libsqliteodbc libreoffice-calc-nogui libreoffice-writer-nogui
  lld
  googletest libgmock-dev libgtest-dev libbenchmark-dev
  fonts-dejavu-core fonts-liberation2 fonts-wine
  libqt6printsupport6 poppler-utils
  xvfb xauth x11-utils libxcb1-dev xdotool xclip iproute2 util-linux
  clang libclang-rt-14-dev
  python3
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "setup: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
