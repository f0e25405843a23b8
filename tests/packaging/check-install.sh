#!/bin/bash
# Installs the build tree into a scratch prefix and checks what the desktop needs:
# the program and its private libraries (and that the program finds them there),
# the desktop entry and the saved-game MIME type (a game the installed program
# saves is recognised as that type), the icons at every size, the AppStream
# metainfo and the man page, run through desktop-file-validate,
# update-mime-database, appstreamcli and man.
# Usage: check-install.sh BUILD APP_ID GAMESDIR PRIVATE_LIBDIR DATADIR MANDIR MIME_PROBE MIME_TYPE
set -u
build=$1 id=$2 bindir=$3 libdir=$4 datadir=$5 mandir=$6 probe=$7 mimetype=$8

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
if ! cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1; then
    cat "$tmp/install.log"
    echo "FAIL: cmake --install"
    exit 1
fi

need_file() {  # need_file PATH [what]
    if [ -f "$prefix/$1" ]; then ok "$1"; else fail "missing $1"; fi
}

# --- Program and libraries --------------------------------------------------
app=$prefix/$bindir/VeskApp
if [ -x "$app" ]; then ok "$bindir/VeskApp is executable"; else fail "no executable $bindir/VeskApp"; fi
for lib in libVeskDll libVeskDllUi; do
    # Private: the file the program is linked against, and no development link.
    sofile=$(ls "$prefix/$libdir/$lib.so".* 2>/dev/null | head -1)
    soname=$(readelf -d "$sofile" 2>/dev/null | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
    if [ -n "$soname" ] && [ -e "$prefix/$libdir/$soname" ]; then ok "$lib soname $soname installed"
    else fail "$lib: soname '$soname' not installed in $libdir"; fi
    [ ! -e "$prefix/$libdir/$lib.so" ] && ok "no $lib.so development link" || fail "$libdir/$lib.so installed"
done

# $ORIGIN for an install moved elsewhere, and the absolute folder that the
# capability's secure-execution mode honours.
runpath=$(readelf -d "$app" 2>/dev/null | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
rel=$(realpath -m --relative-to="/x/$bindir" "/x/$libdir")
case ":$runpath:" in
    *":\$ORIGIN/$rel:"*) ok "RUNPATH $runpath" ;;
    *) fail "VeskApp RUNPATH '$runpath' lacks \$ORIGIN/$rel" ;;
esac
grep -qE "(^|:)/[^:]*/$libdir(:|$)" <<<"$runpath" && ok "RUNPATH has an absolute $libdir" \
    || fail "VeskApp RUNPATH '$runpath' has no absolute .../$libdir"
# No path back into the build tree may be left.
for f in "$app" "$prefix/$libdir"/libVesk*.so.*; do
    if readelf -d "$f" | grep -E 'R(UN)?PATH' | grep -qF "$build"; then fail "$f still points into the build tree"; fi
