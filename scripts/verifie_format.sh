#!/bin/sh
# Fails when a C++ source differs from what the project's .clang-format gives
# with Debian 12's clang-format; lists the files to run `clang-format -i` on.
set -eu
racine=$(cd "$(dirname "$0")/.." && pwd)
cd "$racine"
ecarts=$(git ls-files '*.cpp' '*.hpp' | while read -r f; do
    clang-format --style=file "$f" | cmp -s - "$f" || echo "$f"
done)
if [ -n "$ecarts" ]; then
    echo "Fichiers à reformater (clang-format -i) :"
    echo "$ecarts"
    exit 1
fi
echo "Mise en forme conforme."
