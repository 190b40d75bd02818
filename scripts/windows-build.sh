#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
# Builds Lopwinder for 64-bit Windows, on Debian 13: a static Qt 6.8 (Core, Gui, Widgets, the
# Windows platform plugin and the Windows 11 and Vista styles) from Debian's own qt6-base source,
# cross-built with MinGW-w64 and cached outside the work tree, then the whole program against it as
# one static lopwinder.exe, packed with its music, licences and README as
# build-windows-app/lopwinder-VERSION-windows-x86_64.zip. On another release, run it in a Debian 13
# root file system: scripts/debian-root.sh trixie OUT_FOLDER scripts/windows-build.sh
# LOPWINDER_QT_SOURCE: a folder with Debian's qt6-base source files, or an unpacked Qt source tree,
# to build Qt from instead of the Debian source of the installed version.
# Usage: windows-build.sh [BUILD_FOLDER]   prints what it builds, and where
#        windows-build.sh --key            prints the key of the Qt build the source would make
set -euo pipefail
cd "$(dirname "$0")/.."
project=$PWD
jobs=$(nproc)

scripts/setup-debian.sh
scripts/apt-install.sh g++-mingw-w64-x86-64-posix qt6-base-dev-tools dpkg-dev xz-utils zip unzip \
    advancecomp icoutils

# The exact Debian source of Qt: its full version (upstream and Debian revision) names the cache,
# enters its key and the notices, and the host tools of the same version must match it.
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
# Qt 6.8 is the first with the Windows 11 style, and a supported line.
dpkg --compare-versions "$qt_version" ge 6.8 || {
    echo "windows-build: the Windows program is built with Qt 6.8 or later, as Debian 13 has;" \
         "this system has Qt $qt_version. In a Debian 13 root file system:" \
         "scripts/debian-root.sh trixie OUT_FOLDER scripts/windows-build.sh" >&2
    exit 1
}
qt_options=(
    -DBUILD_SHARED_LIBS=OFF -DCMAKE_BUILD_TYPE=MinSizeRel -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    # Qt's own fast build: its sources compiled in batches, one translation unit per batch.
    -DQT_UNITY_BUILD=ON -DQT_UNITY_BUILD_BATCH_SIZE=32
    # Every unused function and object dropped at the link. No link-time optimisation of Qt:
    # GCC 14's LTO plug-in cannot read the big COFF objects (-Wa,-mbig-obj) Qt assembles for
    # MinGW, and with ordinary ones the optimising link fails inside GCC (an internal compiler
    # error in binds_to_current_def_p) or overflows COFF's section count. The program's own code
    # is optimised at link time (the preset windows-program).
    -DFEATURE_gc_binaries=ON
    # Modules the program does not link: it has no network, database, D-Bus, printing, XML, tests,
    # Vulkan or threads of Qt Concurrent.
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_vulkan=OFF
    -DFEATURE_testlib=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
    # Debian's repacked source has no Wintab headers.
    -DFEATURE_tabletevent=OFF
    # OpenGL stays on: Qt's Windows plugin does not build without it; it is loaded at run time.
    # Windows draws the text itself, and the window shows only an XPM icon: no FreeType and no
    # other image format.
    -DFEATURE_freetype=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF
    -DFEATURE_imageformat_bmp=OFF -DFEATURE_imageformat_ppm=OFF -DFEATURE_imageformat_xbm=OFF
    # No document is read or written: no MIME types, Markdown, ODF, PDF, HTML or pictures.
    -DFEATURE_mimetype_database=OFF -DFEATURE_textmarkdownreader=OFF
    -DFEATURE_textmarkdownwriter=OFF -DFEATURE_textodfwriter=OFF -DFEATURE_pdf=OFF
    -DFEATURE_texthtmlparser=OFF -DFEATURE_picture=OFF
    # Nothing is kept across sessions or dragged, and no time has a zone.
    -DFEATURE_sessionmanager=OFF -DFEATURE_draganddrop=OFF -DFEATURE_timezone=OFF
    # Dialogs Qt would draw itself: the Open dialog is the system's, the boxes are QMessageBox.
    -DFEATURE_filedialog=OFF -DFEATURE_colordialog=OFF -DFEATURE_fontdialog=OFF
    -DFEATURE_progressdialog=OFF -DFEATURE_errormessage=OFF -DFEATURE_wizard=OFF
    # Widgets the windows never show: lists are combo boxes, labels and buttons.
    -DFEATURE_calendarwidget=OFF -DFEATURE_datetimeedit=OFF -DFEATURE_mdiarea=OFF -DFEATURE_dial=OFF
    -DFEATURE_lcdnumber=OFF -DFEATURE_keysequenceedit=OFF -DFEATURE_fontcombobox=OFF
    -DFEATURE_textbrowser=OFF -DFEATURE_splashscreen=OFF -DFEATURE_undoview=OFF
    -DFEATURE_undogroup=OFF -DFEATURE_undostack=OFF -DFEATURE_undocommand=OFF
    -DFEATURE_tablewidget=OFF -DFEATURE_treewidget=OFF -DFEATURE_listwidget=OFF
    -DFEATURE_datawidgetmapper=OFF -DFEATURE_systemtrayicon=OFF
    # No list is editable, and no file is picked by Qt: no completion, no file system model.
    -DFEATURE_completer=OFF -DFEATURE_fscompleter=OFF -DFEATURE_filesystemmodel=OFF
    # Images are painted with 8 bits a channel, and none moves.
    -DFEATURE_raster_64bit=OFF -DFEATURE_raster_fp=OFF -DFEATURE_movie=OFF
    # No XML is read or written, and no file's type is asked (Windows has no MIME database for Qt
    # to read, and the built-in one is out; Qt's MIME code reads XML).
    -DFEATURE_mimetype=OFF -DFEATURE_xmlstream=OFF -DFEATURE_xmlstreamreader=OFF
    -DFEATURE_xmlstreamwriter=OFF
    # No date is shown, in any calendar.
    -DFEATURE_jalalicalendar=OFF -DFEATURE_islamiccivilcalendar=OFF -DFEATURE_hijricalendar=OFF
    # Windows picks the Windows 11 or Vista style, never Fusion, and no window has a column view,
    # a tool box or a splitter. (The input dialog and the main window's tool bar stay, with what
    # they need: the Vista style names them without a feature check.)
    -DFEATURE_style_fusion=OFF -DFEATURE_columnview=OFF -DFEATURE_toolbox=OFF
    -DFEATURE_splitter=OFF
)
# Every function and object in a section of its own, so that the program's link drops what it
# never calls. Regular expressions (Qt Core needs them) are not compiled to machine code at run
# time: the program matches none, and PCRE2's JIT stays out.
qt_flags="-ffunction-sections -fdata-sections -DPCRE2_DISABLE_JIT"
cache=${XDG_CACHE_HOME:-$HOME/.cache}/lopwinder
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "windows-build: $*" >&2; exit 1; }

