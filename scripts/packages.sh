# The Debian 12 packages the project needs, sourced by scripts/setup and
# scripts/test, and how to install the ones missing.

# Building and running corvane and corvane-eval: the compiler and build tools,
# gettext (the command line's catalogue: xgettext, msgfmt), Qt with its Chinese
# translations, HarfBuzz's subsetter (the PDF export's
# faces), the two header-only libraries of the evaluator, and the fonts.
run_packages=(
  build-essential cmake ninja-build pkg-config gettext
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-translations-l10n libgl-dev libcups2-dev
  libharfbuzz-dev
  nlohmann-json3-dev libcli11-dev
  fonts-wqy-zenhei fonts-arphic-ukai fonts-arphic-uming
)

# The default test suite: GoogleTest, Google Benchmark, the format check, an X
# server with a window manager and screenshots, PDF tools, a CUPS spooler with
# a PDF printer and an IPP Everywhere printer (with a message bus of its own),
# a font with the rare characters of names, the accessibility bus, zsh for
# the shell completions, and for the command line in Chinese the zh_CN locale's
# source (the build makes the locale from it) and glibc's translations of the
# system's reasons.
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev python3 clang-format zsh
  xvfb xauth openbox imagemagick poppler-utils
  cups cups-client cups-bsd printer-driver-cups-pdf cups-ipp-utils dbus-daemon fonts-hanazono
  libx11-dev at-spi2-core dbus-x11 python3-pyatspi locales libc-l10n
)

# Building the Windows program and its installer (scripts/build-windows): the
# cross compiler, what building Qt from Debian's source needs, the evaluator's
# header-only libraries, the installer's tools (wixl makes it, msitools
# completes its tables), Qt's translations and gettext, whose msgfmt compiles
# the command line's catalogue (libintl itself is built by scripts/intl-mingw).
windows_build_packages=(
  cmake ninja-build g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix dpkg-dev patch
  nlohmann-json3-dev libcli11-dev wixl msitools zip qt6-translations-l10n gettext make
)

# What each further stage of scripts/test needs besides.
stage_packages() {
  case $1 in
    asan | fuzz) echo clang libclang-rt-14-dev ;;
    # help2man makes the manual pages, the Chinese ones under the zh_CN locale
    # the build makes from the locales package's source.
    package) echo dpkg-dev file desktop-file-utils help2man lintian appstream man-db locales ;;
    # The Windows build, and GoogleTest's source, wine, a window manager and
    # xdotool for its tests.
    windows) echo "${windows_build_packages[@]}" googletest wine wine64 openbox xdotool ;;
  esac
}

# Installs those of the packages given that are not installed yet.
install_packages() {
  local missing=() package sudo=""
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  ((${#missing[@]})) || return 0
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
