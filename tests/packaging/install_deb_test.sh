#!/usr/bin/env bash
# Installs the .deb with apt-get as a user would, runs corvane-eval from the
# installed path, checks the desktop entry and the declared dependencies, and
# removes the package again whatever happened.
#   install_deb_test.sh PACKAGE.deb
set -euo pipefail
deb=$(realpath "$1")

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}
apt_get() {
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -y -qq "$@"
}
fail() {
    echo "install_deb_test: $*" >&2
    exit 1
}

if dpkg-query -W -f='${Status}' corvane 2>/dev/null | grep -q "install ok installed"; then
    fail "a corvane package is already installed; remove it first (apt-get remove corvane)"
fi
apt_get install "$deb" 2>&1 | grep -v "couldn't be accessed by user '_apt'" || true
trap 'apt_get remove corvane >/dev/null' EXIT
dpkg-query -W -f='${Status}' corvane | grep -q "install ok installed" || fail "apt-get did not install $deb"

expected="Yin 9  Yang 0  Qi 0  Phlegm 0  Stasis 0  Balanced 0"
report=$(/usr/bin/corvane-eval --ticks check1,check6,check13 --personality 1)
[ "$(head -n 1 <<<"$report")" = "$expected" ] || fail "unexpected scores from /usr/bin/corvane-eval: $report"
grep -q "阴虚体质，补阴治疗" <<<"$report" || fail "the diagnosis is missing: $report"
/usr/bin/corvane-eval --ticks 1,6,13 --json | python3 -c 'import json, sys; assert json.load(sys.stdin)["diet_row"] == 1' ||
    fail "corvane-eval --json from the package gave a different report"

[ -x /usr/bin/corvane ] || fail "the desktop program is not installed"
desktop=/usr/share/applications/corvane.desktop
[ -f "$desktop" ] || fail "the desktop entry is not installed"
desktop-file-validate "$desktop" || fail "the desktop entry is not valid"
grep -q '^Name\[zh_CN\]=' "$desktop" || fail "the desktop entry has no Chinese name"
icon=$(sed -n 's/^Icon=//p' "$desktop")
ls /usr/share/icons/hicolor/*/apps/"$icon".* >/dev/null || fail "the icon $icon is not installed"

depends=$(dpkg-query -W -f='${Depends}' corvane)
for library in libqt6widgets6 libqt6printsupport6 libstdc++6 qt6-qpa-plugins; do
    grep -q "$library" <<<"$depends" || fail "the package does not depend on $library: $depends"
done
echo "installed $(basename "$deb"), ran /usr/bin/corvane-eval, checked desktop entry and dependencies"
