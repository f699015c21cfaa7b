#!/usr/bin/env bash
# Installs the Debian packages that pfac needs to build, test and run, but only
# the ones that are missing. Runs apt-get update first when anything is missing.
set -euo pipefail

packages=(
  g++ cmake make pkg-config python3
  libgtest-dev libgmock-dev googletest
  clang libclang-rt-14-dev
  qt6-base-dev libxcb1-dev qt6-translations-l10n
  fonts-wqy-microhei fonts-dejavu-core
  xterm poppler-utils
  libflint-dev
  dpkg-dev file desktop-file-utils
)
# Extra packages for one purpose, named on the command line (e.g. bench peers).
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
