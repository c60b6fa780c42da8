#!/usr/bin/env bash
# Installs the cross toolchains (MinGW-w64 GCC, and clang with lld for make check-clang), widl with
# Wine's IDL files (type libraries of the reference control), Wine and Xvfb with apt-get. Does
# nothing when all is present. `setup.sh fuzz` installs the native fuzz build's compiler and
# runtimes instead (scripts/fuzz.sh).
set -euo pipefail

if [ "${1:-}" = fuzz ]; then
    packages=(cmake ninja-build clang libclang-rt-14-dev zlib1g-dev googletest xxd)
else
    packages=(cmake ninja-build make g++-mingw-w64-i686 mingw-w64-tools libwine-dev libz-mingw-w64-dev
              googletest clang lld wine wine32:i386 wine64 xvfb xauth x11-utils x11-apps imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
if [[ "${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
echo "setup: installing ${missing[*]}"
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
