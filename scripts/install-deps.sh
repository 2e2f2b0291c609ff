#!/bin/sh
# Installs the Debian packages that building and testing Palvex needs.
# Also generates the zh_CN.UTF-8 locale. Idempotent: when everything is present it prints
# nothing and returns at once.
set -eu

PACKAGES="cmake ninja-build g++ clang clang-format libclang-rt-14-dev \
googletest libgtest-dev libbenchmark-dev \
g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
wine wine64 xvfb xauth xdotool x11-apps x11-utils imagemagick fonts-wqy-microhei locales chromium"

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

# Wine turns Windows paths into Unix names with the glibc locale's character set: without a
# generated zh_CN.UTF-8 it cannot create files with Chinese names.
generate_locale() {
    locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$' && return 0
    echo "generating the zh_CN.UTF-8 locale"
    $SUDO sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen ||
        echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/tmp/palvex-locale.log 2>&1 || {
        echo "locale generation failed, see /tmp/palvex-locale.log" >&2
        exit 1
    }
}

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    if ! $SUDO apt-get install -y -q --no-install-recommends $missing >/tmp/palvex-apt.log 2>&1; then
        $SUDO apt-get update -q >>/tmp/palvex-apt.log 2>&1
        $SUDO apt-get install -y -q --no-install-recommends $missing >>/tmp/palvex-apt.log 2>&1 || {
            echo "package installation failed, see /tmp/palvex-apt.log" >&2
            exit 1
        }
    fi
fi
generate_locale
