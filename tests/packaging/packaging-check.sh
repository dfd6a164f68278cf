#!/usr/bin/env bash
# Checks what a user gets from `cmake --install` and from the Debian package.
#
#   packaging-check.sh CHECK
#
# CHECK is one of: install tree links run desktop appstream man icons docs completion hardening
# deb-build deb-contents deb-lintian deb-install release-config. The build tells the script where
# things are through the environment:
#   DAYBREAK_BUILD_DIR   the build tree            DAYBREAK_SOURCE_DIR  the source tree
#   DAYBREAK_PREFIX      scratch install prefix    DAYBREAK_DEB_DIR     scratch package directory
#   DAYBREAK_WINDOW      ON when the window is built
#   DAYBREAK_APP_ID      AppStream id              DAYBREAK_DESKTOP_ID  desktop entry's name
#   DAYBREAK_VERSION     the project version       DAYBREAK_SANITIZE    sanitizers, if any
#   DAYBREAK_DATA_README file name of the data notes installed beside the archives
#   DAYBREAK_STATE_CODES the two-letter codes of the packed archives, blank-separated
#   DAYBREAK_HARDENED    ON when the build uses the hardening flags
#   DAYBREAK_OPTIMISED   ON when the build type optimises (fortified calls need it)
# Exit status: 0 pass, 1 fail, 77 skipped (with the reason on standard output).
set -uo pipefail

readonly SKIP=77
# The build's list of state codes, the one the archives are packed from.
readonly CODES="${DAYBREAK_STATE_CODES:?the build passes the state codes}"
readonly PKGDIR=lib/daybreak
readonly DOCDIR=share/doc/daybreak

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
# expect_eq WHAT ACTUAL EXPECTED
expect_eq() {
    if [[ "$2" != "$3" ]]; then
        fail "$1: got '$2', expected '$3'"
    fi
}
finish() {
    if ((failures > 0)); then
        echo "$failures check(s) failed"
        exit 1
    fi
    echo "all checks passed"
    exit 0
}
window() { [[ "${DAYBREAK_WINDOW:-OFF}" == ON ]]; }
programs() {
    echo daybreak-cli
    if window; then echo daybreak; fi
}
scratch() { mktemp -d "${TMPDIR:-/tmp}/daybreak-packaging.XXXXXX"; }

# The files an installation must hold, relative to the prefix, one a line, sorted.
expected_tree() {
    {
        local p code
        for p in $(programs); do
            echo "bin/$p"
            echo "$PKGDIR/$p"
        done
        for code in $CODES; do echo "$PKGDIR/timezone.arc.$code"; done
        echo "$PKGDIR/timezone.zones"
        echo "$PKGDIR/timezone.world"
        echo "$PKGDIR/timezone.zonemap"
        echo "$PKGDIR/timezone.worldmap"
        echo "$PKGDIR/timezone.names"
        echo "$DOCDIR/${DAYBREAK_DATA_README:-<data notes>}"
        echo "$DOCDIR/copyright"
        echo "$DOCDIR/changelog.gz"
        echo "$DOCDIR/user-guide.md"
        # The pictures the guide shows, beside it as its links expect.
        sed -nE 's/.*!\[[^]]*\]\((screenshots\/[^)]+)\).*/\1/p' \
            "$DAYBREAK_SOURCE_DIR/docs/user-guide.md" | sort -u | sed "s|^|$DOCDIR/|"
        for p in $(programs); do echo "share/man/man1/$p.1.gz"; done
        echo "share/bash-completion/completions/daybreak-cli"
        echo "share/zsh/vendor-completions/_daybreak-cli"
        if window; then
            echo "share/applications/$DAYBREAK_DESKTOP_ID.desktop"
            echo "share/metainfo/$DAYBREAK_APP_ID.metainfo.xml"
            echo "share/icons/hicolor/scalable/apps/daybreak.svg"
            echo "share/icons/hicolor/48x48/apps/daybreak.png"
            echo "share/icons/hicolor/256x256/apps/daybreak.png"
        fi
    } | LC_ALL=C sort
}

