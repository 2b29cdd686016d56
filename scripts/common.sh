# Shared by scripts/run and scripts/test: Debian packages and the build.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"

BUILD_PACKAGES=(cmake make g++ qtbase5-dev libqt5serialport5-dev qttools5-dev qttools5-dev-tools)
QT6_BUILD_PACKAGES=(cmake make g++ qt6-base-dev qt6-serialport-dev qt6-tools-dev qt6-tools-dev-tools
                    qt6-l10n-tools libgl-dev)

# The packages that the build in $BUILD_DIR needs: Qt 6's when it was
# configured for Qt 6, else Qt 5's.
build_packages() {
    if grep -qs '^GPRS_QT6:BOOL=ON' "$BUILD_DIR/CMakeCache.txt"; then
        echo "${QT6_BUILD_PACKAGES[@]}"
    else
        echo "${BUILD_PACKAGES[@]}"
    fi
}

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

# Configures and builds into $BUILD_DIR; extra arguments go to cmake's
# configure step. The compiler's output is kept in build.log and shown only
# when the build fails. BUILD_TARGET, when set, limits the build to a target.
build_project() {
    local jobs log
    jobs=$(nproc 2>/dev/null || echo 2)
    mkdir -p "$BUILD_DIR"
    log="$BUILD_DIR/build.log"
    echo "Building into $BUILD_DIR ..."
    if ! { cmake -S "$ROOT" -B "$BUILD_DIR" "$@" &&
           cmake --build "$BUILD_DIR" -j"$jobs" ${BUILD_TARGET:+--target "$BUILD_TARGET"}; } >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "The build failed; the whole output is in $log" >&2
        exit 1
    fi
}
