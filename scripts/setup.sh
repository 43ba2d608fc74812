#!/usr/bin/env bash
# Installs the Debian packages Orlimber builds, runs and tests with.
# Idempotent and quiet when everything is already present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libwxgtk3.2-dev libgtk-3-dev libx11-dev
  libcairo2-dev libpango1.0-dev
  zlib1g-dev libpng-dev libjpeg62-turbo-dev libtiff-dev libopenjp2-7-dev
  libcurl4-openssl-dev
  libcanberra-dev
  libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool xclip git
  fonts-liberation xdg-utils
  # independent tools the tests compare against
  imagemagick netpbm giflib-tools poppler-utils libtiff-tools libjpeg-turbo-progs
  libopenjp2-tools libwmf-bin emf2svg printemf librsvg2-bin fonts-urw-base35
  # fuzz targets and the sanitizer run
  clang libclang-rt-14-dev
  # the layout check of scripts/check-format.sh
  clang-format
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq >/dev/null
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
