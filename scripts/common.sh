# Shared by scripts/run and scripts/test: Debian packages and the build.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"

# Qt's own translations give its dialogs' buttons and menus their Russian.
BUILD_PACKAGES=(cmake make g++ qtbase5-dev libqt5serialport5-dev qttools5-dev qttools5-dev-tools help2man
                qttranslations5-l10n)
QT6_BUILD_PACKAGES=(cmake make g++ help2man qt6-base-dev qt6-serialport-dev qt6-tools-dev qt6-tools-dev-tools
                    qt6-l10n-tools libgl-dev qt6-translations-l10n)
# What the tests talk to besides the simulated modem: ser2net, the RFC 2217
# server in front of its pseudo-terminal, started by the tests themselves;
# and pdftotext, which reads the commissioning record back.
TEST_PACKAGES=(ser2net poppler-utils)
# The Windows build: MinGW-w64 against the Qt 6 for Windows in
# packaging/windows, with the host's Qt 6 tools (moc, uic, lrelease); the
# icon is drawn from the SVG; NSIS makes the installer, Wine runs the tests.
WINDOWS_BUILD_PACKAGES=("${QT6_BUILD_PACKAGES[@]}" g++-mingw-w64-x86-64-posix xz-utils librsvg2-bin imagemagick
                        nsis wine wine64)
WINDOWS_BUILD_DIR="$ROOT/build-windows"
# What scripts/windows-e2e uses besides: a virtual display and its keyboard,
# a screenshot, the programs' resources, the zip, and the tests' servers.
WINDOWS_E2E_PACKAGES=(xvfb xauth xdotool imagemagick icoutils unzip "${TEST_PACKAGES[@]}")

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
    echo "Installing missing Debian packages:" $missing >&2
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
    "${apt[@]}" update -qq >&2 || true
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
    echo "Building into $BUILD_DIR ..." >&2
    if ! { cmake -S "$ROOT" -B "$BUILD_DIR" "$@" &&
           cmake --build "$BUILD_DIR" -j"$jobs" ${BUILD_TARGET:+--target "$BUILD_TARGET"}; } >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "The build failed; the whole output is in $log" >&2
        exit 1
    fi
}

# Configures and builds the Windows programs and tests into
# $WINDOWS_BUILD_DIR, with Qt for Windows unpacked beside them.
build_windows() {
    local tarball="$ROOT/packaging/windows/qt6-mingw-sdk.tar.xz"
    local sdk="$WINDOWS_BUILD_DIR/qt6-mingw-sdk"
    if [ ! -d "$sdk" ] || [ "$tarball" -nt "$sdk" ]; then
        echo "Unpacking Qt for Windows into $sdk ..." >&2
        rm -rf "$sdk"
        mkdir -p "$WINDOWS_BUILD_DIR"
        tar -C "$WINDOWS_BUILD_DIR" -xJf "$tarball"
        touch "$sdk"
    fi
    BUILD_DIR="$WINDOWS_BUILD_DIR" build_project \
        -DCMAKE_TOOLCHAIN_FILE="$sdk/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_CROSSCOMPILING_EMULATOR=wine
}

# Makes $WINEPREFIX a fresh 64-bit Wine prefix. Wine maps the machine's
# own serial ports onto COM1 and up; COM1 is kept free, so that the
# configurator's default port names nothing there.
new_wine_prefix() {
    rm -rf "$WINEPREFIX"
    # Without Mono and Gecko, which Wine would otherwise offer to download.
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
    wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /t REG_SZ /d '' /f >/dev/null 2>&1
    wineserver -w
    rm -f "$WINEPREFIX/dosdevices/com1"
}