# Runs the place lookup the package promises through PROGRAM, from a directory that holds no
# archives, and checks the answer.
check_mission_tx() {
    local program=$1 where out
    where=$(scratch)
    if ! out=$(cd "$where" && "$program" --state TX --zip 78572 --date 2007-06-21 2>&1); then
        fail "$program --state TX --zip 78572 failed: $out"
    else
        grep -q '^City Name: Mission' <<<"$out" || fail "$program: no 'City Name: Mission' in: $out"
        grep -q '^County Name: Hidalgo' <<<"$out" || fail "$program: no Hidalgo county in: $out"
        grep -q '^Local Sunrise: Thursday, June 21, 2007,  [0-9][0-9]:[0-9][0-9]:[0-9][0-9]$' \
            <<<"$out" || fail "$program: no sunrise line for 21 June 2007 in: $out"
        grep -q '^Local Sunset: ' <<<"$out" || fail "$program: no sunset line in: $out"
        grep -q '^Local Solar Noon: ' <<<"$out" || fail "$program: no solar noon line in: $out"
    fi
    rm -rf "$where"
}

check_version() {
    local program=$1 out
    out=$(QT_QPA_PLATFORM=offscreen "$program" --version 2>&1) || fail "$program --version failed"
    # The tool names itself first, as command-line tools do; the window prints the number.
    local expected=$DAYBREAK_VERSION
    [[ ${program##*/} == daybreak-cli ]] && expected="daybreak-cli $DAYBREAK_VERSION"
    expect_eq "$program --version" "$out" "$expected"
}

# Every install from the build tree rewrites its install_manifest.txt, which a user's
# uninstall reads: a test's scratch install must leave the user's list as it was.
keep_manifest() {
    local manifest="$DAYBREAK_BUILD_DIR/install_manifest.txt" saved
    saved=$(scratch)
    [[ -f "$manifest" ]] && cp -p "$manifest" "$saved/"
    "$@"
    local status=$?
    if [[ -f "$saved/install_manifest.txt" ]]; then
        cp -p "$saved/install_manifest.txt" "$manifest"
    else
        rm -f "$manifest"
    fi
    rm -rf "$saved"
    return $status
}

case "${1:-}" in
install)
    rm -rf "$DAYBREAK_PREFIX"
    # As `make install` does it: stripped.
    keep_manifest cmake --install "$DAYBREAK_BUILD_DIR" --prefix "$DAYBREAK_PREFIX" --strip ||
        fail "cmake --install --strip"
    finish
    ;;

tree)
    # Exactly the expected files: a stray install rule (a test, a library, a header) fails here.
    actual=$(cd "$DAYBREAK_PREFIX" && find . \( -type f -o -type l \) | sed 's|^\./||' |
        LC_ALL=C sort)
    if ! diff_out=$(diff <(expected_tree) <(echo "$actual")); then
        fail "installed tree differs from the expected one (< expected, > installed):"
        echo "$diff_out"
    fi
    for code in $CODES; do
        f="$DAYBREAK_PREFIX/$PKGDIR/timezone.arc.$code"
        if [[ -e "$f" && ! -s "$f" ]]; then fail "timezone.arc.$code is empty"; fi
    done
    for p in $(programs); do
        f="$DAYBREAK_PREFIX/$PKGDIR/$p"
        [[ -x "$f" && ! -L "$f" ]] || fail "$PKGDIR/$p is not an executable file"
        # An installed program must not look for libraries in the build tree.
        if readelf -d "$f" | grep -E 'R(UN)?PATH' | grep -qF "$DAYBREAK_BUILD_DIR"; then
            fail "$PKGDIR/$p keeps a run path into the build tree"
        fi
        # Installed programs carry neither debug information nor a symbol table.
        if readelf -S -W "$f" | grep -qE ' \.(symtab|debug_[a-z]+) '; then
            fail "$PKGDIR/$p is not stripped"
        fi
    done
    finish
    ;;

links)
    for p in $(programs); do
        link="$DAYBREAK_PREFIX/bin/$p"
        if [[ ! -L "$link" ]]; then
            fail "bin/$p is not a symbolic link"
            continue
        fi
        expect_eq "target of bin/$p" "$(readlink "$link")" "../$PKGDIR/$p"
        expect_eq "bin/$p resolves to" "$(readlink -f "$link")" \
            "$(readlink -f "$DAYBREAK_PREFIX/$PKGDIR/$p")"
    done
    # Relative links keep working when the whole tree moves.
    moved=$(scratch)
    cp -a "$DAYBREAK_PREFIX" "$moved/elsewhere"
    for p in $(programs); do
        [[ -x "$moved/elsewhere/bin/$p" ]] || fail "bin/$p dangles once the tree is moved"
    done
    check_mission_tx "$moved/elsewhere/bin/daybreak-cli"
    rm -rf "$moved"
    finish
    ;;

