# The Debian 12 packages the project needs, sourced by scripts/setup and
# scripts/test, and how to install the ones missing.

# Building and running corvane and corvane-eval: the compiler and build tools,
# Qt with its Chinese translations, HarfBuzz's subsetter (the PDF export's
# faces), the two header-only libraries of the evaluator, and the fonts.
run_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-translations-l10n libgl-dev libcups2-dev
  libharfbuzz-dev
  nlohmann-json3-dev libcli11-dev
  fonts-wqy-zenhei fonts-arphic-ukai fonts-arphic-uming
)

# The default test suite: GoogleTest, Google Benchmark, the format check, an X
# server with a window manager and screenshots, PDF tools, a CUPS spooler with
# a PDF printer, the accessibility bus, and zsh for the shell completions.
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev python3 clang-format zsh
  xvfb xauth openbox imagemagick poppler-utils
  cups cups-client cups-bsd printer-driver-cups-pdf
  libx11-dev at-spi2-core dbus-x11 python3-pyatspi
)

# Building the Windows program and its installer (scripts/build-windows): the
# cross compiler, what building Qt from Debian's source needs, the evaluator's
# header-only libraries, the installer's tools and Qt's translations.
windows_build_packages=(
  cmake ninja-build g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix dpkg-dev patch
  nlohmann-json3-dev libcli11-dev wixl msitools zip qt6-translations-l10n
)

# What each further stage of scripts/test needs besides.
stage_packages() {
  case $1 in
    asan | fuzz) echo clang libclang-rt-14-dev ;;
    package) echo dpkg-dev file desktop-file-utils help2man lintian appstream man-db ;;
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
