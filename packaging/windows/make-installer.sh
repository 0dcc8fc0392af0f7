#!/usr/bin/env bash
# Makes the Windows installer and the zip of the program folder.
#   make-installer.sh FOLDER VERSION OUTPUT_DIR [STRIP]
# FOLDER is the installed program folder (cmake --install of a Windows build);
# OUTPUT_DIR receives Corvane-VERSION-x64.msi and Corvane-VERSION-x64.zip.
# STRIP, mingw's strip, takes the symbols out of every program and DLL first.
set -euo pipefail
folder=$(realpath "$1")
version=$2
output=$(realpath -m "$3")
here=$(dirname "$(realpath "$0")")
strip=${4:-}
name=Corvane-$version-x64
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$output"

if [ -n "$strip" ]; then
    find "$folder" -type f \( -name '*.exe' -o -name '*.dll' \) -exec "$strip" --strip-unneeded {} +
fi

# wixl takes source files by paths relative to where it runs.
ln -s "$folder" "$work/folder"
cp "$here/corvane.wxs" "$here/corvane.ico" "$work/"

# Every file of the folder as one component of the group CorvaneFiles.
(cd "$work" && find folder/ -type f | LC_ALL=C sort |
    wixl-heat --prefix folder/ --directory-ref INSTALLDIR --component-group CorvaneFiles \
        --var var.Folder --win64 >files.wxs)
# The tables' Chinese (the Start-menu entry Corvane 批量导出, the descriptions)
# in code page 936, marked as such, so that every Windows shows it right:
# wixl converts strings to the code page of the language libgsf is told, and
# without one turns Chinese into empty strings or crashes; msibuild then sets
# the database's code page.
(cd "$work" && WINDOWS_LANGUAGE=zh_CN wixl --arch x64 -D Win64=yes -D Version="$version" \
    -D Folder=folder -D Icon=corvane.ico -o "$output/$name.msi" corvane.wxs files.wxs)
printf '\r\n\r\n936\t_ForceCodepage\r\n' >"$work/_ForceCodepage.idt"
(cd "$work" && WINDOWS_LANGUAGE=zh_CN msibuild "$output/$name.msi" -i _ForceCodepage.idt)

# What wixl cannot write into the package's tables, put there with msitools:
# the upgrade's versions include this one (its Attributes gain 512, the
# maximum version inclusive), so that a rebuilt installer of the same version
# replaces the one installed; and the desktop shortcut is made only while
# DESKTOPSHORTCUT is 1. A key column is changed by importing its table again.
msiinfo export "$output/$name.msi" Upgrade |
    awk -F '\t' -v OFS='\t' 'NR > 3 && $7 ~ /^WIX_UPGRADE_DETECTED\r?$/ { $5 += 512 } 1' >"$work/Upgrade.idt"
(cd "$work" && msibuild "$output/$name.msi" -i Upgrade.idt)
msibuild "$output/$name.msi" \
    -q "UPDATE \`Component\` SET \`Condition\` = 'DESKTOPSHORTCUT = \"1\"' WHERE \`Component\` = 'DesktopShortcut'"

# The zip holds the same folder under the installer's name, for those who
# cannot install.
rm -f "$output/$name.zip"
ln -s "$folder" "$work/$name"
(cd "$work" && zip -qr -X "$output/$name.zip" "$name/")
echo "$output/$name.msi"
echo "$output/$name.zip"
