#!/usr/bin/env bash
# Prints the report through a real CUPS spooler: starts cupsd when none runs,
# adds a cups-pdf queue as the default printer, lets the report window print
# on it, checks the spooled PDF (one page of text and lines, no picture of the
# window; the report drawn on it without its two buttons), then lets the queue
# refuse jobs and checks that the window says the print failed. Before that,
# two queues that hold their jobs, one with A4 and one with Letter as its
# default paper, each take a job whose page must be that paper. Puts the
# spooler back as it was.
#
# Usage: print_test.sh PATH/TO/report_print_job [RUNNER]
# RUNNER (wine) runs a Windows build of the job program, which prints through
# the printers wine offers for the CUPS queues.
set -euo pipefail
job_program=$1
runner=("${@:2}")

skip() {
    echo "skipped: $*"
    exit 77
}
for tool in cupsd lpadmin lpstat lpinfo cupsreject pdfinfo pdfimages pdftoppm convert; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/setup installs it)"
done
[ -e /usr/lib/cups/backend/cups-pdf ] || skip "the cups-pdf backend is not installed"
[ "$(id -u)" -eq 0 ] || skip "adding a print queue needs root"

queue=CorvaneReportPDF
paper_queues=(CorvanePaperA4 CorvanePaperLetter)
instance=corvane-report # cups-pdf reads cups-pdf-<instance>.conf for cups-pdf:/<instance>
instance_conf=/etc/cups/cups-pdf-$instance.conf
work=$(mktemp -d /tmp/corvane-print.XXXXXX)
chmod 755 "$work"
cupsd_pid=""
previous_default=""

cleanup() {
    for q in "$queue" "${paper_queues[@]}"; do
        cancel -a -x "$q" 2>/dev/null || true
        lpadmin -x "$q" 2>/dev/null || true
    done
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
# A cups-pdf queue; its PPD's default paper is A4.
add_queue() {
    if [ -n "$model" ]; then
        lpadmin -p "$1" -v "cups-pdf:/$instance" -E -m "$model" "${@:2}"
    else
        lpadmin -p "$1" -v "cups-pdf:/$instance" -E -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd "${@:2}"
    fi
}

# The job's paper is the default queue's own default paper: the PPD's A4 on
# one queue, Letter set with lpadmin on the other. The jobs are held, so the
# document the spooler received stays in its spool folder.
if [ ${#runner[@]} -eq 0 ]; then
    spool=$(awk '$1 == "RequestRoot" {print $2}' /etc/cups/cups-files.conf 2>/dev/null)
    spool=${spool:-/var/spool/cups}
    for q in "${paper_queues[@]}"; do
        case $q in
            *A4) add_queue "$q" -o job-hold-until-default=indefinite; expected="595 842" ;;
            *) add_queue "$q" -o job-hold-until-default=indefinite -o media=Letter; expected="612 792" ;;
        esac
        lpadmin -d "$q"
        "$job_program" printed
        job=$(lpstat -o "$q" | awk 'NR == 1 {print $1}')
        [ -n "$job" ] || { echo "$q holds no job"; exit 1; }
        document=$(printf '%s/d%05d-001' "$spool" "${job##*-}")
        size=$(pdfinfo "$document" | awk '/^Page size:/ {printf "%.0f %.0f", $3, $5}')
        echo "$q: the spooled page is $size pt"
        [ "$size" = "$expected" ] || { echo "$q: expected a $expected pt page"; exit 1; }
        cancel -a -x "$q"
    done
fi

add_queue "$queue"
lpadmin -d "$queue"

"${runner[@]}" "$job_program" printed

pdf=""
for _ in $(seq 600); do
    pdf=$(find "$work/out" -name '*.pdf' -size +0 2>/dev/null | head -n 1 || true)
    if [ -n "$pdf" ] && [ -z "$(lpstat -o "$queue" 2>/dev/null)" ]; then break; fi
    sleep 0.1
done
[ -n "$pdf" ] || { echo "no PDF was spooled"; lpstat -l -o || true; exit 1; }

pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" = 1 ] || { echo "the print has $pages pages"; exit 1; }

# The page is drawn, not photographed: no raster image at all.
images=$(pdfimages -list "$pdf" 2>/dev/null | tail -n +3)
[ -z "$images" ] || { echo "the printed page holds raster images:"; echo "$images"; exit 1; }

# Where the report has ink: the page from its first ruling line to its last.
pdftoppm -r 100 -png -singlefile "$pdf" "$work/page" 2>/dev/null
box=$(convert "$work/page.png" -fuzz 3% -format '%@' info:) # WIDTHxHEIGHT+LEFT+TOP
IFS='x+' read -r width height left top <<<"$box"
echo "report printed at ${width}x${height}+${left}+${top}"
if [ -n "${KEEP_PRINTED_PAGE:-}" ]; then cp "$work/page.png" "$KEEP_PRINTED_PAGE"; fi

# How much ink a part of it holds, given as fractions of its width and height.
ink() {
    local x y w h
    x=$(awk -v f="$1" -v l="$left" -v s="$width" 'BEGIN { printf "%d", l + f * s }')
    y=$(awk -v f="$2" -v t="$top" -v s="$height" 'BEGIN { printf "%d", t + f * s }')
    w=$(awk -v f="$3" -v s="$width" 'BEGIN { printf "%d", f * s }')
    h=$(awk -v f="$4" -v s="$height" 'BEGIN { printf "%d", f * s }')
    convert "$work/page.png" -crop "${w}x${h}+${x}+${y}" -colorspace Gray -format '%[fx:standard_deviation]' info:
}
# The footer under the last full ruling line: the window's buttons on the
# left, which the page never shows, and the signature with its date on the right.
buttons=$(ink 0.02 0.93 0.5 0.06)
signature=$(ink 0.6 0.93 0.4 0.06)
advice=$(ink 0 0.35 1 0.3)
echo "ink: buttons $buttons, signature $signature, advice $advice"
awk -v b="$buttons" -v s="$signature" -v a="$advice" 'BEGIN { exit !(b < 0.01 && s > 0.05 && a > 0.05) }' ||
    { echo "the page does not show the report without its buttons"; exit 1; }
echo "one page of text and lines, report shown, buttons not printed"

# A queue that refuses jobs: the window must say the print failed.
cupsreject "$queue"
"${runner[@]}" "$job_program" refused
sleep 0.5
[ -z "$(lpstat -o "$queue" 2>/dev/null)" ] || { echo "the refused queue holds a job"; exit 1; }
spooled=$(find "$work/out" -name '*.pdf' | wc -l)
[ "$spooled" = 1 ] || { echo "the refused queue printed: $spooled files"; exit 1; }
echo "a queue refusing jobs gives the failure message with both buttons back"
