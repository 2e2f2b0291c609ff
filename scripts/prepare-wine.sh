#!/bin/bash
# Creates the project's Wine prefix once: Chinese font linking so that dialog texts
# render, and nothing else. Later runs find the stamp and return at once.
set -eu
. "$(dirname "$0")/wine-env.sh"

stamp="$WINEPREFIX/.palvex-ready"
[ -f "$stamp" ] && exit 0

echo "preparing Wine prefix in $WINEPREFIX"
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1 || true
wineserver -w

reg=$(mktemp --suffix=.reg)
{
    printf 'REGEDIT4\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
    for face in "System" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "Microsoft Sans Serif" \
                "Times New Roman" "Arial" "Segoe UI"; do
        printf '"%s"="wqy-microhei.ttc,WenQuanYi Micro Hei"\r\n' "$face"
    done
    printf '\r\n'
} >"$reg"
wine regedit "$reg" >/dev/null 2>&1
wineserver -w
rm -f "$reg"
touch "$stamp"
