#!/bin/sh
# Installs the Debian 12 packages Quorvel needs to build, run and be tested,
# and makes the French locale our users run (the tests run under it).
# Fast when everything is already there.
set -eu
paquets="cmake ninja-build g++ pkg-config qt6-base-dev qt6-multimedia-dev libgl-dev libfontconfig-dev
fonts-liberation2 qt6-translations-l10n googletest libgtest-dev libgmock-dev libbenchmark-dev
clang libclang-rt-14-dev xvfb xauth xdotool x11-utils imagemagick openbox locales libical-dev calcurse faketime clang-format
libxcb1-dev wmctrl dunst dbus-daemon dbus-bin gnome-keyring libsecret-1-dev libsecret-tools radicale python3-caldav openssl python3-dbus python3-gi"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
manquants=""
for p in $paquets; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || manquants="$manquants $p"
done
if [ -n "$manquants" ]; then
    echo "Installation de :$manquants"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $manquants
fi
if ! locale -a 2>/dev/null | grep -qix 'fr_FR\.utf-\?8'; then
    echo "Création de la locale fr_FR.UTF-8"
    $sudo sed -i 's/^# *\(fr_FR\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^fr_FR\.UTF-8 UTF-8' /etc/locale.gen || echo 'fr_FR.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
fi