run)
    # Through the link in bin/, through a second link elsewhere (as a user's ~/bin would hold),
    # and directly; each from a directory without archives.
    check_mission_tx "$DAYBREAK_PREFIX/bin/daybreak-cli"
    userbin=$(scratch)
    ln -s "$DAYBREAK_PREFIX/bin/daybreak-cli" "$userbin/daybreak-cli"
    check_mission_tx "$userbin/daybreak-cli"
    rm -rf "$userbin"
    for p in $(programs); do check_version "$DAYBREAK_PREFIX/bin/$p"; done
    # A missing archive is the tool's own one-line error, not a crash.
    broken=$(scratch)
    cp -a "$DAYBREAK_PREFIX" "$broken/prefix"
    rm -f "$broken/prefix/$PKGDIR/timezone.arc.TX"
    (cd "$broken" && "$broken/prefix/bin/daybreak-cli" --state TX --zip 78572 >/dev/null 2>&1)
    expect_eq "exit status without timezone.arc.TX" "$?" 2
    rm -rf "$broken"
    finish
    ;;

desktop)
    if ! window; then
        echo "SKIP: the window is not built (DAYBREAK_WITH_GUI=OFF), so there is no desktop entry"
        exit $SKIP
    fi
    entry="$DAYBREAK_PREFIX/share/applications/$DAYBREAK_DESKTOP_ID.desktop"
    # One main category, so that menus list the program once; no remarks at all.
    out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate failed"
    echo "desktop-file-validate: ${out:-no remarks}"
    [[ -z "$out" ]] || fail "desktop-file-validate has remarks"
    grep -qx 'Categories=Science;Astronomy;' "$entry" || fail "categories"
    grep -q '^Comment=.' "$entry" || fail "no comment"
    # What the entry starts and shows must exist in the installed tree.
    exec_cmd=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    [[ -x "$DAYBREAK_PREFIX/bin/$exec_cmd" ]] || fail "Exec=$exec_cmd is not in bin/"
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [[ -f "$DAYBREAK_PREFIX/share/icons/hicolor/scalable/apps/$icon.svg" ]] ||
        fail "Icon=$icon has no scalable icon"
    finish
    ;;

appstream)
    if ! window; then
        echo "SKIP: the window is not built (DAYBREAK_WITH_GUI=OFF), so there is no metainfo"
        exit $SKIP
    fi
    meta="$DAYBREAK_PREFIX/share/metainfo/$DAYBREAK_APP_ID.metainfo.xml"
    out=$(appstreamcli validate --no-net "$meta" 2>&1) || fail "appstreamcli validate"
    echo "$out"
    # The tree check also matches the metainfo with the installed desktop entry.
    out=$(appstreamcli validate-tree --no-net "$DAYBREAK_PREFIX" 2>&1) ||
        fail "appstreamcli validate-tree"
    echo "$out"
    grep -q "<launchable type=\"desktop-id\">$DAYBREAK_DESKTOP_ID.desktop</launchable>" "$meta" ||
        fail "the launchable does not name the installed desktop entry"
    grep -q "<release version=\"$DAYBREAK_VERSION\"" "$meta" || fail "no release $DAYBREAK_VERSION"
    grep -q '<description>' "$meta" || fail "no description"
    grep -q '<project_license>MIT</project_license>' "$meta" || fail "no MIT project licence"
    # Addresses appear only when a packager gave them: none points at a made-up host.
    if grep -nE 'example\.(org|com)|@[A-Z_]+@' "$meta"; then fail "placeholder left in the metainfo"; fi
    finish
    ;;

