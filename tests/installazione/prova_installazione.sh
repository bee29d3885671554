#!/usr/bin/env bash
# Installs the build into a temporary prefix, as a user would, and uses it
# from outside: the README's C example built with pkg-config, its C++ example
# with find_package, its Python example, and the installed command line; then
# moves the whole tree and runs them again (everything finds its files
# relative to itself), and takes the data away to see the failure named.
# Usage: prova_installazione.sh BUILD SOURCES PYTHON3 CC CXX
set -euo pipefail
build=$1 sorgenti=$2 python=$3 cc=$4 cxx=$5
lavoro=$(mktemp -d /tmp/veltrano-installazione.XXXXXX)
trap 'rm -rf "$lavoro"' EXIT
prefisso=$lavoro/prefisso
falla() { echo "FALLITO: $*" >&2; exit 1; }
contiene() { # TEXT REGEX WHAT
  grep -Eq -- "$2" <<<"$1" || falla "$3: \"$2\" non trovato in:"$'\n'"$1"
}

cmake --install "$build" --prefix "$prefisso" --component veltrano >/dev/null

# The README's examples: each fenced block after a <!-- file: NAME --> line.
esempi=$lavoro/esempi
mkdir -p "$esempi"
awk -v cartella="$esempi" '
  /^<!-- file: .* -->$/ { nome = $3; next }
  nome != "" && /^```/ { if (dentro) { dentro = 0; nome = "" } else dentro = 1; next }
  dentro { print > (cartella "/" nome) }' "$sorgenti/README.md"
for f in esempio.c CMakeLists.txt esempio.cpp esempio.py; do
  [ -s "$esempi/$f" ] || falla "README.md: manca l'esempio $f"
done

usa() { # PREFIX: runs everything against the tree at PREFIX
  local p=$1 librerie pythonpath uscita
  librerie=$(dirname "$(find "$p" -name 'libVeltrano_dll.so.*.*' | head -1)")
  pythonpath=$(dirname "$(find "$p" -path '*dist-packages/veltrano/__init__.py')")/..
  uscita=$(cd "$lavoro" && LD_LIBRARY_PATH=$librerie "$lavoro/esempio_c")
  contiene "$uscita" "^SLV: TR 475 anni, ag 0\.2607 g" "esempio C"
  uscita=$(cd "$lavoro" && LD_LIBRARY_PATH=$librerie "$lavoro/cpp/esempio")
  contiene "$uscita" "13\.40 42\.35: ag SLV 0\.2607 g" "esempio C++"
  contiene "$uscita" "9\.19 45\.46: ag SLV 0\.04" "esempio C++"
  contiene "$uscita" "CalcolaParametriSismici: 4 nodi" "esempio C++"
  uscita=$(cd "$lavoro" && env -u VELTRANO_LIBRERIA PYTHONPATH=$pythonpath "$python" "$esempi/esempio.py")
  contiene "$uscita" "^SLV: TR 475 ag 0\.2607" "esempio Python"
  contiene "$uscita" "^[0-9]+ siti sulla griglia su 100000" "esempio Python"
  uscita=$(cd "$lavoro" && env -u VELTRANO_DATI "$p/bin/veltrano" sito --lon 13.4 --lat 42.35 --vn 50 --classe II)
  contiene "$uscita" "26305 	26306 	26527 	26528" "veltrano sito"
}

export PKG_CONFIG_PATH
PKG_CONFIG_PATH=$(dirname "$(find "$prefisso" -name veltrano.pc)")
[ "$(pkg-config --modversion veltrano)" = "$(sed -n 's/.*VELTRANO_VERSIONE "\(.*\)"/\1/p' "$prefisso/include/veltrano/versione.h")" ] ||
  falla "pkg-config --modversion"
# shellcheck disable=SC2046 # pkg-config's words are separate arguments
"$cc" -std=c11 -Wall -Wextra -pedantic-errors -Werror "$esempi/esempio.c" $(pkg-config --cflags --libs veltrano) \
  -o "$lavoro/esempio_c"
mkdir -p "$lavoro/cpp"
cp "$esempi/CMakeLists.txt" "$esempi/esempio.cpp" "$lavoro/cpp/"
cmake -S "$lavoro/cpp" -B "$lavoro/cpp/b" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_PREFIX_PATH="$prefisso" \
      -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$lavoro/cpp" -DCMAKE_SKIP_RPATH=ON >/dev/null
cmake --build "$lavoro/cpp/b" >/dev/null
usa "$prefisso"

mv "$prefisso" "$lavoro/spostato"
usa "$lavoro/spostato"

# Without its data the library says which file it could not open.
find "$lavoro/spostato" -name GeoDati.dat -delete
librerie=$(dirname "$(find "$lavoro/spostato" -name 'libVeltrano_dll.so.*.*' | head -1)")
if uscita=$(cd "$lavoro" && LD_LIBRARY_PATH=$librerie "$lavoro/esempio_c" 2>&1); then
  falla "esempio C senza dati: riuscito"
fi
contiene "$uscita" "GeoDati\.dat" "esempio C senza dati"
echo "installazione: tutto bene"
