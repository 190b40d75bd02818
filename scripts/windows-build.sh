#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Lopwinder for 64-bit Windows here: a static Qt (Core, Gui, Widgets and the Windows
# platform plugin) from Debian's own qt6-base source, cross-built with MinGW-w64 and cached outside
# the work tree, then the whole program against it as one static lopwinder.exe, packed with its
# music, licences and README as build-windows-app/lopwinder-VERSION-windows-x86_64.zip.
# Usage: windows-build.sh [BUILD_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
project=$PWD
jobs=$(nproc)

scripts/setup-debian.sh
need=()
for p in g++-mingw-w64-x86-64-posix qt6-base-dev-tools dpkg-dev xz-utils zip unzip icoutils; do
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
    -DBUILD_SHARED_LIBS=OFF -DCMAKE_BUILD_TYPE=MinSizeRel -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF
    -DFEATURE_vulkan=OFF -DFEATURE_testlib=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
    # Debian's repacked source has no Wintab headers.
    -DFEATURE_tabletevent=OFF
    # OpenGL stays on: 6.4's Windows plugin does not build without it; it is loaded at run time.
    # What the program never uses, to keep the download small: Windows draws text itself, the
    # window shows only an XPM icon, and no MIME type, Markdown, ODF, PDF or style sheet is read.
    -DFEATURE_freetype=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF
    -DFEATURE_mimetype_database=OFF -DFEATURE_textmarkdownreader=OFF
    -DFEATURE_textmarkdownwriter=OFF -DFEATURE_textodfwriter=OFF -DFEATURE_pdf=OFF
    -DFEATURE_style_stylesheet=OFF -DFEATURE_sessionmanager=OFF
)
# Every function and object in a section of its own, so that the program's link drops what it
# never calls.
qt_flags="-ffunction-sections -fdata-sections"
# What the Qt build depends on, comments aside.
key=$(printf '%s\n' "$qt_version" "${qt_options[@]}" "$qt_flags" \
      "$(grep -v '^#' cmake/mingw-w64-x86_64-posix.cmake)" | sha256sum | cut -c1-12)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/lopwinder
qt=$cache/qt-$qt_version-mingw-static-$key

# Debian's source package of Qt, fetched with apt's own means through a source list of our own
# (the machine's apt sources stay as they are) and unpacked into $1/qtbase.
fetch_qt_source() {
    mkdir -p "$1/lists/partial"
    echo "deb-src http://deb.debian.org/debian bookworm main" >"$1/sources.list"
    local apt_src=(-o Dir::Etc::SourceList="$1/sources.list" -o Dir::Etc::SourceParts=/dev/null
                   -o Dir::State::Lists="$1/lists" -o APT::Sandbox::User=root)
    apt-get -qq "${apt_src[@]}" update
    (cd "$1" && apt-get -qq "${apt_src[@]}" source --download-only "qt6-base=$(
        dpkg-query -W -f='${Version}' qt6-base-dev)" >/dev/null &&
        dpkg-source -x --no-check ./*.dsc qtbase >/dev/null)
}

configure_qt() { # SOURCE BUILD
    cmake -S "$1" -B "$2" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$project/cmake/mingw-w64-x86_64-posix.cmake" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
        -DCMAKE_INSTALL_PREFIX="$qt" "${qt_options[@]}" \
        -DCMAKE_C_FLAGS="$qt_flags -ffile-prefix-map=$work=/qt" \
        -DCMAKE_CXX_FLAGS="$qt_flags -ffile-prefix-map=$work=/qt" >"$work/configure.log" ||
        { tail -40 "$work/configure.log"; exit 1; }
}

if [ ! -f "$qt/.complete" ]; then
    echo "Building a static Qt $qt_version for Windows into $qt (once; about half an hour)"
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    fetch_qt_source "$work"
    configure_qt "$work/qtbase" "$work/build"
    cmake --build "$work/build" -j "$jobs" >"$work/build.log" || { tail -40 "$work/build.log"; exit 1; }
    cmake --install "$work/build" >/dev/null
    touch "$qt/.complete"
fi
# Qt's notes on its third-party code, and which of Qt's archive members each covers, for the
# notices; a Qt built before they were kept is only configured again to learn them.
if [ ! -f "$qt/attributions/.complete" ]; then
    work=${work:-$(mktemp -d)}
    trap 'rm -rf "$work"' EXIT
    [ -d "$work/qtbase" ] || fetch_qt_source "$work"
    [ -f "$work/build/build.ninja" ] || configure_qt "$work/qtbase" "$work/build"
    rm -rf "$qt/attributions"
    python3 scripts/third_party_notices.py collect "$work/qtbase" "$work/build" "$qt/attributions"
    touch "$qt/attributions/.complete"
fi

# The program, in the folder given (build-windows-app by default), from the commit's sources: the
# same commit gives the same bytes in any folder.
build=${1:-build-windows-app}
version=$(sed -n 's/^project(Lopwinder VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
stamp=$(git log -1 --format=%ct 2>/dev/null || echo 1733443200)
export SOURCE_DATE_EPOCH=$stamp
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$project/cmake/mingw-w64-x86_64-posix.cmake" \
    -DLOPWINDER_TESTS=OFF -DLOPWINDER_WERROR=ON >/dev/null
cmake --build "$build" -j "$jobs" --target lopwinder

# The zip: the program, its music, the licences and a short README, all with CRLF line ends and
# the commit's time, in a fixed order, with no extra attributes.
stage=$build/zip
rm -rf "$stage" "$build"/lopwinder-*.zip "$build/SHA256SUMS"
mkdir -p "$stage"
cp "$build/lopwinder.exe" "$build/supplimentary.dat" "$stage/"
python3 scripts/third_party_notices.py notices "$qt/attributions" "$build/lopwinder.map" "$qt_version" \
    "$stage/THIRD-PARTY-NOTICES.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
sed "s/@VERSION@/$version/; s/\$/\r/" data/windows/README.txt >"$stage/README.txt"
files=(lopwinder.exe supplimentary.dat LICENSE.txt THIRD-PARTY-NOTICES.txt README.txt)
chmod 644 "${files[@]/#/$stage/}"
touch -d "@$stamp" "${files[@]/#/$stage/}"
zip_name=lopwinder-$version-windows-x86_64.zip
(cd "$stage" && TZ=UTC zip -q -X -9 "../$zip_name" "${files[@]}")
(cd "$build" && sha256sum "$zip_name" >SHA256SUMS)
echo "Built $build/$zip_name: $(stat -c %s "$build/$zip_name") bytes, lopwinder.exe $(
    stat -c %s "$build/lopwinder.exe") bytes"
