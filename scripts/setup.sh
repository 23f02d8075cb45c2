#!/usr/bin/env bash
# Installs everything ZOV needs to build, test, fuzz and benchmark on a fresh Debian 12 machine.
# Safe to run again: it only calls apt-get when a package is missing, and npm only when the
# lock file changed since the last install.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libtinyxml-dev libhpdf-dev
  qt6-base-dev libgl-dev
  hyperfine lua5.4 expect
  libxml2-utils xvfb poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

# Node.js may come from another source than Debian (with npm inside): only ask for it when absent.
command -v npm >/dev/null 2>&1 || missing+=(nodejs npm)

if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "setup: installing ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Node modules used by the test suite (independent reader of the grammar-table format).
if [ -f tools/package.json ]; then
  stamp=tools/node_modules/.zov-stamp
  if [ ! -f "$stamp" ] || ! cmp -s tools/package-lock.json "$stamp"; then
    (cd tools && npm ci --no-audit --no-fund --loglevel=error)
    cp tools/package-lock.json "$stamp"
  fi
fi
echo "setup: ready"