# Qt's source, in one of three forms: Debian's source package files (.dsc, .orig.tar.xz,
# .debian.tar.xz) or an unpacked, possibly modified, Qt tree, both from the folder
# LOPWINDER_QT_SOURCE; else Debian's files of the installed version, fetched once into the cache
# with apt's own means. The apt source list is our own: the source lines of the Debian archives
# that the machine's apt sources name (its mirror, its proxy), for the suites they name; the
# machine's apt state stays as it is. Every tool's own message is shown when it fails.
fetch_debian_source() { # into $1
    mkdir -p "$work/lists/partial" "$1.part"
    apt-get indextargets --format 'deb-src $(REPO_URI) $(RELEASE) main' 'Created-By: Packages' \
        'Origin: Debian' | sort -u >"$work/sources.list"
    [ -s "$work/sources.list" ] || fail "the machine's apt sources name no Debian archive"
    local apt_src=(-o Dir::Etc::SourceList="$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
                   -o Dir::State::Lists="$work/lists" -o APT::Sandbox::User=root)
    apt-get -qq "${apt_src[@]}" update || fail "apt could not read the Debian source lists"
    (cd "$1.part" && apt-get -qq "${apt_src[@]}" source --download-only "qt6-base=$qt_version") ||
        fail "apt could not fetch Debian's qt6-base $qt_version source"
    mv "$1.part" "$1"
}
# A tree as one stream: every file's name, mode, link and bytes, and nothing of when or whose.
tree_tar() {
    tar -C "$1" --sort=name --owner=0 --group=0 --numeric-owner --mtime=@0 -cf - .
}
# The files a .dsc names must be beside it, with the checksums it gives, and the .dsc must be of
# the version whose host tools build it.
check_debian_source() { # folder
    local dsc sums
    dsc=$(compgen -G "$1/qt6-base_*.dsc" | head -n 1)
    sums=$(sed -n '/^Checksums-Sha256:/,/^[^ ]/s/^ \([0-9a-f]\{64\}\) [0-9]* \(.*\)/\1  \2/p' "$dsc")
    [ -n "$sums" ] || fail "$dsc lists no SHA-256 checksums"
    [ "$(sed -n 's/^Version: //p' "$dsc")" = "$qt_version" ] ||
        fail "$(basename "$dsc") is not of version $qt_version, the Qt tools installed here"
    (cd "$1" && sha256sum --quiet --strict -c - <<<"$sums" >&2) ||
        fail "the files beside $(basename "$dsc") do not match its checksums"
}
source_kind=debian
if [ -n "${LOPWINDER_QT_SOURCE:-}" ]; then
    if compgen -G "$LOPWINDER_QT_SOURCE/qt6-base_*.dsc" >/dev/null; then
        debian_source=$LOPWINDER_QT_SOURCE
    elif [ -f "$LOPWINDER_QT_SOURCE/CMakeLists.txt" ] && [ -d "$LOPWINDER_QT_SOURCE/src/corelib" ]
    then
        source_kind=tree
    else
        fail "LOPWINDER_QT_SOURCE=$LOPWINDER_QT_SOURCE holds neither Debian's qt6-base source" \
             "files (.dsc, .orig.tar.xz, .debian.tar.xz) nor an unpacked Qt source tree"
    fi
