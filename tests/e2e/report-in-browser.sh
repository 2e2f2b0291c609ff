#!/usr/bin/env bash
# The report that the window wrote (EvaluationScenario) as a person opens it: headless Chromium
# renders it, and the picture shows its charts, with the curve, the quiet band and the finger
# threshold, and the passing verdicts, in the report's own colours.
#   report-in-browser.sh REPORT.html COLOURS_HEADER PICTURE_FOLDER
set -u
report=$1
colours=$2
pictures=$3

if [ ! -f "$report" ]; then
    echo "no report at $report: the scenario that writes it did not run or failed"
    exit 1
fi
if [ ! -x /usr/bin/chromium ]; then
    echo "/usr/bin/chromium is missing: run scripts/install-deps.sh"
    exit 1
fi
mkdir -p "$pictures"
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
/usr/bin/chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --hide-scrollbars --force-device-scale-factor=1 --window-size=1100,900 \
    --user-data-dir="$profile" --screenshot="$pictures/report.png" "file://$report" \
    >/dev/null 2>&1
if [ ! -f "$pictures/report.png" ]; then
    echo "chromium took no screenshot"
    exit 1
fi

pixels=$(convert "$pictures/report.png" -depth 8 txt:- | tr 'A-F' 'a-f')
failed=0
for name in kCurve kQuietBand kFinger kPass; do
    colour=$(grep -o "$name = \"#[0-9a-f]*\"" "$colours" | grep -o '#[0-9a-f]*')
    count=$(grep -c "$colour" <<<"$pixels")
    echo "$name $colour: $count pixels"
    if [ "$count" -lt 100 ]; then
        failed=1
    fi
done
exit $failed
