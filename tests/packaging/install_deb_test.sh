#!/usr/bin/env bash
# Installs the .deb with apt-get as a user would, runs corvane-eval from the
# installed path, checks the desktop entry, the shell completions, the
# documentation (manual pages, copyright, changelog, AppStream metadata), the
# printing module and the declared dependencies, and
# removes the package again whatever happened.
#   install_deb_test.sh PACKAGE.deb
set -euo pipefail
deb=$(realpath "$1")
license=$(realpath "$(dirname "$0")/../../LICENSE")

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}
# Waits for an apt-get or dpkg that holds the lock rather than failing at once.
apt_get() {
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -y -qq -o DPkg::Lock::Timeout=300 "$@"
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
# Printing's module where the installed program looks for it, every library it
# needs found, and libcups needed by it alone.
module=$(grep -aoE '[a-z./_0-9-]*corvane-cups\.so' /usr/bin/corvane | head -n 1)
[ -f "/usr/bin/$module" ] || fail "the printing module is not at /usr/bin/$module"
! ldd "/usr/bin/$module" | grep -q 'not found' || fail "the printing module misses libraries"
! readelf -d /usr/bin/corvane | grep -q libcups || fail "/usr/bin/corvane loads libcups at start"
# The questionnaire's entry and the batch window's, each valid, each with its icon.
for entry in corvane corvane-batch; do
    desktop=/usr/share/applications/$entry.desktop
    [ -f "$desktop" ] || fail "the desktop entry $entry is not installed"
    desktop-file-validate "$desktop" || fail "the desktop entry $entry is not valid"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    ls /usr/share/icons/hicolor/*/apps/"$icon".* >/dev/null || fail "the icon $icon is not installed"
done
grep -q '^Name\[zh_CN\]=中医体质自测$' /usr/share/applications/corvane.desktop ||
    fail "the questionnaire's desktop entry has no Chinese name"
grep -qx 'Name=Corvane 批量导出' /usr/share/applications/corvane-batch.desktop &&
    grep -qx 'Exec=corvane --batch-window' /usr/share/applications/corvane-batch.desktop ||
    fail "the desktop entry Corvane 批量导出 does not open the batch window"

version=$(dpkg-query -W -f='${Version}' corvane)
# Each program's manual page, made from its --help, names every option.
for program in corvane-eval corvane; do
    [ "$(man -w "$program")" = "/usr/share/man/man1/$program.1.gz" ] || fail "$program has no manual page"
    for option in $("/usr/bin/$program" --help | grep -oE -- '--[a-z-]+' | sort -u); do
        man "$program" 2>/dev/null | grep -q -- "$option" || fail "the manual page of $program lacks $option"
    done
done

# Each program's completions where bash-completion and zsh find them, and bash
# completes from the installed file.
for program in corvane-eval corvane; do
    [ -f "/usr/share/bash-completion/completions/$program" ] || fail "$program has no bash completion"
    [ -f "/usr/share/zsh/vendor-completions/_$program" ] || fail "$program has no zsh completion"
done
offered=$(bash -c 'source /usr/share/bash-completion/completions/corvane
    COMP_WORDS=(corvane --skip); COMP_CWORD=1; _corvane; echo "${COMPREPLY[*]}"')
[ "$offered" = "--skip-existing" ] || fail "the installed bash completion offers '$offered' for --skip"

zcat /usr/share/man/man1/corvane.1.gz | grep -q "name 张三" ||
    fail "the manual page of corvane lost the Chinese of its examples"
# The manual pages in Chinese, and the catalogue that gives the installed
# programs their Chinese, where they find it.
for program in corvane-eval corvane; do
    zcat "/usr/share/man/zh_CN/man1/$program.1.gz" | grep -q "用法\|选项" ||
        fail "$program has no Chinese manual page"
done
[ -f /usr/share/locale/zh_CN/LC_MESSAGES/corvane.mo ] || fail "the Chinese catalogue is not installed"
grep -qw libc-l10n <<<"$(dpkg-query -W -f='${Recommends}' corvane)" ||
    fail "the package does not recommend libc-l10n, the system's reasons in Chinese"

copyright=/usr/share/doc/corvane/copyright
[ -f "$copyright" ] || fail "the copyright file is not installed"
head -n 1 "$copyright" | grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
    fail "the copyright file is not in Debian's machine-readable format"
holder=$(sed -n 's/^Copyright (c) //p' "$license")
grep -qx "Copyright: $holder" "$copyright" || fail "the copyright file does not name '$holder' as in LICENSE"
missing=$(sed '1,/^Copyright (c)/d; /^$/d; s/^/ /' "$license" | grep -vxF -f "$copyright" || true)
[ -z "$missing" ] || fail "the copyright file lacks these lines of LICENSE: $missing"

changelog=/usr/share/doc/corvane/changelog.gz
[ -f "$changelog" ] || fail "the changelog is not installed"
[ "$(zcat "$changelog" | dpkg-parsechangelog -l - -S Version)" = "$version" ] ||
    fail "the newest changelog entry is not for version $version"
metainfo=$(dpkg -L corvane | grep -x '/usr/share/metainfo/.*\.metainfo\.xml') || fail "no AppStream metadata is installed"
release=$(python3 -c 'import sys, xml.etree.ElementTree as et
print(et.parse(sys.argv[1]).find("releases/release").get("version"))' "$metainfo")
[ "$release" = "$version" ] || fail "the AppStream metadata gives release $release, the package $version"

depends=$(dpkg-query -W -f='${Depends}' corvane)
# The page goes to CUPS itself; Qt's print support is for Windows alone.
for library in libqt6widgets6 libcups2 libstdc++6 qt6-qpa-plugins qt6-translations-l10n; do
    grep -q "$library" <<<"$depends" || fail "the package does not depend on $library: $depends"
done
# Every package depended on or recommended is one apt knows; the package
# depends on the fonts of the windows and recommends the one of rare characters.
recommends=$(dpkg-query -W -f='${Recommends}' corvane)
for package in $(tr ',|' '\n\n' <<<"$depends, $recommends" | sed 's/(.*)//'); do
    apt-cache show --no-all-versions "$package" >/dev/null 2>&1 || fail "apt does not know $package"
done
for font in fonts-wqy-zenhei fonts-arphic-ukai fonts-arphic-uming; do
    grep -qw -- "$font" <<<"$depends" || fail "the package does not depend on $font: $depends"
done
grep -qw fonts-hanazono <<<"$recommends" || fail "the package does not recommend fonts-hanazono: $recommends"

# Without a Chinese font the installed program says so, at the start of its
# window and for the export.
empty_fonts=$(mktemp)
printf '<?xml version="1.0"?>\n<fontconfig></fontconfig>\n' >"$empty_fonts"
said=$(FONTCONFIG_FILE=$empty_fonts /usr/bin/corvane --pdf /dev/null --ticks 1 2>&1 || true)
grep -q "no Chinese font" <<<"$said" || fail "corvane --pdf without fonts said: $said"
rm -f "$empty_fonts"
echo "installed $(basename "$deb"), ran /usr/bin/corvane-eval, checked desktop entry, documentation and dependencies"