else
    debian_source=$cache/qt-source/$qt_version
    [ -d "$debian_source" ] || fetch_debian_source "$debian_source"
fi
# The source actually built, by its digest: the .dsc pins its files' checksums; for a tree, every
# file's name and bytes. A changed source always builds anew.
if [ "$source_kind" = debian ]; then
    check_debian_source "$debian_source"
    source_digest=$(sha256sum "$debian_source"/qt6-base_*.dsc | cut -d' ' -f1)
else
    source_digest=$(tree_tar "$LOPWINDER_QT_SOURCE" | sha256sum | cut -d' ' -f1)
fi
echo "Qt source: $source_kind, digest $source_digest"
# What the Qt build depends on, comments aside.
key=$(printf '%s\n' "$qt_version" "$source_kind $source_digest" "${qt_options[@]}" "$qt_flags" \
      "$(grep -v '^#' cmake/mingw-w64-x86_64.cmake)" | sha256sum | cut -c1-12)
[ "${1:-}" != --key ] || { echo "$key"; exit 0; }
# Qt is configured for a fixed prefix, which is what it writes into the program, and installed
# below the cache: no home, cache or work folder of the build machine goes out with the program.
qt_prefix=/opt/lopwinder-qt
qt_root=$cache/qt-$qt_version-mingw-static-$key
qt=$qt_root$qt_prefix

