#!/bin/sh
# Installs what is needed, builds Quorvel, installs it for the current user
# (~/.local) and starts it through its launcher, which makes and seeds the
# data directory ~/.local/share/quorvel.
set -eu
racine=$(cd "$(dirname "$0")/.." && pwd)
"$racine/scripts/dependances.sh"
cmake -S "$racine" -B "$racine/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DQUORVEL_TESTS=OFF >/dev/null
cmake --build "$racine/build-release"
prefixe="${QUORVEL_PREFIXE:-$HOME/.local}"
cmake --install "$racine/build-release" --prefix "$prefixe" >/dev/null
exec "$prefixe/bin/quorvel-lanceur"
