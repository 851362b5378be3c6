#!/usr/bin/env bash
# cmake --install into a temporary DESTDIR: the tree holds exactly the files
# a Linux desktop expects, its desktop entry and metainfo validate, and the
# installed kvrns-cli starts a new user's settings from the installed defaults.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root

DESTDIR="$root" cmake --install "$build" --prefix /usr > "$work/install.log"

expected=$(sed 's/^ *//' <<'LIST'
    usr/bin/kvrns
    usr/bin/kvrns-cli
    usr/lib/systemd/user/kvrns-exporter.service
    usr/lib/udev/rules.d/70-kvrns.rules
    usr/share/applications/com.talvorn.kvrns.desktop
    usr/share/doc/kvrns/examples/kvrns-dashboard.json
    usr/share/icons/hicolor/256x256/apps/kvrns.png
    usr/share/icons/hicolor/64x64/apps/kvrns.png
    usr/share/kvrns/TALVORN.txt
    usr/share/man/man1/kvrns-cli.1
    usr/share/man/man1/kvrns.1
    usr/share/metainfo/com.talvorn.kvrns.metainfo.xml
LIST
)
actual=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
diff <(echo "$expected" | LC_ALL=C sort) <(echo "$actual")

desktop-file-validate "$root/usr/share/applications/com.talvorn.kvrns.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/com.talvorn.kvrns.metainfo.xml" > "$work/appstream.log" ||
    { cat "$work/appstream.log"; exit 1; }
file "$root/usr/share/icons/hicolor/256x256/apps/kvrns.png" | grep -q '256 x 256'
file "$root/usr/share/icons/hicolor/64x64/apps/kvrns.png" | grep -q '64 x 64'
grep -q 'SUBSYSTEM=="hidraw", ATTRS{idVendor}=="04d8", ATTRS{idProduct}=="f590", TAG+="uaccess"' \
    "$root/usr/lib/udev/rules.d/70-kvrns.rules"
test -x "$root/usr/bin/kvrns" && test -x "$root/usr/bin/kvrns-cli"

# A new user's settings come from share/kvrns beside the installed program.
single='0;22;22;50;35;22;22;50;35;3.9;6.1;13.8;3.75;5.70;13.10;5;5;5;3.30;5.00;12.00;0;0;0;'
printf '%s\r\n' "$single" > "$root/usr/share/kvrns/TALVORN.txt"
env -u HOME XDG_CONFIG_HOME="$work/config" "$root/usr/bin/kvrns-cli" status --device sim --json > /dev/null
printf '%s\r\n' "$single" | cmp - "$work/config/kvrns/TALVORN.txt"
echo "installed tree: $(echo "$actual" | wc -l) files as expected"
