#!/usr/bin/env bash
# Builds Lopwinder for 64-bit Windows here: a static Qt (Core, Gui, Widgets and the Windows
# platform plugin) from Debian's own qt6-base source, cross-built with MinGW-w64 and cached outside
# the work tree, then the whole program against it as one static lopwinder.exe, packed with its
# music as build-windows-app/lopwinder-windows-x86_64.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
project=$PWD
jobs=$(nproc)

scripts/setup-debian.sh
need=()
for p in g++-mingw-w64-x86-64-posix qt6-base-dev-tools dpkg-dev xz-utils zip; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if ((${#need[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

# Qt's own version of the host tools must match the sources built here.
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev | sed 's/+.*//; s/-.*//')
qt_options=(
    -DBUILD_SHARED_LIBS=OFF -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF
    -DFEATURE_vulkan=OFF -DFEATURE_testlib=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_sql=OFF
    # Debian's repacked source has no Wintab headers.
    -DFEATURE_tabletevent=OFF
    # OpenGL stays on: 6.4's Windows plugin does not build without it; it is loaded at run time.
)
key=$(printf '%s\n' "$qt_version" "${qt_options[@]}" "$(cat cmake/mingw-w64-x86_64-posix.cmake)" |
      sha256sum | cut -c1-12)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/lopwinder
qt=$cache/qt-$qt_version-mingw-static-$key

if [ ! -f "$qt/.complete" ]; then
    echo "Building a static Qt $qt_version for Windows into $qt (once; about half an hour)"
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    # Debian's source package, fetched with apt's own means through a source list of our own:
    # the machine's apt sources stay as they are.
    mkdir -p "$work/lists/partial"
    echo "deb-src http://deb.debian.org/debian bookworm main" >"$work/sources.list"
    apt_src=(-o Dir::Etc::SourceList="$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
             -o Dir::State::Lists="$work/lists" -o APT::Sandbox::User=root)
    apt-get -qq "${apt_src[@]}" update
    (cd "$work" && apt-get -qq "${apt_src[@]}" source --download-only "qt6-base=$(
        dpkg-query -W -f='${Version}' qt6-base-dev)" >/dev/null &&
        dpkg-source -x --no-check ./*.dsc qtbase >/dev/null)
    cmake -S "$work/qtbase" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$project/cmake/mingw-w64-x86_64-posix.cmake" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
        -DCMAKE_INSTALL_PREFIX="$qt" "${qt_options[@]}" >"$work/configure.log" ||
        { tail -40 "$work/configure.log"; exit 1; }
    cmake --build "$work/build" -j "$jobs" >"$work/build.log" || { tail -40 "$work/build.log"; exit 1; }
    cmake --install "$work/build" >/dev/null
    touch "$qt/.complete"
fi

build=build-windows-app
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$project/cmake/mingw-w64-x86_64-posix.cmake" \
    -DLOPWINDER_TESTS=OFF -DLOPWINDER_WERROR=ON >/dev/null
cmake --build "$build" -j "$jobs" --target lopwinder
rm -f "$build/lopwinder-windows-x86_64.zip"
(cd "$build" && zip -q lopwinder-windows-x86_64.zip lopwinder.exe supplimentary.dat)
echo "Built $build/lopwinder-windows-x86_64.zip"
