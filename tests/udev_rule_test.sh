#!/bin/sh
# tools/udev-rule: one rule per distinct vendor/product pair of the entries
# 0 .. deviceCount - 1, ids normalised to four lower-case hex digits.
set -eu
tool="$1"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
cat >"$dir/apConfig.bin" <<'INI'
[common]
deviceCount=3
name=Test
[0]
type=0
vid=1A2C
pid=0x2d
[1]
vid=04d9
pid=a1ee
[2]
vid=04d9
pid=a1ee
[3]
vid=ffff
pid=ffff
INI
"$tool" "$dir/apConfig.bin" "$dir/out.rules" >/dev/null
expected='# Lets the user at the seat open these devices'"'"' hidraw nodes (Skarn Config).
SUBSYSTEM=="hidraw", ATTRS{idVendor}=="1a2c", ATTRS{idProduct}=="002d", TAG+="uaccess"
SUBSYSTEM=="hidraw", ATTRS{idVendor}=="04d9", ATTRS{idProduct}=="a1ee", TAG+="uaccess"'
if [ "$(cat "$dir/out.rules")" != "$expected" ]; then
    echo "unexpected rules:"; cat "$dir/out.rules"; exit 1
fi
printf '[common]\ndeviceCount=0\n' >"$dir/empty.bin"
if "$tool" "$dir/empty.bin" "$dir/none.rules" 2>/dev/null; then
    echo "a file without entries must fail"; exit 1
fi
if "$tool" "$dir/missing.bin" "$dir/none.rules" 2>/dev/null; then
    echo "a missing file must fail"; exit 1
fi
echo "udev-rule ok"
