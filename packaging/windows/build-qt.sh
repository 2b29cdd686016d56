#!/usr/bin/env bash
# Rebuilds qt6-mingw-sdk.tar.xz beside this script: Qt 6.4.2 from Debian 12's
# own qt6-base source package (6.4.2+dfsg-10) and Qt Serial Port 6.4.2
# (qtserialport-6.4.2.tar.xz beside this script), cross-built for 64-bit
# Windows with MinGW-w64 (GCC 12, posix threads) as shared release libraries.
# Network serves plain TCP: built without OpenSSL and without a proxy library.
# The host tools (moc, rcc, uic) are Debian's qt6-base-dev-tools of the same
# version. About half an hour on 2 cores; needs a deb-src line for Debian's
# archive. Runs as root (it installs what it needs).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=${WORK:-/var/tmp/qt-mingw-build}
prefix=$work/qt6-mingw-sdk
mkdir -p "$work"
cd "$work"
apt-get install -y -qq g++-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools cmake ninja-build dpkg-dev \
    xz-utils >/dev/null

cat >mingw-w64-x86_64.cmake <<'CMAKE'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
CMAKE

if [ ! -d qtbase-everywhere-src-6.4.2 ]; then
    apt-get source --download-only qt6-base=6.4.2+dfsg-10 >/dev/null
    tar xf qt6-base_6.4.2+dfsg.orig.tar.xz
    # The Windows platform plugin of 6.4 uses dynamic OpenGL without asking
    # whether OpenGL itself is built, which it is not here.
    sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' \
        qtbase-everywhere-src-6.4.2/src/plugins/platforms/windows/qwindowswindow.cpp
fi
[ -d qtserialport-6.4.2 ] || tar xf "$here/qtserialport-6.4.2.tar.xz"

cmake -G Ninja -S qtbase-everywhere-src-6.4.2 -B b-base \
    -DCMAKE_TOOLCHAIN_FILE="$work/mingw-w64-x86_64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_opengl=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF -DFEATURE_network=ON \
    -DFEATURE_ssl=OFF -DFEATURE_schannel=OFF -DINPUT_openssl=no -DFEATURE_libproxy=OFF -DFEATURE_gssapi=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_testlib=ON -DFEATURE_xml=ON -DFEATURE_widgets=ON -DFEATURE_gui=ON \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_jpeg=OFF -DFEATURE_system_doubleconversion=OFF \
    -DFEATURE_tabletevent=OFF -DFEATURE_icu=OFF
ninja -C b-base -j"$(nproc)"
ninja -C b-base install
cmake -G Ninja -S qtserialport-6.4.2 -B b-serial -DCMAKE_TOOLCHAIN_FILE="$prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
ninja -C b-serial -j"$(nproc)"
ninja -C b-serial install
rm -rf "$prefix/doc"
# Relocatable: Qt's toolchain file loads the MinGW one from beside itself.
cp "$work/mingw-w64-x86_64.cmake" "$prefix/lib/cmake/Qt6/"
sed -i 's|^set(__qt_initially_configured_toolchain_file ".*")|set(__qt_initially_configured_toolchain_file "${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake")|' \
    "$prefix/lib/cmake/Qt6/qt.toolchain.cmake"
tar -C "$work" -cJf "$here/qt6-mingw-sdk.tar.xz" qt6-mingw-sdk
ls -la "$here/qt6-mingw-sdk.tar.xz"