done
# The installed program and library resolve the installed libraries, not the build's.
for f in "$app" "$(ls "$prefix/$libdir"/libVeskDllUi.so.* | head -1)"; do
    for r in $(env -u LD_LIBRARY_PATH ldd "$f" | awk '/libVesk/ {print $1 "=" $3}'); do
        case "$(readlink -f "${r#*=}")" in
            "$(readlink -f "$prefix")"/*) ok "$(basename "$f") loads ${r%%=*} from the install" ;;
            *) fail "$(basename "$f") loads ${r%%=*} from '${r#*=}', outside the install" ;;
        esac
    done
done
if help=$(env -u LD_LIBRARY_PATH "$app" --help 2>&1); then ok "installed VeskApp --help runs"
else fail "installed VeskApp --help: $help"; fi

# The German catalogue, where the installed program looks for it.
need_file "$datadir/vesk/translations/vesk_de.qm"

# --- Desktop entry ------------------------------------------------------------
desktop=$datadir/applications/$id.desktop
need_file "$desktop"
if [ -f "$prefix/$desktop" ]; then
    grep -qx "Icon=$id" "$prefix/$desktop" || fail "desktop entry's Icon is not $id"
    exec_line=$(sed -n 's/^Exec=//p' "$prefix/$desktop")
    [ "$exec_line" = "VeskApp %f" ] && ok "Exec=$exec_line" || fail "desktop entry runs '$exec_line', not 'VeskApp %f'"
    grep -qE "^MimeType=(.*;)?$mimetype;" "$prefix/$desktop" && ok "desktop entry opens $mimetype" \
        || fail "desktop entry's MimeType lacks $mimetype"
    if command -v desktop-file-validate >/dev/null; then
        if out=$(desktop-file-validate "$prefix/$desktop" 2>&1) && [ -z "$out" ]; then ok "desktop-file-validate"
        else fail "desktop-file-validate: $out"; fi
    else
        echo "SKIP: desktop-file-validate not installed (Debian package desktop-file-utils)"
    fi
fi

# --- Saved-game MIME type ---------------------------------------------------------
mimexml=$datadir/mime/packages/$id.xml
need_file "$mimexml"
if ! command -v update-mime-database >/dev/null; then
    echo "SKIP: update-mime-database not installed (Debian package shared-mime-info)"
elif [ -f "$prefix/$mimexml" ]; then
    if out=$(update-mime-database -V "$prefix/$datadir/mime" 2>&1) && ! grep -qi "warning\|error" <<<"$out"
    then ok "update-mime-database"
    else fail "update-mime-database: $out"; fi
    # A game saved by the installed program, under its own name and renamed
    # (found by its opening bytes), on a port of its own and loopback only.
    mkdir -p "$tmp/run" "$tmp/config" && chmod 700 "$tmp/run"
    port=$((30000 + RANDOM % 20000))
    env -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$tmp/run" \
        XDG_CONFIG_HOME="$tmp/config" VESK_BROADCAST=127.255.255.255 \
        timeout 120 "$app" --port "$port" --name Mim --deal --seat 1 --partner 2 --partner 3 \
        --partner 4 --start --autoplay --pace 0 --trace --save-after-cards 4 "$tmp/saved.vsk" \
        >/dev/null 2>"$tmp/trace.log" &
    player=$!
    for _ in $(seq 600); do
        grep -q '^vesk-trace: [0-9]* saved' "$tmp/trace.log" && break
        kill -0 "$player" 2>/dev/null || break
        sleep 0.2
    done
    kill "$player" 2>/dev/null; wait "$player" 2>/dev/null
    if [ -s "$tmp/saved.vsk" ]; then
        cp "$tmp/saved.vsk" "$tmp/saved-game"
        # A DER certificate also opens with two sequences, but not with field 2.
        printf '\x30\x82\x01\x0a\x30\x82\x00\xf0\xa0\x03\x02\x01\x02' >"$tmp/other"
        types=$(env XDG_DATA_HOME="$tmp/nodata" XDG_DATA_DIRS="$prefix/$datadir:/usr/share" \
            "$probe" "$tmp/saved.vsk" "$tmp/saved-game" "$tmp/other" | tr '\n' ' ')
        read -r byname bycontent other <<<"$types"
        [ "$byname $bycontent" = "$mimetype $mimetype" ] \
            && ok "a saved game is $mimetype, by name and by content" \
            || fail "saved game and renamed copy recognised as: $byname $bycontent"
        [ "$other" != "$mimetype" ] && ok "a certificate-like file is $other" \
            || fail "a file that is no saved game is taken for one"
    else
        fail "the installed program saved no game: $(tail -5 "$tmp/trace.log")"
    fi
fi

# --- Icons ------------------------------------------------------------------
png_size() {  # width x height from the PNG header
    local hex
    hex=$(od -An -tx1 -j16 -N8 "$1" | tr -d ' \n')
    echo "$((16#${hex:0:8}))x$((16#${hex:8:8}))"
}
for size in 16 24 32 48 64 128 256; do
    icon=$datadir/icons/hicolor/${size}x${size}/apps/$id.png
    if [ ! -f "$prefix/$icon" ]; then fail "missing $icon"; continue; fi
    magic=$(od -An -tx1 -N8 "$prefix/$icon" | tr -d ' \n')
    [ "$magic" = 89504e470d0a1a0a ] || { fail "$icon is not a PNG"; continue; }
    got=$(png_size "$prefix/$icon")
    if [ "$got" = "${size}x${size}" ]; then ok "$icon is $got"; else fail "$icon is $got"; fi
done
# Icons differ by size: each one is drawn for its size, not one picture copied.
sums=$(for size in 16 24 32 48 64 128 256; do
    md5sum <"$prefix/$datadir/icons/hicolor/${size}x${size}/apps/$id.png" 2>/dev/null; done | sort -u | wc -l)
[ "$sums" = 7 ] || fail "icons are not seven different pictures ($sums)"

# --- AppStream metainfo -----------------------------------------------------------
metainfo=$datadir/metainfo/$id.metainfo.xml
need_file "$metainfo"
if [ -f "$prefix/$metainfo" ]; then
    grep -q "<id>$id</id>" "$prefix/$metainfo" || fail "metainfo id is not $id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/$metainfo" \
        || fail "metainfo does not launch $id.desktop"
    if command -v appstreamcli >/dev/null; then
        if out=$(appstreamcli validate --no-net "$prefix/$metainfo" 2>&1); then ok "appstreamcli validate: $(echo "$out" | tail -1)"
        else fail "appstreamcli validate: $out"; fi
        # The whole tree as the package lays it out: launchable, icons, binary.
        if [ "$datadir" = share ]; then
            mkdir -p "$tmp/root" && ln -s "$prefix" "$tmp/root/usr"
            if out=$(appstreamcli validate-tree --no-net "$tmp/root" 2>&1); then ok "appstreamcli validate-tree"
            else fail "appstreamcli validate-tree: $out"; fi
        fi
    else
        echo "SKIP: appstreamcli not installed (Debian package appstream)"
    fi
fi

# --- Man page -----------------------------------------------------------------
need_file "$datadir/doc/vesk/copyright"
man=$mandir/man6/VeskApp.6.gz
need_file "$man"
if [ -f "$prefix/$man" ]; then
    if command -v man >/dev/null; then
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$prefix/$man" 2>&1 >/dev/null)
        [ -z "$warnings" ] && ok "man page renders cleanly" || fail "man page warnings: $warnings"
        text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -E UTF-8 -l "$prefix/$man" 2>/dev/null | col -b)
        # Hyphens may come out as Unicode minus or hyphen signs.
        text=$(printf '%s' "$text" | sed 's/\xe2\x80\x90/-/g; s/\xe2\x88\x92/-/g')
    else
        echo "note: man not installed; reading the page's source"
        text=$(gzip -dc "$prefix/$man" | sed 's/\\-/-/g')
    fi
    grep -q '^ *VeskApp' <<<"$text" || grep -q 'VeskApp' <<<"$text" || fail "man page never names VeskApp"
    # Every option --help prints, each one named in the page's text.
    options=$(grep -oE '(^|[[:space:],])--?[a-zA-Z][a-zA-Z0-9-]*' <<<"$help" | grep -oE -- '--?[a-zA-Z][a-zA-Z0-9-]*' | sort -u)
    [ -n "$options" ] || fail "VeskApp --help names no options"
    for opt in $options; do
        if grep -qE -- "(^|[^a-zA-Z0-9-])$opt([^a-zA-Z0-9-]|$)" <<<"$text"; then ok "man page names $opt"
        else fail "man page does not name $opt (printed by VeskApp --help)"; fi
    done
    # And every environment variable --help names.
    for var in $(grep -oE '\bVESK_[A-Z_]+' <<<"$help" | sort -u); do
        grep -q "$var" <<<"$text" && ok "man page names $var" || fail "man page does not name $var"
    done
fi

echo "$failures failure(s)"
[ "$failures" = 0 ]
