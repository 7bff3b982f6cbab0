# Shared by the project's scripts: the packages it needs and the build.
# Source it; do not run it.

# Everything a fresh Debian 12 machine needs to build, run and test Brackwen
# (the validators of the desktop files and manual pages included).
BRACKWEN_PACKAGES=(
  build-essential cmake ninja-build pkg-config git ccache
  qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core
  # Qt's own texts in the interface's language (its dialogs, the system's file errors).
  qt6-translations-l10n
  # The statistics' charts; the charts' CMake files also ask for Qt's OpenGL ones.
  qt6-charts-dev libqt6opengl6-dev
  zlib1g-dev libinih-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  desktop-file-utils appstream man-db
)
# Only for building the Debian package (scripts/package): the package tools
# and lintian, and rsvg-convert for the icon's sizes.
BRACKWEN_PACKAGE_PACKAGES=(dpkg-dev file lintian librsvg2-bin)
# Only for looking at the editor without a display, and for fuzzing.
BRACKWEN_EXTRA_PACKAGES=(xvfb xauth imagemagick xdotool clang libclang-rt-dev)

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BRACKWEN_BUILD_DIR:-$ROOT/build}"

# install_packages NAME... : installs those that are missing, through sudo when not root.
install_packages() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# configure_and_build [CMAKE OPTIONS...] : builds the editor, the tool, the tests and the sample folder.
# A compiler cache keeps rebuilds of unchanged files short; paths are taken
# relative to the checkout, so another clone of the project hits it too.
configure_and_build() {
  local launcher=()
  if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR="$ROOT"
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="${BRACKWEN_BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}" "$@"
  cmake --build "$BUILD_DIR" -j "$(nproc)"
}
