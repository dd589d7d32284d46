#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need.
# Safe to run again: it asks apt only for what is missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libarchive-dev libgtest-dev libgmock-dev
  fonts-ipafont-gothic
  # archive tools: fixture regeneration, end-to-end peers and benchmarks
  libarchive-tools 7zip zip unzip jlha-utils gcab cpio ncompress xz-utils bzip2 zstd
)
if [ "${1:-}" = "--with-display" ]; then
  packages+=(xvfb xauth)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
