# Shared by run.sh and test.sh: installs what is missing, configures builds.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# What building and running the program need (run.sh); the desktop icons
# are drawn from their SVG at build time.
RUN_PACKAGES=(
  g++ cmake ninja-build
  qt6-base-dev qt6-qpa-plugins qt6-wayland
  fonts-liberation2 librsvg2-bin
  libxcb1-dev pkg-config
)
# What the test suite needs besides (test.sh): test and benchmark libraries,
# clang for the sanitizer and fuzz build, the X server, input and
# accessibility tools of the end-to-end tests, and what makes and checks
# the Debian package.
TEST_PACKAGES=(
  libgtest-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev
  xvfb xauth x11-utils x11-xserver-utils xdotool imagemagick xclip
  python3 at-spi2-core dbus dbus-x11 python3-pyatspi python3-dbus python3-gi
  desktop-file-utils appstream dpkg-dev file weston lintian qt6ct
  mypaint-data
)

# ensure_packages PACKAGE...
ensure_packages() {
  local missing=()
  local p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null; then
      sudo=(sudo)
    else
      echo "Missing packages (${missing[*]}) and no root rights: run this as root or install sudo." >&2
      exit 1
    fi
  fi
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
}

# configure_build DIR [cmake options...]
configure_build() {
  local dir="$1"
  shift
  local log
  # Quiet when it works; everything CMake said, in order, when it fails or
  # warns.
  if ! log="$(cmake -S "$ROOT" -B "$dir" -G Ninja "$@" 2>&1)"; then
    printf '%s\n' "$log" >&2
    echo "Configuring $dir failed; the output above says why." >&2
    exit 1
  fi
  if grep -q "^CMake Warning" <<<"$log"; then
    printf '%s\n' "$log" >&2
  fi
}
