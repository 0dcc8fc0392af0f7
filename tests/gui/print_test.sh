#!/usr/bin/env bash
# Prints the report through a real CUPS spooler: starts cupsd when none runs,
# adds a cups-pdf queue as the default printer, lets the report window print
# on it, checks the spooled PDF (one page; the report drawn on it without its
# two buttons) and puts the spooler back as it was.
#
# Usage: print_test.sh PATH/TO/report_print_job
set -euo pipefail
job_program=$1

skip() {
    echo "skipped: $*"
    exit 77
}
for tool in cupsd lpadmin lpstat lpinfo pdfinfo pdftoppm convert; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/setup installs it)"
done
[ -e /usr/lib/cups/backend/cups-pdf ] || skip "the cups-pdf backend is not installed"
[ "$(id -u)" -eq 0 ] || skip "adding a print queue needs root"

queue=CorvaneReportPDF
instance=corvane-report # cups-pdf reads cups-pdf-<instance>.conf for cups-pdf:/<instance>
instance_conf=/etc/cups/cups-pdf-$instance.conf
work=$(mktemp -d /tmp/corvane-print.XXXXXX)
chmod 755 "$work"
cupsd_pid=""
previous_default=""

cleanup() {
    lpadmin -x "$queue" 2>/dev/null || true
    if [ -n "$previous_default" ]; then lpadmin -d "$previous_default" 2>/dev/null || true; fi
    rm -f "$instance_conf"
    if [ -n "$cupsd_pid" ]; then
        kill "$cupsd_pid" 2>/dev/null || true
        wait "$cupsd_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

spooler_running() { lpstat -r 2>/dev/null | grep -q "is running"; }

if ! spooler_running; then
    mkdir -p /run/cups
    cupsd -f &
    cupsd_pid=$!
    for _ in $(seq 100); do
        spooler_running && break
        sleep 0.1
    done
    spooler_running || { echo "cupsd did not start"; exit 1; }
fi
previous_default=$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')

model=$(lpinfo -m 2>/dev/null | awk '/CUPS-PDF_opt/ {print $1; exit}')
cat >"$instance_conf" <<CONF
Out $work/out
AnonDirName $work/out
UserUMask 0022
CONF
if [ -n "$model" ]; then
    lpadmin -p "$queue" -v "cups-pdf:/$instance" -E -m "$model"
else
    lpadmin -p "$queue" -v "cups-pdf:/$instance" -E -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
fi
lpadmin -d "$queue"

"$job_program"

pdf=""
for _ in $(seq 600); do
    pdf=$(find "$work/out" -name '*.pdf' -size +0 2>/dev/null | head -n 1 || true)
    if [ -n "$pdf" ] && [ -z "$(lpstat -o "$queue" 2>/dev/null)" ]; then break; fi
    sleep 0.1
done
[ -n "$pdf" ] || { echo "no PDF was spooled"; lpstat -l -o || true; exit 1; }

pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" = 1 ] || { echo "the print has $pages pages"; exit 1; }

# The page image: the window's grey client area on white paper.
pdftoppm -r 100 -png -singlefile "$pdf" "$work/page"
box=$(convert "$work/page.png" -fuzz 3% -format '%@' info:) # WIDTHxHEIGHT+LEFT+TOP
IFS='x+' read -r width height left top <<<"$box"
echo "report printed at ${width}x${height}+${left}+${top}"
if [ -n "${KEEP_PRINTED_PAGE:-}" ]; then cp "$work/page.png" "$KEEP_PRINTED_PAGE"; fi

# A rectangle of the report, given in the window's own twips (10515 x 11115),
# shrunk by a few pixels so its edges stay inside.
region() {
    local x=$(($1 * width / 10515 + left + 3)) y=$(($2 * height / 11115 + top + 3))
    local w=$(($3 * width / 10515 - 6)) h=$(($4 * height / 11115 - 6))
    convert "$work/page.png" -crop "${w}x${h}+${x}+${y}" -colorspace Gray -format '%[fx:standard_deviation]' info:
}
ratio_ok=$(awk -v w="$width" -v h="$height" 'BEGIN { r = w / h; print (r > 0.92 && r < 0.97) }')
[ "$ratio_ok" = 1 ] || { echo "the printed report is ${width}x${height}, not the window's shape"; exit 1; }

buttons=$(region 960 10080 2175 495)
signature=$(region 5880 10080 3855 285)
advice=$(region 720 4200 8895 3975)
echo "ink: buttons $buttons, signature $signature, advice $advice"
awk -v b="$buttons" -v s="$signature" -v a="$advice" 'BEGIN { exit !(b < 0.01 && s > 0.05 && a > 0.05) }' ||
    { echo "the page does not show the report without its buttons"; exit 1; }
echo "one page, report shown, buttons not printed"
