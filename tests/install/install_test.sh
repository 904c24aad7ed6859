#!/usr/bin/env bash
# install_test.sh BUILD_DIR SOURCE_DIR installed|portable
#   installed: installs into a temporary DESTDIR, checks the tree, validates
#              the desktop and metainfo files (when the validators are
#              there), starts the installed program against a fresh
#              XDG_DATA_HOME and checks that it made the database there from
#              the shipped history, kept its options file in the user's
#              configuration folder and left the install tree untouched.
#   portable:  the build folder's program uses the database beside it,
#              writes nothing into the user's data folder and keeps its
#              options file in the working folder.
set -euo pipefail
build=$1 source=$2 mode=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts a program offscreen until its first paint, from an empty working
# folder, with its own data and home folders. A program that shows a
# message instead never paints: it is stopped after a while.
start() {
    mkdir -p "$tmp/work" "$tmp/home"
    (cd "$tmp/work" && env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
        XDG_DATA_HOME="$tmp/xdg" HOME="$tmp/home" timeout 120 "$1" --quit-after-first-paint) ||
        fail "$1 ended with $?"
}
latest() { "$1" check "$2" | sed -n 's/.*latestDrawNumber): //p'; }
shippedLatest=$(tail -n 1 "$source/data/draws.csv" | cut -d, -f1)

case $mode in
installed)
    dest=$tmp/dest
    DESTDIR=$dest cmake --install "$build" --prefix /usr >/dev/null
    id=jp.rumone.Rumone
    expected=(
        bin/rumone bin/rumone-db bin/rumone-griddump bin/rumone-backtest bin/rumone-chance
        lib/rumone/modules/rumone-charts.so
        share/rumone/draws.csv share/rumone/ルモーネ.chm
        share/applications/$id.desktop share/metainfo/$id.metainfo.xml
        share/icons/hicolor/{16x16,32x32,64x64,256x256}/apps/rumone.png
        share/man/man1/{rumone,rumone-db,rumone-griddump,rumone-backtest,rumone-chance}.1.gz
        share/doc/rumone/copyright share/doc/rumone/changelog.gz
    )
    diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$dest/usr" && find . -type f | sed 's|^\./||' | sort) ||
        fail "the installed files differ from the list (< expected, > installed)"
    cmp -s "$source/data/draws.csv" "$dest/usr/share/rumone/draws.csv" || fail "the shipped history differs"
    # Qt Charts comes with the charts module, opened on first use, never with the program's start.
    if command -v readelf >/dev/null; then
        ! readelf -d "$dest/usr/bin/rumone" | grep -q 'libQt6Charts' || fail "the program itself links Qt Charts"
        readelf -d "$dest/usr/lib/rumone/modules/rumone-charts.so" | grep -q 'libQt6Charts' || fail "the charts module lacks Qt Charts"
    fi
    for page in "$dest"/usr/share/man/man1/*.gz; do
        gzip -t "$page" || fail "$page is no gzip file"
    done
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$dest/usr/share/applications/$id.desktop" || fail "desktop-file-validate"
    else
        echo "desktop-file-validate is not installed: the desktop file is not validated"
    fi
    if command -v appstreamcli >/dev/null; then
        appstreamcli validate --no-net "$dest/usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
    else
        echo "appstreamcli is not installed: the metainfo file is not validated"
    fi

    before=$(cd "$dest" && find . -exec stat -c '%n %s %Y %a' {} + | sort)
    start "$dest/usr/bin/rumone"
    db=$tmp/xdg/rumone/Rumone.mdb
    [ -f "$db" ] || fail "no database in the user's data folder"
    [ "$(latest "$dest/usr/bin/rumone-db" "$db")" = "$shippedLatest" ] || fail "the database is not the shipped history"
    [ "$(stat -c %a "$tmp/xdg/rumone")" = 700 ] || fail "the data folder is not private"
    after=$(cd "$dest" && find . -exec stat -c '%n %s %Y %a' {} + | sort)
    [ "$before" = "$after" ] || fail "the install tree changed: $(diff <(echo "$before") <(echo "$after"))"
    # The options file is kept in the configuration folder, not the working folder.
    ini=$tmp/home/.config/rumone/ルモーネ.ini
    [ -f "$ini" ] || fail "no options file in the user's configuration folder"
    [ -z "$(ls "$tmp/work")" ] || fail "the working folder holds files: $(ls "$tmp/work")"
    # A second start uses the database made by the first, and moves an
    # options file left in the working folder by an earlier start.
    mv "$ini" "$tmp/work/"
    stamp=$(stat -c %Y%s "$db")
    start "$dest/usr/bin/rumone"
    [ "$(stat -c %Y%s "$db")" = "$stamp" ] || fail "the second start made the database again"
    [ -f "$ini" ] && [ -z "$(ls "$tmp/work")" ] || fail "the working folder's options file was not moved"
    ;;
portable)
    [ -f "$build/bin/Rumone.mdb" ] || fail "the build made no database beside the program"
    start "$build/bin/rumone"
    [ ! -e "$tmp/xdg" ] || fail "the build folder's program wrote into the user's data folder: $(find "$tmp/xdg")"
    [ "$(ls "$tmp/work")" = "ルモーネ.ini" ] || fail "the working folder holds more than the options file: $(ls "$tmp/work")"
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac
echo "ok"
