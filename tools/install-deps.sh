#!/usr/bin/env bash
# Installs the Debian packages WAVORA needs that are missing; prints the apt-get line when not root.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev libpng-dev libgtest-dev googletest
  libbenchmark-dev libfast-float-dev libcli11-dev nlohmann-json3-dev fonts-ipafont-gothic
  xvfb xauth python3-numpy python3-scipy libfftw3-dev
  clang libclang-rt-14-dev)  # make fuzz: clang++ and its libFuzzer runtime
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "Missing packages. Install them with:"
  echo "  sudo apt-get install ${missing[*]}"
  exit 1
fi
