#!/bin/sh
# Installs the Debian 12 packages Quorvel needs to build, run and be tested.
# Fast when everything is already there.
set -eu
paquets="cmake ninja-build g++ pkg-config qt6-base-dev qt6-multimedia-dev libgl-dev libfontconfig-dev
fonts-liberation2 googletest libgtest-dev libgmock-dev libbenchmark-dev
clang libclang-rt-14-dev xvfb xauth xdotool x11-utils imagemagick"
manquants=""
for p in $paquets; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || manquants="$manquants $p"
done
[ -z "$manquants" ] && exit 0
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
echo "Installation de :$manquants"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $manquants
