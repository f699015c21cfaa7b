#!/usr/bin/env bash
# Installs what is missing, builds pfac and starts it.
#   ./run.sh               the desktop front end, in the folder work/
#   ./run.sh POLYNOMIAL    the engine on POLYNOMIAL, in this terminal
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh >&2

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs" >/dev/null

mkdir -p work
cd work
if [ $# -gt 0 ]; then
  # DXS.DAT as the front end writes it: the text in double quotes, CR LF.
  printf '"%s"\r\n' "$1" > DXS.DAT
  exec ../build/bin/pfac-engine
fi
if [ ! -x ../build/bin/pfac ]; then
  echo "The front end is not built yet; try ./run.sh POLYNOMIAL" >&2
  exit 1
fi
exec ../build/bin/pfac