man)
    warnings="${TMPDIR:-/tmp}/man-warnings.$$"
    for p in $(programs); do
        page="$DAYBREAK_PREFIX/share/man/man1/$p.1.gz"
        if ! text=$(MANWIDTH=80 man --warnings -l "$page" 2>"$warnings"); then
            fail "man -l $page failed"
        fi
        [[ -s "$warnings" ]] && fail "$p.1 renders with warnings: $(cat "$warnings")"
        grep -q "Daybreak $DAYBREAK_VERSION" <<<"$text" || fail "$p.1 does not name $DAYBREAK_VERSION"
        sections="NAME SYNOPSIS DESCRIPTION OPTIONS FILES"
        [[ $p == daybreak-cli ]] && sections="$sections EXIT_STATUS EXAMPLES"
        for section in $sections; do
            grep -q "^${section//_/ }" <<<"$text" || fail "$p.1 has no ${section//_/ } section"
        done
        # The page names where the package puts the data notes.
        grep -q "/usr/share/doc/daybreak/DATA-README.md" <<<"$text" ||
            fail "$p.1 does not name the data notes"
        # `man PROGRAM` finds the page under the prefix's manual path.
        MANPATH="$DAYBREAK_PREFIX/share/man" man -w "$p" >/dev/null 2>&1 ||
            fail "man $p does not find the page under the prefix"
        # The installed page and the installed program's own help name the same options.
        python3 "$DAYBREAK_SOURCE_DIR/tests/packaging/manpage-check.py" \
            "$DAYBREAK_PREFIX/bin/$p" "$page" || fail "$p.1 and $p --help name other options"
    done
    rm -f "$warnings"
    finish
    ;;

icons)
    if ! window; then
        echo "SKIP: the window is not built (DAYBREAK_WITH_GUI=OFF), so there are no icons"
        exit $SKIP
    fi
    command -v convert >/dev/null || fail "ImageMagick's convert is missing (tools/setup-deps.sh)"
    for size in 48 256; do
        png="$DAYBREAK_PREFIX/share/icons/hicolor/${size}x${size}/apps/daybreak.png"
        info=$(file -b "$png")
        [[ "$info" == "PNG image data, $size x $size, 8-bit/color RGBA"* ]] ||
            fail "$size px icon: $info"
        # The drawing fills most of the square (a rounded tile): a blank or shrunken render
        # covers far less of it.
        coverage=$(convert "$png" -alpha extract -format '%[fx:mean]' info: 2>/dev/null)
        awk -v c="${coverage:-0}" 'BEGIN { exit !(c > 0.75) }' ||
            fail "$size px icon covers only ${coverage:-0} of its square"
    done
    svg="$DAYBREAK_PREFIX/share/icons/hicolor/scalable/apps/daybreak.svg"
    cmp -s "$svg" "$DAYBREAK_SOURCE_DIR/res/daybreak.svg" || fail "scalable icon is not res/daybreak.svg"
    finish
    ;;

