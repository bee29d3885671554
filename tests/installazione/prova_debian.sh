#!/usr/bin/env bash
# Makes the Debian packages with cpack and checks the main one from its bytes:
# control fields, the files a user needs, the library's SONAME link; then
# unpacks it into a folder and runs the command line and the Python module
# from there (they find the library and the data relative to themselves).
# Usage: prova_debian.sh BUILD PYTHON3
set -euo pipefail
build=$1 python=$2
lavoro=$(mktemp -d /tmp/veltrano-debian.XXXXXX)
trap 'rm -rf "$lavoro"' EXIT
falla() { echo "FALLITO: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$lavoro/pacchetti" >"$lavoro/cpack.log" 2>&1 ||
  { cat "$lavoro/cpack.log" >&2; falla "cpack"; }
deb=$(find "$lavoro/pacchetti" -maxdepth 1 -name 'veltrano_*.deb')
[ -n "$deb" ] || falla "nessun veltrano_*.deb tra: $(ls "$lavoro/pacchetti")"
versione=$(sed -n 's/.*VELTRANO_VERSIONE "\(.*\)"/\1/p' "$build/generato/veltrano/versione.h")
[ "$(dpkg-deb -f "$deb" Version)" = "$versione" ] || falla "Version: $(dpkg-deb -f "$deb" Version)"
dipende=$(dpkg-deb -f "$deb" Depends)
[[ $dipende == *libc6* && $dipende == *libstdc++6* ]] || falla "Depends: $dipende"
echo "Depends: $dipende"

contenuto=$(dpkg-deb -c "$deb" | awk '{print $6 ($7 == "->" ? " -> " $8 : "")}')
for f in ./usr/bin/veltrano ./usr/include/veltrano/veltrano.h ./usr/include/veltrano/versione.h \
         ./usr/share/veltrano/GeoDati.dat ./usr/lib/python3/dist-packages/veltrano/__init__.py \
         "libVeltrano_dll.so.${versione%%.*} -> libVeltrano_dll.so.$versione" \
         "libVeltrano_dll.so -> libVeltrano_dll.so.${versione%%.*}" VeltranoConfig.cmake veltrano.pc; do
  grep -qF -- "$f" <<<"$contenuto" || falla "manca $f"
done
dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./triggers | grep -q "activate-noawait ldconfig" ||
  falla "manca il trigger di ldconfig"

radice=$lavoro/radice
dpkg-deb -x "$deb" "$radice"
uscita=$(cd "$lavoro" && env -u VELTRANO_DATI "$radice/usr/bin/veltrano" sito --lon 13.4 --lat 42.35)
grep -q "26305 	26306 	26527 	26528" <<<"$uscita" || falla "veltrano sito: $uscita"
# the municipality is named from the main package alone
grep -q "Comune di L'Aquila" <<<"$uscita" || falla "veltrano sito senza comune: $uscita"
uscita=$(cd "$lavoro" && env -u VELTRANO_LIBRERIA PYTHONPATH="$radice/usr/lib/python3/dist-packages" "$python" -c \
  'import veltrano; print(veltrano.versione(), veltrano.Griglia().sito(13.4, 42.35).nodi)')
[ "$uscita" = "$versione (26305, 26306, 26527, 26528)" ] || falla "python: $uscita"
echo "debian: $(basename "$deb") $(stat -c %s "$deb") byte"
