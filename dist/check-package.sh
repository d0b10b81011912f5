#!/bin/sh
# Checks a built package: its control data and contents (dpkg-deb), the
# AppStream metadata (appstreamcli validate), the menu entries
# (desktop-file-validate, when installed) and lintian, which must report no
# errors. Prints what each tool said.
#
# Usage: dist/check-package.sh PACKAGE.deb
set -eu
deb="$1"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
fail() { echo "check-package: FAILED: $*" >&2; exit 1; }

dpkg-deb --info "$deb" >"$scratch/info"
sed 's/^/  /' "$scratch/info"
grep -q '^ Package: skarn-config$' "$scratch/info" || fail "not the skarn-config package"
# The libraries found by dpkg-shlibdeps, and what Qt loads at run time.
for dep in libc6 libqt6core6 libhidapi-hidraw0 qt6-qpa-plugins qml6-module-qtquick libqt6svg6; do
    grep '^ Depends:' "$scratch/info" | grep -q "$dep" || fail "no dependency on $dep"
done
for script in postinst postrm conffiles md5sums; do
    grep -q "^ *[0-9]* bytes, *[0-9]* lines *\*\? *$script" "$scratch/info" || fail "no $script"
done

dpkg-deb --contents "$deb" >"$scratch/contents"
for path in ./usr/bin/skarn-config ./usr/bin/skarnctl ./usr/share/skarn-config/modules/setting/apConfig.bin \
    ./usr/share/skarn-config/modules/img/logo.ico \
    ./usr/share/applications/org.talvorn.SkarnConfig.desktop ./etc/xdg/autostart/skarn-config.desktop \
    ./usr/share/metainfo/org.talvorn.SkarnConfig.metainfo.xml ./usr/share/icons/hicolor/scalable/apps/skarn-config.svg \
    ./usr/share/icons/hicolor/48x48/apps/skarn-config.png ./usr/share/man/man1/skarn-config.1.gz \
    ./usr/share/man/man1/skarnctl.1.gz ./usr/share/bash-completion/completions/skarnctl \
    ./usr/share/doc/skarn-config/copyright ./usr/share/doc/skarn-config/changelog.gz; do
    grep -q " $path\$" "$scratch/contents" || fail "the package has no $path"
done
# The udev rule goes where udev's pkg-config file says (/lib/udev on Debian 12,
# /usr/lib/udev on later releases and when udev is not installed); udev reads
# both.
rule="$(sed -n 's|.* \.\(\(/usr\)\?/lib/udev/rules\.d/70-skarn-config\.rules\)$|\1|p' "$scratch/contents")"
[ "$(printf '%s\n' "$rule" | grep -c .)" = 1 ] || fail "the package has not one udev rule in a udev folder: ${rule:-none}"
if grep -q ' \./usr/share/skarn-config/modules/qml' "$scratch/contents"; then
    fail "the package holds the QML sources"
fi
echo "check-package: $(wc -l <"$scratch/contents") entries, every expected path present"

dpkg-deb -x "$deb" "$scratch/root"
grep -q 'TAG+="uaccess"' "$scratch/root$rule" || fail "the udev rule lacks uaccess"
grep -q '^License: GPL-3+$' "$scratch/root/usr/share/doc/skarn-config/copyright" ||
    fail "the copyright file does not name the GPL-3+"
grep -q '<project_license>GPL-3.0-or-later</project_license>' \
    "$scratch/root/usr/share/metainfo/org.talvorn.SkarnConfig.metainfo.xml" || fail "the metadata has no project licence"
appstreamcli validate --no-net --pedantic "$scratch/root/usr/share/metainfo/org.talvorn.SkarnConfig.metainfo.xml" ||
    fail "appstreamcli validate"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$scratch/root/usr/share/applications/org.talvorn.SkarnConfig.desktop" \
        "$scratch/root/etc/xdg/autostart/skarn-config.desktop" || fail "desktop-file-validate"
fi
if command -v lintian >/dev/null; then
    # Errors fail; warnings and notes are shown.
    lintian --fail-on error --info "$deb" || fail "lintian reports errors"
    echo "check-package: lintian reports no errors"
else
    echo "check-package: lintian is not installed; skipped"
fi
