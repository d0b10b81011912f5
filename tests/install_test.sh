#!/bin/sh
# An installation as a user meets it: `cmake --install` into a scratch
# DESTDIR, then the installed skarnctl on the virtual mouse, run as a normal
# user (nobody, when this runs as root) with a scratch HOME.
#
# Usage: install_test.sh BUILD_DIR
#
# The first start seeds ~/.local/share/skarn-config/modules/ from the
# installed copy; a change lands there; the installed files stay as they
# were; a second start keeps the user's files. The installation holds the
# udev rule (with uaccess), the menu and autostart entries, the metadata, the
# icons, the manual pages and the completion.
set -eu
build="$1"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
root="$scratch/root"

fail() { echo "FAILED: $*" >&2; exit 1; }

DESTDIR="$root" cmake --install "$build" >"$scratch/install.log" || { cat "$scratch/install.log"; fail "cmake --install"; }
ctl="$(find "$root" -path '*/bin/skarnctl' -type f | head -n 1)"
[ -x "$ctl" ] || fail "no installed skarnctl"
prefix="$(dirname "$(dirname "$ctl")")"
[ -x "$prefix/bin/skarn-config" ] || fail "no installed skarn-config"
shipped="$prefix/share/skarn-config/modules"
[ -f "$shipped/setting/apConfig.bin" ] || fail "no shipped data in $shipped"
[ ! -e "$shipped/qml" ] || fail "the QML is compiled in and not installed"
[ ! -e "$prefix/bin/modules" ] || fail "a modules/ beside the installed executables"

rule="$(find "$root" -path '*/udev/rules.d/70-skarn-config.rules' | head -n 1)"
[ -n "$rule" ] || fail "no udev rule"
grep -q 'SUBSYSTEM=="hidraw", ATTRS{idVendor}=="04d9", ATTRS{idProduct}=="a1ee", TAG+="uaccess"' "$rule" ||
    fail "the udev rule does not give the shipped mouse to the seat: $(cat "$rule")"
autostart="$(find "$root" -path '*/xdg/autostart/skarn-config.desktop' | head -n 1)"
[ -n "$autostart" ] || fail "no autostart entry"
grep -qx 'Exec=skarn-config --hidden' "$autostart" || fail "the autostart entry does not start hidden"
for f in share/applications/org.talvorn.SkarnConfig.desktop share/metainfo/org.talvorn.SkarnConfig.metainfo.xml \
    share/icons/hicolor/scalable/apps/skarn-config.svg share/icons/hicolor/16x16/apps/skarn-config.png \
    share/icons/hicolor/256x256/apps/skarn-config.png share/man/man1/skarn-config.1.gz share/man/man1/skarnctl.1.gz \
    share/bash-completion/completions/skarnctl share/doc/skarn-config/copyright share/doc/skarn-config/changelog.gz; do
    [ -s "$prefix/$f" ] || fail "no $f"
done

# The user: nobody when we are root, so that the installed files could not be
# written even by mistake; else ourselves.
home="$scratch/home"
mkdir -p "$home"
as_nobody=0
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
    as_nobody=1
fi
as_user() {
    if [ $as_nobody = 1 ]; then
        chown -R 65534:65534 "$home"
        setpriv --reuid=65534 --regid=65534 --clear-groups env -i HOME="$home" PATH="$PATH" \
            XDG_RUNTIME_DIR="$home" "$@"
    else
        env -i HOME="$home" PATH="$PATH" XDG_RUNTIME_DIR="$home" "$@"
    fi
}
sums() { (cd "$shipped" && find . -type f -exec md5sum {} + | sort; ls -lR .) ; }
before="$(sums)"

user="$home/.local/share/skarn-config/modules"
out="$(as_user "$ctl" --virtual-mouse call getGlobalData common/name 2>"$scratch/err1")" ||
    { cat "$scratch/err1"; fail "first start"; }
[ "$out" = '"TALVORN SKARN MOUSE R410"' ] || fail "first start read $out"
cmp -s "$shipped/setting/apConfig.bin" "$user/setting/apConfig.bin" || fail "the first start did not seed $user"
if [ $as_nobody = 1 ] && [ "$(stat -c %u "$user/setting/apConfig.bin")" != 65534 ]; then
    fail "the seeded files are not the user's"
fi
[ "$(cd "$shipped" && find . -type f | sort)" = "$(cd "$user" && find . -type f | sort)" ] ||
    fail "the seeded folder differs from the installed one"

printf '%s\n' '["setCurrentProfile", 0]' '["setData", "mouse/reportRate", 2]' '["getData", "mouse/reportRate", false]' |
    as_user "$ctl" --virtual-mouse run >"$scratch/out2" 2>"$scratch/err2" || { cat "$scratch/err2"; fail "setData"; }
grep -q '^reportRate=2' "$user/setting/p1.bin" || fail "setData did not land in $user/setting/p1.bin"
[ "$(sums)" = "$before" ] || fail "the installed files changed"

# A second start keeps what the user has, and brings back what is missing.
echo "; mine" >>"$user/setting/name.bin"
rm "$user/gun/gunData.bin"
as_user "$ctl" --virtual-mouse call getGlobalData common/name >/dev/null 2>"$scratch/err3" ||
    { cat "$scratch/err3"; fail "second start"; }
tail -n 1 "$user/setting/name.bin" | grep -qx '; mine' || fail "the second start replaced the user's name.bin"
grep -q '^reportRate=2' "$user/setting/p1.bin" || fail "the second start replaced the user's p1.bin"
cmp -s "$shipped/gun/gunData.bin" "$user/gun/gunData.bin" || fail "a missing file was not copied again"
[ "$(sums)" = "$before" ] || fail "the installed files changed"
echo "install ok"