if [ ! -f "$qt_root/.complete" ]; then
    echo "Building a static Qt $qt_version for Windows into $qt_root (once; 12 to 21 minutes on two cores)"
    rm -rf "$qt_root"
    if [ "$source_kind" = debian ]; then
        (cd "$debian_source" && dpkg-source -x ./*.dsc "$work/qtbase") >"$work/unpack.log" 2>&1 ||
            { cat "$work/unpack.log" >&2; fail "dpkg-source could not unpack Qt's source"; }
    else
        cp -a "$LOPWINDER_QT_SOURCE" "$work/qtbase"
    fi
    start=$SECONDS
    cmake -S "$work/qtbase" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$project/cmake/mingw-w64-x86_64.cmake" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
        -DCMAKE_INSTALL_PREFIX="$qt_prefix" "${qt_options[@]}" \
        -DCMAKE_C_FLAGS="$qt_flags -ffile-prefix-map=$work=/qt" \
        -DCMAKE_CXX_FLAGS="$qt_flags -ffile-prefix-map=$work=/qt" >"$work/configure.log" 2>&1 ||
        { tail -40 "$work/configure.log"; fail "Qt's configuration failed"; }
    cmake --build "$work/build" -j "$jobs" >"$work/build.log" 2>&1 ||
        { grep -m 10 -A6 'error:' "$work/build.log" || tail -40 "$work/build.log"
          fail "Qt's build failed"; }
    DESTDIR=$qt_root cmake --install "$work/build" >/dev/null
    echo "Qt built in $((SECONDS - start)) s"
    # Which features the build has, in Qt's words, for whoever asks why the program has them.
    cp "$work/build/config.summary" "$qt_root/"
    # The source it was built from goes out with every program built against it: Debian's files,
    # or the tree as it was built.
    mkdir -p "$qt_root/source"
    if [ "$source_kind" = debian ]; then
        cp "$debian_source"/qt6-base_* "$qt_root/source/"
    else
        tree_tar "$LOPWINDER_QT_SOURCE" | xz -T1 >"$qt_root/source/qt6-base-$qt_version-modified.tar.xz"
    fi
    touch "$qt_root/.complete"
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
# CMake reads a toolchain file once: a build folder configured against another Qt starts anew.
[ "$(cat "$build/qt-prefix" 2>/dev/null)" = "$qt" ] || rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
mkdir -p "$build" && echo "$qt" >"$build/qt-prefix"
# The preset windows-program: the program against this Qt, with link-time optimisation. Debian's
# Qt source skips plugins by default (its enable_skip_plugins patch, right for its shared
# packages); a static Qt links its platform plugin and styles only when they are included, which
# the preset asks for.
LOPWINDER_WINDOWS_QT=$qt cmake --preset windows-program -B "$build" >/dev/null
# Qt's resource compiler writes a time into the program for each resource file: a fixed one, so
# that an incremental build, a fresh one and one from the source bundle give the same bytes (a
# SOURCE_DATE_EPOCH from outside would win over it, and would change with every commit).
env -u SOURCE_DATE_EPOCH QT_RCC_SOURCE_DATE_OVERRIDE=1796601600 \
    cmake --build "$build" -j "$jobs" --target lopwinder

# The zip: the program, its music, the licences and a short README, all with CRLF line ends and
# the commit's time, in a fixed order, with no extra attributes.
stage=$build/zip
rm -rf "$stage" "$build"/lopwinder-*.zip "$build"/lopwinder-*-source.tar.xz "$build"/qt6-base[_-]* \
    "$build"/*.spdx "$build/SHA256SUMS"
mkdir -p "$stage"
cp "$build/lopwinder.exe" "$build/supplimentary.dat" "$stage/"
# The notices from what Qt's build declares (its bill of materials) and the runtimes the link took.
python3 scripts/third_party_notices.py notices "$qt_root" "$qt_version" "$build/lopwinder.map" \
    "$stage/THIRD-PARTY-NOTICES.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
# Debian's files in the order a reader needs them (the .dsc names the others), or the tree built.
qt_files=()
for pattern in "*.dsc" "*.orig.tar.*" "*.debian.tar.*" "*-modified.tar.xz"; do
    for file in "$qt_root"/source/$pattern; do
        [ ! -e "$file" ] || qt_files+=("$(basename "$file")")
    done
done
if [[ ${qt_files[0]} == *-modified.tar.xz ]]; then
    qt_what="The Qt source tree that is linked into lopwinder.exe, as it was built: a modified
      qt6-base; its host tools were Debian's qt6-base $qt_version."
else
    qt_what="Debian's qt6-base source package, version $qt_version: the Qt that is linked into
      lopwinder.exe, with Debian's patches."
fi
qt_source=$(printf '  %s\n' "${qt_files[@]}")$'\n'"      $qt_what"
# Qt's own bill of materials, as its build wrote it: named in the README, shipped beside the zip.
qt_sbom=$(basename "$(ls "$qt"/sbom/qtbase-*.spdx)")
sed -e "s/@VERSION@/$version/g" -e "s/@QT_VERSION@/$qt_version/g" \
    -e "s/@QT_DSC@/qt6-base_$qt_version.dsc/g" -e "s/@QT_SBOM@/$qt_sbom/g" \
    data/windows/README.txt |
    awk -v block="$qt_source" '$0 == "@QT_SOURCE@" { print block; next } { print }' |
    sed 's/$/\r/' >"$stage/README.txt"
files=(lopwinder.exe supplimentary.dat LICENSE.txt THIRD-PARTY-NOTICES.txt README.txt)
chmod 644 "${files[@]/#/$stage/}"
touch -d "@$stamp" "${files[@]/#/$stage/}"
zip_name=lopwinder-$version-windows-x86_64.zip
(cd "$stage" && TZ=UTC zip -q -X -9 "../$zip_name" "${files[@]}")
# Deflated again, more tightly (7-Zip's deflate): the same format, a few per cent smaller.
advzip -q -z -3 "$build/$zip_name"
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
cp "$qt_root/source"/* "$build/"
release+=("${qt_files[@]}")
# The bills of materials: Qt's, and the program's, which refers to it.
cp "$qt/sbom/$qt_sbom" "$build/"
python3 scripts/third_party_notices.py spdx "$qt_root" "$version" "$build/lopwinder.map" \
    "$build/lopwinder.exe" "$(date -u -d "@$stamp" +%FT%TZ)" "$build/${zip_name%.zip}.spdx"
release+=("${zip_name%.zip}.spdx" "$qt_sbom")
(cd "$build" && sha256sum "${release[@]}" >SHA256SUMS)
echo "Built $build/$zip_name: $(stat -c %s "$build/$zip_name") bytes, lopwinder.exe $(
    stat -c %s "$build/lopwinder.exe") bytes; beside it: ${release[*]:1}"
