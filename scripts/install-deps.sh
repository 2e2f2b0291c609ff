#!/bin/sh
# Installs the Debian packages that building and testing Palvex needs.
# Also generates the zh_CN.UTF-8 locale and tries to install 32-bit Wine. Idempotent: when
# everything is present it prints nothing and returns at once.
set -eu

PACKAGES="cmake ninja-build g++ clang clang-format libclang-rt-14-dev \
googletest libgtest-dev libbenchmark-dev \
g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 g++-mingw-w64-i686-posix binutils-mingw-w64-i686 \
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

# 32-bit Wine runs the tests of the 32-bit build. It needs Debian's i386 architecture, whose
# libraries must have exactly the versions installed for amd64 (multiarch). Where the indexes
# cannot give that (an i386 index missing or behind the amd64 one), the set-up goes on without
# it: the reason stays in $WINE32_REASON and ./test.sh reports the 32-bit tests as not run.
WINE32_REASON=/tmp/palvex-wine32.reason
WINE32_LOG=/tmp/palvex-wine32.log

# An apt preferences file that holds every installed amd64 library of which i386 needs the same
# version at that version, for both architectures: nothing installed changes.
write_version_pins() {
    dpkg-query -W -f='${Package} ${Architecture} ${Multi-Arch} ${Version} ${db:Status-Abbrev}\n' |
        awk '$2 == "amd64" && $3 == "same" && $5 == "ii" {
                 printf "Package: %s:amd64 %s:i386\nPin: version %s\nPin-Priority: 1001\n\n", $1, $1, $4
             }' >"$1"
}

# Whether the kernel runs 32-bit x86 programs: a 96-byte program that exits with code 42. Without
# that support 32-bit Wine cannot run, and installing it would break Wine for 64-bit programs too:
# the wine command prefers the 32-bit loader whenever it is installed.
runs_32bit_programs() {
    local probe=/tmp/palvex-elf32-probe
    printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\273\052\000\000\000\315\200' >"$probe"
    chmod +x "$probe"
    local status=0
    "$probe" 2>/dev/null || status=$?
    rm -f "$probe"
    [ "$status" -eq 42 ]
}

install_wine32() {
    if [ "$(dpkg --print-architecture)" != amd64 ]; then
        echo "32-bit Wine is set up on amd64 machines only" >"$WINE32_REASON"
        return 0
    fi
    if ! runs_32bit_programs; then
        echo "this machine's kernel cannot run 32-bit x86 programs (no IA-32 emulation)," \
            "so 32-bit Wine cannot run here" >"$WINE32_REASON"
        return 0
    fi
    dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed" && {
        rm -f "$WINE32_REASON"
        return 0
    }
    # A failed attempt costs an index download: it is repeated after twelve hours.
    [ -n "$(find "$WINE32_REASON" -mmin -720 2>/dev/null)" ] && return 0
    echo "installing 32-bit Wine (wine32:i386)"
    local apt="apt-get -y -q -o DPkg::Lock::Timeout=600 --no-install-recommends --no-remove"
    local pins=/tmp/palvex-wine32.pref
    : >"$WINE32_LOG"
    local added=""
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
        added=yes
    fi
    $SUDO apt-get update -q -o DPkg::Lock::Timeout=600 >>"$WINE32_LOG" 2>&1 ||
        echo "(apt-get update failed in part: going on with the indexes it has)" >>"$WINE32_LOG"
    # First with the i386 libraries at the versions installed for amd64; then as apt would
    # choose, raising both architectures to a version the indexes have for each.
    write_version_pins "$pins"
    if $SUDO $apt -o Dir::Etc::Preferences="$pins" install wine32:i386 >>"$WINE32_LOG" 2>&1 ||
        $SUDO $apt install wine32:i386 >>"$WINE32_LOG" 2>&1; then
        rm -f "$WINE32_REASON" "$pins"
        return 0
    fi
    rm -f "$pins"
    # Leaves the machine as it was: without i386 packages the architecture goes again.
    [ -n "$added" ] && { $SUDO dpkg --remove-architecture i386 2>/dev/null || true; }
    {
        printf 'apt could not install wine32:i386: '
        grep -E '^E: |Depends: .* but |Breaks: ' "$WINE32_LOG" | tail -2 | tr -s ' \n' ' '
        printf '(see %s)\n' "$WINE32_LOG"
    } >"$WINE32_REASON"
    echo "warning: $(cat "$WINE32_REASON")" >&2
}

# --wine32-reason: prints why 32-bit Wine is missing (nothing when it is there) and installs
# nothing.
if [ "${1:-}" = --wine32-reason ]; then
    if [ -x /usr/lib/wine/wine ] && runs_32bit_programs; then
        exit 0
    fi
    if [ -s "$WINE32_REASON" ]; then
        cat "$WINE32_REASON"
    else
        echo "32-bit Wine (wine32:i386) is not installed"
    fi
    exit 0
fi

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
install_wine32
