#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tool need; only
# what is missing is fetched.
set -euo pipefail
packages=(
  cmake ninja-build g++ g++-multilib ccache pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libpixman-1-dev  # only the compositing kernels' benchmark, as their peer
  libxml2-dev  # only the parse benchmark, as its peer
  libmagickcore-dev  # only the conversion benchmark, as its peer
  qemu-user flex bison libfl-dev  # libfl-dev: the scanner class header
  libxml2-utils librsvg2-bin
  libpng-dev libjpeg-dev libgif-dev
  liblcms2-dev     # the colour-profile library under colour management
  libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-dejavu-extra
  libcairo2-dev libcurl4-openssl-dev
  clang libclang-rt-14-dev
  # The locale definitions from which the tests compile a decimal-comma locale.
  locales
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
