# Shared by scripts/run and scripts/test: Debian packages and the build.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"

BUILD_PACKAGES=(cmake make g++ qtbase5-dev libqt5serialport5-dev qttools5-dev qttools5-dev-tools)

missing_packages() {
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || echo "$pkg"
    done
}

# Installs whatever of the given packages is missing: as root with apt-get,
# otherwise through sudo; when neither works, names the packages and stops.
ensure_packages() {
    local missing
    missing=$(missing_packages "$@")
    [ -z "$missing" ] && return 0
    # shellcheck disable=SC2086
    echo "Installing missing Debian packages:" $missing
    local apt=(apt-get)
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
            apt=(sudo apt-get)
        else
            # shellcheck disable=SC2086
            echo "Please install these Debian packages and run again: sudo apt-get install" $missing >&2
            exit 1
        fi
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${apt[@]}" update -qq || true
    # shellcheck disable=SC2086
    "${apt[@]}" install -y -qq --no-install-recommends $missing >/dev/null || {
        echo "Could not install:" $missing >&2
        exit 1
    }
}

build_project() {
    local jobs
    jobs=$(nproc 2>/dev/null || echo 2)
    cmake -S "$ROOT" -B "$BUILD_DIR" "$@" >/dev/null
    cmake --build "$BUILD_DIR" -j"$jobs"
}
