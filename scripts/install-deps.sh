#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Mirel needs.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends \
  build-essential cmake ninja-build ccache pkg-config git ca-certificates dpkg-dev file \
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-webengine-dev-tools \
  libqt6webenginecore6-bin libqt6opengl6-dev libgl-dev \
  qt6-qpa-plugins libqt6svg6 \
  libpcre2-dev libglib2.0-dev libgumbo-dev \
  libcpp-httplib-dev libssl-dev \
  libopencc-dev libopencc1.1 libopencc-data \
  libgtest-dev libgmock-dev googletest libbenchmark-dev libcurl4-openssl-dev curl \
  clang libclang-rt-14-dev clang-format \
  xvfb xauth x11-utils imagemagick zenity \
  python3-pil \
  fonts-noto-cjk fontconfig \
  lintian devscripts mmdebstrap

# Apertium's HTTP service and every language pair whose two languages the window offers
# (about 210 MiB installed). The site server translates through them.
$SUDO apt-get install -y --no-install-recommends \
  apertium-apy \
  apertium-afr-nld apertium-bel-rus apertium-cat-ita apertium-dan-nor apertium-en-gl \
  apertium-eng-cat apertium-eng-spa apertium-es-gl apertium-es-pt apertium-es-ro \
  apertium-fr-es apertium-fra-cat apertium-hbs-eng apertium-hbs-mkd apertium-hbs-slv \
  apertium-ind-zlm apertium-isl-eng apertium-isl-swe apertium-mkd-bul apertium-mkd-eng \
  apertium-por-cat apertium-pt-gl apertium-rus-ukr apertium-spa-cat apertium-spa-ita \
  apertium-swe-dan apertium-swe-nor
