# Installs the Debian packages the build needs, when any is missing.
# Sourced by run.sh and test.sh: `ensure_packages pkg...`.
# Root installs directly, others through sudo; where neither can work the
# exact apt-get line is printed and the script exits 1.

ensure_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  local line="apt-get install -y ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
      sudo="sudo"
    else
      echo "Missing packages: ${missing[*]}" >&2
      echo "Install them with:  sudo apt-get update && sudo $line" >&2
      exit 1
    fi
  fi
  if ! command -v apt-get >/dev/null 2>&1; then
    echo "Missing packages: ${missing[*]} (and no apt-get on this machine)" >&2
    echo "Install them with:  $line" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}" >&2
  # Another install may hold dpkg's lock (two scripts started at once): wait
  # for it rather than fail.
  local wait=(-o DPkg::Lock::Timeout=900)
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get "${wait[@]}" update -qq &&
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get "${wait[@]}" install -y -qq "${missing[@]}" >/dev/null || {
      echo "Package installation failed. Run:  ${sudo:+sudo }apt-get update && ${sudo:+sudo }$line" >&2
      exit 1
    }
}

BUILD_PACKAGES=(g++ cmake ninja-build pkg-config libsdl1.2-dev zlib1g-dev libpng-dev libx11-dev)
TEST_PACKAGES=(libgtest-dev libbenchmark-dev xvfb xdotool x11-utils imagemagick libmpfr-dev clang
  desktop-file-utils appstream man-db libsdl2-2.0-0)
# The browser build (tools/web.sh), and the browser its test drives.
WEB_PACKAGES=(emscripten)
WEB_TEST_PACKAGES=(chromium)
