#!/usr/bin/env bash
# Prints the report through a real CUPS spooler, a cupsd of the test's own on a
# socket in its folder (the system's queues, default printer and options are
# left alone), into cups-pdf queues and an IPP Everywhere printer
# (ippeveprinter):
# - the job's paper: a queue's own default (its PPD's A4, Letter set with
#   lpadmin) and the paper chosen for the queue with lpoptions; the job and the
#   PDF's title carry the member's name;
# - a good print: one page of text and lines, no picture of the window, the
#   report without its two buttons; the job completed;
# - a queue that refuses jobs (cupsreject -r) gives the failure with the
#   administrator's reason, and nothing spooled;
# - a stopped queue (cupsdisable -r) and an IPP printer switched off leave the
#   job waiting in the queue, told with the reason;
# - a job the server refuses once it exists (a request larger than the
#   server takes) is told as failed and leaves the queue empty;
# - without a default printer the message names the printers there are.
#
# Usage: print_test.sh PATH/TO/report_print_job [RUNNER]
# RUNNER (wine) runs a Windows build of the job program, which prints through
# the printers wine offers for the CUPS queues; there only the good print and
# the refusal are checked, as wine's spooler tells no printer's state.
set -euo pipefail
job_program=$1
runner=("${@:2}")

skip() {
    echo "skipped: $*"
    exit 77
}
for tool in cupsd lpadmin lpstat lpoptions lpq cupsreject cupsaccept cupsdisable cupsenable \
    cancel ippeveprinter dbus-daemon pdfinfo pdfimages pdftoppm convert; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/setup installs it)"
done
[ -e /usr/lib/cups/backend/cups-pdf ] || skip "the cups-pdf backend is not installed"
[ "$(id -u)" -eq 0 ] || skip "running a spooler with a cups-pdf queue needs root"

queue=CorvaneReportPDF
instance=corvane-report # cups-pdf reads cups-pdf-<instance>.conf for cups-pdf:/<instance>
instance_conf=/etc/cups/cups-pdf-$instance.conf
work=$(mktemp -d /tmp/corvane-print.XXXXXX)
chmod 755 "$work"
today=$(date +%Y%m%d)
title="体质报告_张三_$today"
pids=()

fail() {
    echo "$*"
    lpstat -l -o 2>/dev/null || true
    exit 1
}
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -f "$instance_conf"
    rm -rf "$work"
}
trap cleanup EXIT

