# Shared by scripts/run and scripts/test: install what is missing, then build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"

# Debian packages the project needs to build, test and run.
PACKAGES=(
    cmake make g++ pkg-config
    qt6-base-dev qt6-serialport-dev libgl-dev libx11-dev
    libgtest-dev libgmock-dev librapidcheck-dev
    xvfb xauth xdotool x11-utils imagemagick time
    clang-14 libclang-rt-14-dev
)

install_missing() {
    local missing=()
    for pkg in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
    cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "$@" >/dev/null
    cmake --build "$BUILD_DIR" -j"$(nproc)"
}
