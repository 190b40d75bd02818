#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
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
scripts/apt-install.sh g++-mingw-w64-x86-64-posix qt6-base-dev-tools dpkg-dev xz-utils zip unzip \
    icoutils

# The exact Debian source of Qt: its full version (upstream and Debian revision) names the cache,
# enters its key and the notices, and the host tools of the same version must match it.
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
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

# Debian's source package of Qt (its .dsc, .orig.tar.xz and .debian.tar.xz) into $1/package,
# unpacked into $1/qtbase; dpkg-source checks the files against the .dsc. From the folder
# LOPWINDER_QT_SOURCE when it is set (the files distributed beside a release), else fetched with
# apt's own means through a source list of our own: the source lines of the Debian archives that
# the machine's apt sources name (its mirror, its proxy), for the suites they name; the machine's
# apt state stays as it is.
fetch_qt_source() {
    mkdir -p "$1/lists/partial" "$1/package"
    if [ -n "${LOPWINDER_QT_SOURCE:-}" ]; then
        cp "$LOPWINDER_QT_SOURCE"/qt6-base_* "$1/package/"
    else
        apt-get indextargets --format 'deb-src $(REPO_URI) $(RELEASE) main' 'Created-By: Packages' \
            'Origin: Debian' | sort -u >"$1/sources.list"
        [ -s "$1/sources.list" ] ||
            { echo "windows-build: the machine's apt sources name no Debian archive" >&2; exit 1; }
        local apt_src=(-o Dir::Etc::SourceList="$1/sources.list" -o Dir::Etc::SourceParts=/dev/null
                       -o Dir::State::Lists="$1/lists" -o APT::Sandbox::User=root)
        apt-get -qq "${apt_src[@]}" update
        (cd "$1/package" && apt-get -qq "${apt_src[@]}" source --download-only \
            "qt6-base=$qt_version" >/dev/null)
    fi
    (cd "$1/package" && dpkg-source -x ./*.dsc ../qtbase >"$1/unpack.log" 2>&1) ||
        { cat "$1/unpack.log" >&2; echo "windows-build: Qt's source could not be unpacked" >&2; exit 1; }
}

if [ ! -f "$qt/.complete" ]; then
    echo "Building a static Qt $qt_version for Windows into $qt (once; about half an hour)"
    rm -rf "$qt"
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    fetch_qt_source "$work"
    cmake -S "$work/qtbase" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$project/cmake/mingw-w64-x86_64-posix.cmake" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
        -DCMAKE_INSTALL_PREFIX="$qt" "${qt_options[@]}" \
        -DCMAKE_C_FLAGS="$qt_flags -ffile-prefix-map=$work=/qt" \
        -DCMAKE_CXX_FLAGS="$qt_flags -ffile-prefix-map=$work=/qt" >"$work/configure.log" ||
        { tail -40 "$work/configure.log"; exit 1; }
    cmake --build "$work/build" -j "$jobs" >"$work/build.log" || { tail -40 "$work/build.log"; exit 1; }
    cmake --install "$work/build" >/dev/null
    # The source it was built from goes out with every program built against it.
    mkdir -p "$qt/source"
    cp "$work/package"/*.dsc "$work/package"/*.orig.tar.* "$work/package"/*.debian.tar.* "$qt/source/"
    # What went into each of Qt's objects, as the compiler recorded it, and how the build made
    # them: with the source's own attribution files, the notices are decided from these and the
    # program's link map.
    mkdir -p "$qt/build-record"
    echo "$work" >"$qt/build-record/work-folder"
    ninja -C "$work/build" -t deps | xz -T1 >"$qt/build-record/deps.txt.xz"
    xz -T1 <"$work/build/build.ninja" >"$qt/build-record/build.ninja.xz"
    touch "$qt/.complete"
fi

# The program, in the folder given (build-windows-app by default), from the commit's sources: the
# same commit gives the same bytes in any folder.
build=${1:-build-windows-app}
version=$(sed -n 's/^project(Lopwinder VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# In a checkout, the commit's time; in an unpacked source bundle, the same time, which git archive
# gave every file.
in_git=false
[ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$project" ] && in_git=true
if $in_git; then stamp=$(git log -1 --format=%ct); else stamp=$(stat -c %Y CMakeLists.txt); fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$project/cmake/mingw-w64-x86_64-posix.cmake" \
    -DLOPWINDER_TESTS=OFF -DLOPWINDER_WERROR=ON >/dev/null
# Qt's resource compiler writes a time into the program for each resource file: a fixed one, so
# that an incremental build, a fresh one and one from the source bundle give the same bytes (a
# SOURCE_DATE_EPOCH from outside would win over it, and would change with every commit).
env -u SOURCE_DATE_EPOCH QT_RCC_SOURCE_DATE_OVERRIDE=1796601600 \
    cmake --build "$build" -j "$jobs" --target lopwinder

# The zip: the program, its music, the licences and a short README, all with CRLF line ends and
# the commit's time, in a fixed order, with no extra attributes.
stage=$build/zip
rm -rf "$stage" "$build"/lopwinder-*.zip "$build"/lopwinder-*-source.tar.xz "$build"/qt6-base_* \
    "$build/SHA256SUMS"
mkdir -p "$stage"
cp "$build/lopwinder.exe" "$build/supplimentary.dat" "$stage/"
python3 scripts/third_party_notices.py notices "$qt" "$build/lopwinder.map" "$qt_version" \
    "$stage/THIRD-PARTY-NOTICES.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
qt_dsc=$(basename "$qt"/source/qt6-base_*.dsc)
qt_orig=$(basename "$qt"/source/qt6-base_*.orig.tar.*)
qt_debian=$(basename "$qt"/source/qt6-base_*.debian.tar.*)
sed -e "s/@VERSION@/$version/g" -e "s/@QT_VERSION@/$qt_version/g" -e "s/@QT_DSC@/$qt_dsc/g" \
    -e "s/@QT_ORIG@/$qt_orig/g" -e "s/@QT_DEBIAN@/$qt_debian/g" -e 's/$/\r/' \
    data/windows/README.txt >"$stage/README.txt"
files=(lopwinder.exe supplimentary.dat LICENSE.txt THIRD-PARTY-NOTICES.txt README.txt)
chmod 644 "${files[@]/#/$stage/}"
touch -d "@$stamp" "${files[@]/#/$stage/}"
zip_name=lopwinder-$version-windows-x86_64.zip
(cd "$stage" && TZ=UTC zip -q -X -9 "../$zip_name" "${files[@]}")
# The complete corresponding source goes out beside the zip: Lopwinder's own at this commit (the
# same commit gives the same bundle) and the very Qt source the program was built with.
release=("$zip_name")
if $in_git; then
    [ -z "$(git status --porcelain)" ] ||
        echo "windows-build: uncommitted changes; the source bundle holds the commit, not them" >&2
    source_name=lopwinder-$version-source.tar.xz
    git archive --format=tar --prefix="lopwinder-$version/" HEAD | xz -T1 -9 >"$build/$source_name"
    release+=("$source_name")
fi
cp "$qt/source"/qt6-base_* "$build/"
release+=("$qt_dsc" "$qt_orig" "$qt_debian")
(cd "$build" && sha256sum "${release[@]}" >SHA256SUMS)
echo "Built $build/$zip_name: $(stat -c %s "$build/$zip_name") bytes, lopwinder.exe $(
    stat -c %s "$build/lopwinder.exe") bytes; beside it: ${release[*]:1}"