# The test's spooler; every CUPS command and the job program speak to it,
# and lpoptions keeps its choices in the test's folder (root's in ~/.cups).
export CUPS_SERVER=$work/cupsd.sock CUPS_SERVERROOT=$work/etc
[ ${#runner[@]} -gt 0 ] || export HOME=$work/home
mkdir -p "$work"/{etc,spool/tmp,log,cache,state,out,home}
chown root:lp "$work/spool" "$work/spool/tmp"
chmod 0710 "$work/spool" && chmod 1770 "$work/spool/tmp"
cat >"$work/etc/cups-files.conf" <<CONF
SystemGroup root
ServerRoot $work/etc
RequestRoot $work/spool
TempDir $work/spool/tmp
CacheDir $work/cache
StateDir $work/state
AccessLog $work/log/access_log
ErrorLog $work/log/error_log
PageLog $work/log/page_log
CONF
# cupsd.conf with the lines given added.
configure_cupsd() {
    cat >"$work/etc/cupsd.conf" <<CONF
Listen $CUPS_SERVER
LogLevel warn
WebInterface No
Browsing No
$*
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
}
wait_for_spooler() {
    for _ in $(seq 100); do
        lpstat -r 2>/dev/null | grep -q "is running" && return 0
        sleep 0.1
    done
    fail "cupsd did not start"
}
configure_cupsd
cupsd -f -c "$work/etc/cupsd.conf" -s "$work/etc/cups-files.conf" &
cupsd_pid=$!
pids+=("$cupsd_pid")
wait_for_spooler

cat >"$instance_conf" <<CONF
Out $work/out
AnonDirName $work/out
UserUMask 0022
CONF
# A cups-pdf queue; its PPD's default paper is A4.
add_queue() {
    lpadmin -p "$1" -v "cups-pdf:/$instance" -E -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd "${@:2}"
}
# Prints with the job program, saying what it expected and what it saw.
print_expecting() {
    echo "--- $*"
    "${runner[@]}" "$job_program" "$@" || fail "the window did not say what was expected ($*)"
}
# The jobs of a queue that are not completed.
jobs_of() { lpstat -W not-completed -o "$1" 2>/dev/null || true; }

# The job's paper is the queue's own default (the PPD's A4, Letter set with
# lpadmin) unless one is chosen for the queue with lpoptions. The jobs are
# held, so the document the spooler received stays in its spool folder, and
# the queue shows the job's name.
if [ ${#runner[@]} -eq 0 ]; then
    for case in "A4 ppd 595x842" "Letter lpadmin 612x792" "Chosen lpoptions 612x792"; do
        read -r name paper expected <<<"$case"
        q=CorvanePaper$name
        add_queue "$q" -o job-hold-until-default=indefinite
        lpadmin -d "$q"
        case $paper in
            lpadmin) lpadmin -p "$q" -o media=Letter ;;
            lpoptions) lpoptions -p "$q" -o media=Letter >/dev/null ;;
        esac
        print_expecting printed
        job=$(jobs_of "$q" | awk 'NR == 1 {print $1}')
        [ -n "$job" ] || fail "$q holds no job"
        lpq -P "$q" | grep -q "$title" || fail "the queue does not show the job as $title: $(lpq -P "$q")"
        document=$(printf '%s/spool/d%05d-001' "$work" "${job##*-}")
        size=$(pdfinfo "$document" | awk '/^Page size:/ {printf "%.0fx%.0f", $3, $5}')
        echo "$q: the spooled page is $size pt"
        [ "$size" = "$expected" ] || fail "$q: expected a $expected pt page"
        pdfinfo "$document" | grep -q "^Title: *$title$" || fail "the PDF's title is not $title"
        cancel -a -x "$q"
    done
    rm -f "$HOME/.cups/lpoptions" # which also names a default destination
fi

add_queue "$queue"
lpadmin -d "$queue"
print_expecting printed

# The job completes (its document was the last) and leaves one PDF.
pdf=""
for _ in $(seq 200); do
    pdf=$(find "$work/out" -name '*.pdf' -size +0 2>/dev/null | head -n 1 || true)
    if [ -n "$pdf" ] && [ -z "$(jobs_of "$queue")" ]; then break; fi
    sleep 0.1
done
[ -n "$pdf" ] || fail "no PDF was spooled"
[ -z "$(jobs_of "$queue")" ] || fail "the job did not complete"

pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" = 1 ] || fail "the print has $pages pages"

# The page is drawn, not photographed: no raster image at all.
images=$(pdfimages -list "$pdf" 2>/dev/null | tail -n +3)
[ -z "$images" ] || fail "the printed page holds raster images: $images"

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
    fail "the page does not show the report without its buttons"
echo "one page of text and lines, report shown, buttons not printed"
spooled() { find "$work/out" -name '*.pdf' | wc -l; }

# A queue that refuses jobs, with its administrator's reason.
cupsreject -r 打印机维修中 "$queue"
print_expecting refused 打印机维修中
sleep 0.5
[ -z "$(jobs_of "$queue")" ] || fail "the refused queue holds a job"
[ "$(spooled)" = 1 ] || fail "the refused queue printed"
cupsaccept "$queue"
if [ ${#runner[@]} -gt 0 ]; then exit 0; fi

# A stopped queue takes the job and keeps it.
cupsdisable -r 纸张用完 "$queue"
print_expecting waiting 纸张用完
[ -n "$(jobs_of "$queue")" ] || fail "the stopped queue holds no job"
cancel -a -x "$queue"
cupsenable "$queue"

# An IPP Everywhere printer, switched off after a good print. It announces
# itself over DNS-SD through a message bus of its own.
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$work/bus.pid")
pids+=("$(cat "$work/bus.pid")")
mkdir -p "$work/ipp"
DBUS_SYSTEM_BUS_ADDRESS=$bus ippeveprinter -r off -p "$port" -d "$work/ipp" -f application/pdf CorvaneIPP \
    >"$work/log/ippeveprinter" 2>&1 &
printer_pid=$!
pids+=("$printer_pid")
for _ in $(seq 100); do
    lpadmin -p CorvaneIPP -v "ipp://localhost:$port/ipp/print" -m everywhere -E 2>/dev/null && break
    sleep 0.1
done
lpstat -p CorvaneIPP >/dev/null 2>&1 || fail "no queue for the IPP printer: $(cat "$work/log/ippeveprinter")"
lpadmin -d CorvaneIPP
print_expecting printed
kill "$printer_pid" && wait "$printer_pid" 2>/dev/null || true
print_expecting waiting 连接不上打印机
[ -n "$(jobs_of CorvaneIPP)" ] || fail "the queue of the printer switched off holds no job"
cancel -a -x CorvaneIPP

# No default printer, the queues still there: the message names them.
lpadmin -x CorvaneIPP
print_expecting nodefault "$queue"

# A server that takes no request this large refuses the document once the
# job exists: the job is told as failed and taken back.
configure_cupsd "MaxRequestSize 120k"
kill -HUP "$cupsd_pid"
sleep 1
wait_for_spooler
lpadmin -d "$queue"
print_expecting refused ""
sleep 0.5
[ -z "$(jobs_of "$queue")" ] || fail "the refused document left its job in the queue"
[ "$(spooled)" = 1 ] || fail "the refused document was printed"
echo "every case told as it is"
