#!/bin/bash
# Builds the Debian package as packaging/build-deb.sh does (its own tree, with
# Debian's build flags) and checks it: lintian shows no error and no warning,
# its declared dependencies, its contents, that the private libraries are
# found through an absolute RUNPATH (the capability's secure-execution mode
# ignores $ORIGIN), that nothing runs ldconfig, and what its postinst does with
# and without setcap.
# Usage: check-deb.sh DEB_BUILD_DIR SOURCE_DIR APP_ID
set -u
debbuild=$1 src=$2 id=$3

for tool in cpack dpkg-deb dpkg-shlibdeps dpkg-buildflags lintian; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool not installed (Debian packages dpkg-dev, cmake, lintian)"
        exit 77
    fi
done

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
launcher=
command -v ccache >/dev/null && launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
if ! BUILD_DIR=$debbuild JOBS=${JOBS:-2} CMAKE_ARGS=$launcher \
        bash "$src/packaging/build-deb.sh" >"$tmp/build.log" 2>&1; then
    tail -40 "$tmp/build.log"
    echo "FAIL: packaging/build-deb.sh"
    exit 1
fi
debs=("$debbuild"/*.deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: expected one .deb, got: ${debs[*]}"; exit 1; }
deb=${debs[0]}
ok "built $(basename "$deb")"
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)
bindir=games
libdir=lib/$multiarch/vesk
datadir=share
mandir=share/man

# --- lintian ----------------------------------------------------------------------
# Pedantic, with informational tags shown; only errors and warnings fail.
lintian --pedantic --info --display-info "$deb" >"$tmp/lintian.log" 2>&1
sed 's/^/lintian: /' "$tmp/lintian.log"
if grep -qE '^[EW]: ' "$tmp/lintian.log"; then fail "lintian reports errors or warnings"
else ok "lintian: no error, no warning"; fi

# --- Control fields -------------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = vesk ] && ok "Package: vesk" || fail "Package is '$(field Package)'"
[ "$(field Section)" = games ] && ok "Section: games" || fail "Section is '$(field Section)'"
depends=$(field Depends)
echo "Depends: $depends"
for dep in libc6 libstdc++6 qt6-qpa-plugins; do
    sed 's/ *([^)]*)//g; s/, */\n/g; s/ *| */\n/g' <<<"$depends" | grep -qxF -- "$dep" && ok "depends on $dep" || fail "Depends lacks $dep"
done
# The libraries' own needs, found by dpkg-shlibdeps rather than written by hand.
grep -q 'libqt6widgets6 (>=' <<<"$depends" && ok "versioned Qt dependency from dpkg-shlibdeps" \
    || fail "Depends lacks a versioned libqt6widgets6 (shlibdeps)"
deps_pre=$(field Pre-Depends)$(field Recommends)$depends
grep -q libcap2-bin <<<"$deps_pre" && ok "libcap2-bin declared" || fail "libcap2-bin neither recommended nor required"
# The feedback mail goes through the desktop's URL handler, not xdg-email.
! grep -q xdg-utils <<<"$deps_pre" && ok "no xdg-utils needed" || fail "xdg-utils still declared"

# --- Contents -------------------------------------------------------------------
mkdir -p "$tmp/root" "$tmp/control"
dpkg-deb -x "$deb" "$tmp/root"
dpkg-deb -e "$deb" "$tmp/control"
root=$tmp/root
[ -x "$root/usr/$bindir/VeskApp" ] && ok "/usr/$bindir/VeskApp" || fail "no /usr/$bindir/VeskApp"
for f in "$datadir/applications/$id.desktop" "$datadir/metainfo/$id.metainfo.xml" "$mandir/man6/VeskApp.6.gz" "$datadir/doc/vesk/copyright"; do
    [ -f "$root/usr/$f" ] && ok "/usr/$f" || fail "no /usr/$f"
done
for size in 16 24 32 48 64 128 256; do
    f=$datadir/icons/hicolor/${size}x${size}/apps/$id.png
    [ -f "$root/usr/$f" ] || fail "no /usr/$f"
done

# Every library VeskApp needs from this package is in its private folder, and
# that folder is an absolute RUNPATH entry of the program, which the loader
# honours even for a program with a file capability.
trusted=" "
runpath=$(readelf -d "$root/usr/$bindir/VeskApp" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
for dir in ${runpath//:/ }; do
    case $dir in /*) trusted+="$dir " ;; esac
done
for needed in $(readelf -d "$root/usr/$bindir/VeskApp" "$root"/usr/"$libdir"/libVesk*.so.* 2>/dev/null \
        | sed -n 's/.*(NEEDED).*\[\(libVesk.*\)\]/\1/p' | sort -u); do
    found=$(cd "$root" && find . -name "$needed" | sed 's/^\.//' | head -1)
    if [ -z "$found" ]; then fail "$needed is not in the package"; continue; fi
    [ "$(dirname "$found")" = "/usr/$libdir" ] || fail "$needed in $(dirname "$found"), not in /usr/$libdir"
    case "$trusted" in
        *" $(dirname "$found") "*) ok "$needed in $(dirname "$found"), found without \$ORIGIN" ;;
        *) fail "$needed in $(dirname "$found"): not found by a program with a file capability" ;;
    esac
done
# Private libraries need no loader cache: nothing may run ldconfig.
if grep -qs ldconfig "$tmp/control/triggers" "$tmp/control/postinst" "$tmp/control/postrm"; then
    fail "a maintainer script or trigger runs ldconfig"
else ok "no ldconfig"; fi
[ ! -e "$tmp/control/shlibs" ] && ok "no shlibs file for private libraries" || fail "shlibs file shipped"
for f in "$datadir/mime/packages/$id.xml" "$datadir/doc/vesk/changelog.gz"; do
    [ -f "$root/usr/$f" ] && ok "/usr/$f" || fail "no /usr/$f"
done

# --- postinst -------------------------------------------------------------------
post=$tmp/control/postinst
if [ ! -x "$post" ]; then
    fail "no executable postinst"
else
    sh -n "$post" && ok "postinst parses" || fail "postinst has a syntax error"
    # A stand-in setcap records how it is called.
    mkdir -p "$tmp/fake"
    cat >"$tmp/fake/setcap" <<FAKE
#!/bin/sh
echo "\$@" >>"$tmp/setcap.calls"
FAKE
    chmod +x "$tmp/fake/setcap"
    PATH=$tmp/fake:/usr/bin:/bin sh "$post" configure >"$tmp/post.out" 2>&1
    rc=$?
    calls=$(cat "$tmp/setcap.calls" 2>/dev/null)
    [ $rc = 0 ] && ok "postinst configure exits 0" || fail "postinst configure exits $rc"
    [ "$calls" = "cap_net_bind_service=+ep /usr/$bindir/VeskApp" ] \
        && ok "postinst runs setcap $calls" || fail "postinst ran setcap with '$calls'"
    # A failing setcap (a file system without extended attributes) must not fail the install.
    printf '#!/bin/sh\nexit 1\n' >"$tmp/fake/setcap"
    PATH=$tmp/fake:/usr/bin:/bin sh "$post" configure >"$tmp/post.out" 2>&1 \
        && ok "postinst survives a failing setcap" || fail "postinst fails when setcap fails"
    grep -q -- "--port" "$tmp/post.out" && ok "postinst points to --port" || fail "postinst gives no way out: $(cat "$tmp/post.out")"
    # Without setcap at all.
    rm "$tmp/fake/setcap"; mkdir -p "$tmp/bin"
    for t in sh echo; do ln -s "$(command -v $t)" "$tmp/bin/$t"; done
    PATH=$tmp/bin sh "$post" configure >"$tmp/post.out" 2>&1 \
        && ok "postinst survives a missing setcap" || fail "postinst fails without setcap: $(cat "$tmp/post.out")"
    # Other calls (upgrade failures, aborts) leave the file alone.
    : >"$tmp/setcap.calls"
    printf '#!/bin/sh\necho "$@" >>%s\n' "$tmp/setcap.calls" >"$tmp/fake/setcap"; chmod +x "$tmp/fake/setcap"
    PATH=$tmp/fake:/usr/bin:/bin sh "$post" abort-upgrade 1.0 >/dev/null 2>&1
    [ ! -s "$tmp/setcap.calls" ] && ok "postinst abort-upgrade does nothing" || fail "postinst abort-upgrade ran setcap"
fi

echo "$failures failure(s)"
[ "$failures" = 0 ]