docs)
    doc="$DAYBREAK_PREFIX/$DOCDIR"
    copyright="$doc/copyright"
    # A machine-readable copyright file: the program under the MIT (Expat) licence, whose
    # text is the LICENSE file's; the place data under its sources' terms.
    expect_eq "copyright format" "$(head -n 1 "$copyright")" \
        "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
    license_text=$(sed -n '/^Permission is hereby/,$p' "$DAYBREAK_SOURCE_DIR/LICENSE")
    # paragraph FIRST-LINE: the copyright file's paragraph that opens with that line.
    paragraph() { awk -v first="$1" 'BEGIN { RS = "" } index($0, first "\n") == 1' "$copyright"; }
    expat=$(paragraph "License: Expat" | sed '1d; s/^ //; s/^\.$//')
    expect_eq "the Expat paragraph" "$expat" "$license_text"
    grep -q '^Copyright (c) 2026 The Daybreak developers$' "$DAYBREAK_SOURCE_DIR/LICENSE" ||
        fail "LICENSE names no copyright holder"
    data=$(paragraph "Files: data/*")
    for holder in GeoNames SimpleMaps "Dav Glass" "Nick Viens" "Dor Technologies"; do
        grep -q "$holder" <<<"$data" || fail "the data's copyright paragraph does not name $holder"
    done
    # Every licence a Files paragraph names has its text in a paragraph of its own.
    for name in $(sed -n 's/^License: //p' "$copyright" | sed 's/ and /\n/g' | sort -u); do
        grep -qx "License: $name" "$copyright" || fail "no text for licence $name"
    done
    # The change log's latest entry is this version.
    changelog=$(scratch)
    zcat "$doc/changelog.gz" >"$changelog/changelog" || fail "changelog.gz is not gzip"
    expect_eq "changelog version" "$(dpkg-parsechangelog -l "$changelog/changelog" -S Version)" \
        "$DAYBREAK_VERSION"
    rm -rf "$changelog"
    cmp -s "$doc/$DAYBREAK_DATA_README" "$DAYBREAK_SOURCE_DIR/data/README.md" ||
        fail "$DOCDIR/$DAYBREAK_DATA_README is not data/README.md"
    cmp -s "$doc/user-guide.md" "$DAYBREAK_SOURCE_DIR/docs/user-guide.md" ||
        fail "$DOCDIR/user-guide.md is not docs/user-guide.md"
    finish
    ;;

