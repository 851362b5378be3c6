#!/usr/bin/env bash
# CPack's .deb: its file list, its control fields, and an install and a
# removal with dpkg into a private root that leave nothing behind.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work/out" > "$work/cpack.log" || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/kvrns_*.deb)

expected=$(sed 's/^ *//' <<'LIST'
    ./usr/bin/kvrns
    ./usr/bin/kvrns-cli
    ./usr/lib/systemd/user/kvrns-exporter.service
    ./usr/lib/udev/rules.d/70-kvrns.rules
    ./usr/share/applications/com.talvorn.kvrns.desktop
    ./usr/share/doc/kvrns/examples/kvrns-dashboard.json
    ./usr/share/icons/hicolor/256x256/apps/kvrns.png
    ./usr/share/icons/hicolor/64x64/apps/kvrns.png
    ./usr/share/kvrns/TALVORN.txt
    ./usr/share/man/man1/kvrns-cli.1
    ./usr/share/man/man1/kvrns.1
    ./usr/share/metainfo/com.talvorn.kvrns.metainfo.xml
LIST
)
actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | LC_ALL=C sort)
diff <(echo "$expected" | LC_ALL=C sort) <(echo "$actual")
# Directories and files belong to root and nobody else may write them.
if dpkg-deb -c "$deb" | awk '$2 != "root/root" || $1 ~ /w.$/ || $1 ~ /w....$/' | grep .; then exit 1; fi

test "$(dpkg-deb -f "$deb" Package)" = kvrns
depends=$(dpkg-deb -f "$deb" Depends)
for library in libhidapi-hidraw0 libqt6widgets6 libprometheus-cpp-pull; do
    grep -q "$library" <<<"$depends" || { echo "Depends lacks $library: $depends"; exit 1; }
done

# Install and remove with dpkg in a private root and database.
admin=$work/admin root=$work/root
mkdir -p "$admin/info" "$admin/updates" "$admin/triggers" "$root"
touch "$admin/status" "$admin/available"
dpkg_private() {
    dpkg --force-not-root --force-depends --no-triggers --log="$work/dpkg.log" \
        --admindir="$admin" --instdir="$root" "$@" > "$work/dpkg.out" 2>&1 || { cat "$work/dpkg.out"; exit 1; }
}
dpkg_private --install "$deb"
test -x "$root/usr/bin/kvrns-cli"
"$root/usr/bin/kvrns-cli" --help > /dev/null
dpkg_private --purge kvrns
left=$(find "$root" -mindepth 1 ! -type d)
test -z "$left" || { echo "left behind after removal:"; echo "$left"; exit 1; }
echo "package $(basename "$deb"): $(echo "$actual" | wc -l) files, installs and removes cleanly"
