#!/usr/bin/env bash
# Builds the Debian package and checks its layout and dependencies.
# Argument: the build folder.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cpack --config "$build/CPackConfig.cmake" >/dev/null)
deb=$(ls "$work"/glimpa_*.deb)
contents=$(dpkg-deb --contents "$deb")
for path in ./usr/bin/glimpa ./usr/lib/glimpa/glimpa ./usr/lib/glimpa/HELPFILE.HLP \
            ./usr/share/glimpa/HELPFILE.HLP ./usr/share/applications/org.glimpa.Glimpa.desktop \
            ./usr/share/metainfo/org.glimpa.Glimpa.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/org.glimpa.Glimpa.svg; do
    grep -q " $path" <<<"$contents" || { echo "missing from the package: $path"; exit 1; }
done
grep -q "./usr/bin/glimpa -> ../lib/glimpa/glimpa" <<<"$contents" || { echo "bin/glimpa is not a link"; exit 1; }
depends=$(dpkg-deb --field "$deb" Depends)
for dependency in libqt6widgets6 libjpeg62-turbo qt6-qpa-plugins; do
    grep -q "$dependency" <<<"$depends" || { echo "the package does not depend on $dependency"; exit 1; }
done
[[ $(dpkg-deb --field "$deb" Recommends) == *qt6-wayland* ]] ||
    { echo "the package does not recommend qt6-wayland"; exit 1; }
echo "package $(basename "$deb"): layout and dependencies as expected"