completion)
    # Each row: the words typed (the last one is being completed), then the offers expected
    # among the completions ('-' for none at all).
    cases=(
        "--st|--state"
        "--state T|TN TX"
        "--list-zips=R|RI"
        "--format |csv text"
        "--tz America/Chi|America/Chicago"
        "--lat |-"
    )
    cli="$DAYBREAK_PREFIX/bin/daybreak-cli"
    bash_script="$DAYBREAK_PREFIX/share/bash-completion/completions/daybreak-cli"
    zsh_dir="$DAYBREAK_PREFIX/share/zsh/vendor-completions"
    # The completion functions are run as the shells run them, with the words on the line.
    bash_complete() {
        bash --norc -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
            _daybreak_cli; printf "%s\n" "${COMPREPLY[@]}"' _ "$bash_script" "$cli" "$@"
    }
    # Outside a completion widget, compadd and its helpers are stand-ins that print what the
    # function offers.
    zsh_complete() {
        zsh -f -c 'fpath=("$1" $fpath); autoload -Uz _daybreak-cli; shift
            compadd() { local -a l; if [[ $1 == -a ]]; then l=(${(P)2}); else l=("$@"); fi
                print -l -- ${(M)l:#${PREFIX}*}; }
            compset() { PREFIX=${PREFIX#*=}; }
            _call_program() { shift; eval "$@"; }
            words=("$@"); CURRENT=$#; PREFIX=${words[-1]}; _daybreak-cli' _ "$zsh_dir" "$cli" "$@"
    }
    command -v zsh >/dev/null || fail "zsh is missing (tools/setup-deps.sh)"
    for row in "${cases[@]}"; do
        read -r -a typed <<<"${row%%|*}"
        [[ "${row%%|*}" == *" " ]] && typed+=("")
        for shell in bash zsh; do
            [[ $shell == zsh ]] && ! command -v zsh >/dev/null && continue
            # zsh offers the value after "--option=", bash (told '=' is no word break) the
            # whole word: compare the values.
            offers=$(${shell}_complete "${typed[@]}" | sed 's/^--[a-z-]*=//' | sort | tr '\n' ' ')
            for want in ${row#*|}; do
                if [[ $want == - ]]; then
                    [[ -z ${offers// /} ]] || fail "$shell: '${row%%|*}' offers '$offers', expected nothing"
                elif [[ " $offers" != *" $want "* ]]; then
                    fail "$shell: '${row%%|*}' offers '$offers', expected $want among them"
                fi
            done
        done
    done
    finish
    ;;

hardening)
    if [[ "${DAYBREAK_HARDENED:-OFF}" != ON ]]; then
        echo "SKIP: this build does not use the hardening flags (sanitizer, fuzz or" \
            "DAYBREAK_HARDENING=OFF)"
        exit $SKIP
    fi
    # Debian's hardening: PIE, stack protector, fortified calls (optimised builds only),
    # relro and immediate binding. Control-flow protection is not among Debian 12's flags.
    args=(--nocfprotection)
    [[ "${DAYBREAK_OPTIMISED:-OFF}" == ON ]] || args+=(--nofortify)
    for p in $(programs); do
        hardening-check "${args[@]}" "$DAYBREAK_PREFIX/$PKGDIR/$p" || fail "$p lacks hardening"
    done
    finish
    ;;

deb-build)
    rm -rf "$DAYBREAK_DEB_DIR"
    mkdir -p "$DAYBREAK_DEB_DIR"
    (cd "$DAYBREAK_DEB_DIR" && keep_manifest \
        cpack -G DEB --config "$DAYBREAK_BUILD_DIR/CPackConfig.cmake" -B "$DAYBREAK_DEB_DIR") ||
        fail "cpack -G DEB"
    finish
    ;;

deb-contents)
    arch=$(dpkg --print-architecture)
    deb="$DAYBREAK_DEB_DIR/daybreak_${DAYBREAK_VERSION}_${arch}.deb"
    if [[ ! -f "$deb" ]]; then
        fail "no $deb; the directory holds: $(ls "$DAYBREAK_DEB_DIR")"
        finish
    fi
    expect_eq "Package" "$(dpkg-deb -f "$deb" Package)" daybreak
    expect_eq "Version" "$(dpkg-deb -f "$deb" Version)" "$DAYBREAK_VERSION"
    expect_eq "Architecture" "$(dpkg-deb -f "$deb" Architecture)" "$arch"
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "Depends: $depends"
    need="libc6 libstdc++6 libcctz2 tzdata"
    if window; then need="$need libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6"; fi
    names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//' | sort -u)
    for n in $need; do
        grep -qx "$n" <<<"$names" || fail "Depends lacks $n"
    done
    # Run-time libraries only: no development packages, no tools, nothing beyond what links.
    for n in $names; do
        case "$n" in
        libc6 | libgcc-s1 | libstdc++6 | libcctz2 | tzdata | libqt6core6 | libqt6gui6 | libqt6widgets6 | libqt6svg6) ;;
        # Calendar files; the zone map's compressed tables.
        libical3 | zlib1g) ;;
        # A sanitizer build links its run-time libraries, and its unoptimised binaries keep
        # the OpenGL libraries that Qt's link interface names.
        libasan[0-9]* | libubsan[0-9]* | libglx0 | libopengl0 | libqt6opengl6 | libqt6openglwidgets6)
            [[ -n "${DAYBREAK_SANITIZE:-}" ]] || fail "unexpected dependency $n"
            ;;
        *) fail "unexpected dependency $n" ;;
        esac
    done
    # The package holds the installed tree under /usr, links included.
    listing=$(dpkg-deb -c "$deb")
    actual=$(awk '{ print $6 }' <<<"$listing" | grep -v '/$' | sed 's|^\./usr/||' | LC_ALL=C sort)
    if ! diff_out=$(diff <(expected_tree) <(echo "$actual")); then
        fail "package contents differ from the expected tree (< expected, > package):"
        echo "$diff_out"
    fi
    for p in $(programs); do
        grep -q "\./usr/bin/$p -> \.\./$PKGDIR/$p\$" <<<"$listing" ||
            fail "/usr/bin/$p is not a relative link to ../$PKGDIR/$p"
    done
    # Unpacked anywhere, the packaged tool runs and finds its archives.
    unpacked=$(scratch)
    dpkg-deb -x "$deb" "$unpacked"
    check_mission_tx "$unpacked/usr/bin/daybreak-cli"
    rm -rf "$unpacked"
    finish
    ;;

deb-lintian)
    if [[ -n "${DAYBREAK_SANITIZE:-}" ]]; then
        echo "SKIP: a sanitizer build is not hardened, so it is not a package to ship"
        exit $SKIP
    fi
    arch=$(dpkg --print-architecture)
    deb="$DAYBREAK_DEB_DIR/daybreak_${DAYBREAK_VERSION}_${arch}.deb"
    # Info tags are shown (docs/developing.md lists those that stay); errors and warnings fail.
    lintian --display-info --fail-on error,warning "$deb" 2>&1 | grep -v '^N: *$' |
        grep -v 'root privileges'
    ((PIPESTATUS[0] == 0)) || fail "lintian reports errors or warnings"
    finish
    ;;

