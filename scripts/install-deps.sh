#!/bin/sh
# Installs the Debian packages that building and testing Palvex needs.
# Idempotent: when everything is present it prints nothing and returns at once.
set -eu

PACKAGES="cmake ninja-build g++ clang clang-format libclang-rt-14-dev \
googletest libgtest-dev libbenchmark-dev \
g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
wine wine64 xvfb xauth xdotool x11-apps x11-utils imagemagick fonts-wqy-microhei"

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
if ! $SUDO apt-get install -y -q --no-install-recommends $missing >/tmp/palvex-apt.log 2>&1; then
    $SUDO apt-get update -q >>/tmp/palvex-apt.log 2>&1
    $SUDO apt-get install -y -q --no-install-recommends $missing >>/tmp/palvex-apt.log 2>&1 || {
        echo "package installation failed, see /tmp/palvex-apt.log" >&2
        exit 1
    }
fi
