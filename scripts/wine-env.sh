# Sourced by the project's scripts: the Wine environment that Palvex is run and tested in.
# A prefix of our own, a Simplified-Chinese locale (ANSI code page 936) and no Wine chatter.
PALVEX_ROOT=${PALVEX_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
export WINEPREFIX=${PALVEX_WINEPREFIX:-$PALVEX_ROOT/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# No glibc locale is needed for this: Wine derives the code page from the name alone.
{ export LC_ALL=zh_CN.UTF-8; } 2>/dev/null

# The Windows path of a file or folder under Wine, whose drive Z: is the Unix root. Computed
# here rather than by winepath, which would start a wineserver on the wrong display.
windows_path() {
    printf 'Z:%s' "$(realpath -m "$1")" | tr / '\\'
}