deb-install)
    # A real installation changes the system: only where that is wanted.
    if [[ "$(id -u)" -ne 0 || "${CI:-}" != true ]]; then
        echo "SKIP: installing the .deb with apt-get needs root and CI=true" \
            "(uid $(id -u), CI='${CI:-}'); the package contents are checked by deb-contents"
        exit $SKIP
    fi
    if dpkg-query -W -f='${Status}' daybreak 2>/dev/null | grep -q 'install ok installed'; then
        echo "SKIP: a daybreak package is already installed on this system; not replacing it"
        exit $SKIP
    fi
    arch=$(dpkg --print-architecture)
    deb="$DAYBREAK_DEB_DIR/daybreak_${DAYBREAK_VERSION}_${arch}.deb"
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y -q "$deb" || fail "apt-get install $deb"
    check_mission_tx "$(command -v daybreak-cli || echo /usr/bin/daybreak-cli)"
    expect_eq "daybreak-cli on the path" "$(command -v daybreak-cli)" /usr/bin/daybreak-cli
    for p in $(programs); do check_version "/usr/bin/$p"; done
    for p in $(programs); do man -w "$p" >/dev/null 2>&1 || fail "man $p finds no page"; done
    [[ -s /usr/share/doc/daybreak/copyright ]] || fail "no /usr/share/doc/daybreak/copyright"
    apt-get remove -y -q --purge daybreak || fail "apt-get remove daybreak"
    [[ ! -e /usr/lib/daybreak && ! -e /usr/bin/daybreak-cli ]] ||
        fail "files left behind after removal"
    finish
    ;;

release-config)
    # `make bench` switches the benchmarks on in the release tree; the release and package
    # targets configure with the preset alone, which must switch them off again.
    tree=$(mktemp -d) || exit 1
    trap 'rm -rf "$tree"' EXIT
    cd "$DAYBREAK_SOURCE_DIR" || exit 1
    cmake --preset release -B "$tree" -DDAYBREAK_BUILD_BENCH=ON >/dev/null ||
        fail "configure with the benchmarks"
    if ! grep -q 'daybreak_bench_' "$tree/build.ninja"; then
        echo "SKIP: the benchmarks cannot be built here (no Google Benchmark)"
        exit $SKIP
    fi
    cmake --preset release -B "$tree" >/dev/null || fail "configure as the release target does"
    ! grep -q 'daybreak_bench_' "$tree/build.ninja" ||
        fail "the release preset leaves the benchmarks of an earlier configure on"
    finish
    ;;

*)
    echo "usage: $0 install|tree|links|run|desktop|appstream|man|icons|docs|completion|hardening" \
        "|deb-build|deb-contents|deb-lintian|deb-install|release-config"
    exit 2
    ;;
esac
