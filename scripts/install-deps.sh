#!/usr/bin/env bash
# Installs every package Castellan needs to build, run and test on Debian.
# Run as root (or through sudo).
set -euo pipefail
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
packages=(
  build-essential cmake pkg-config
  qt6-base-dev libgl1-mesa-dev
  libcurl4-openssl-dev libzip-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  python3-pyftpdlib p7zip-full zip unzip unrtf
  xvfb xauth fonts-dejavu-core espeak-ng
  # Shows the downloaded chess tutorial (.chm) where the desktop has no
  # program for it; lighter than kchmviewer, which pulls in Qt 5 WebKit.
  xchm
)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  # A failed update would only show later as a package apt cannot find;
  # by default apt-get passes over a source it could not fetch.
  if ! $SUDO apt-get update -q -o APT::Update::Error-Mode=any; then
    echo "install-deps.sh: apt-get update failed (network or package sources?); nothing installed." >&2
    exit 1
  fi
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
