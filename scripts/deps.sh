# Installs the Debian packages the build needs, only those that are missing.
# Sourced by the other scripts; "ensure_packages NAME..." is the entry point.
ensure_packages() {
  local missing=()
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq >/dev/null
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

BUILD_PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev
                libgtest-dev libgmock-dev libbenchmark-dev)
# clang 14 with its sanitizer runtimes and libFuzzer.
CLANG_PACKAGES=(clang libclang-rt-14-dev)
# The Windows cross-build: mingw-w64 with posix threads, GoogleTest's sources
# (libgtest-dev holds them in /usr/src/googletest) and Wine to run the tests.
WINDOWS_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix libgtest-dev wine64)
