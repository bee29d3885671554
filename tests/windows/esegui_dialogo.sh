#!/usr/bin/env bash
# Runs the site dialog's Windows test host under wine64 on a virtual screen:
# the zip unpacked as a user would, into a folder whose name has a space and
# an accented letter, and the host driving the dialog through its controls.
# With VELTRANO_SCHERMATE=DIR, a screenshot of each run's open dialog is
# saved there, and one of the point-style picker open (needs ImageMagick's
# import).
# Usage: esegui_dialogo.sh WINE64 host_dialogo.exe Veltrano_dll-V-win64.zip attesi_dialogo.bin
set -euo pipefail
# Windows need a screen: a virtual one when there is none.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
wine=$1 host=$2 zip=$3 attesi=$4
export WINEPREFIX=${VELTRANO_WINEPREFIX:-/tmp/veltrano-wine-$(id -u)}
# No debugger on a crash: the test fails at once instead of waiting.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d" LC_ALL=C.UTF-8
lavoro=$(mktemp -d /tmp/veltrano-dialogo.XXXXXX)
trap 'rm -rf "$lavoro"' EXIT
dati="$lavoro/dati prova è"
mkdir -p "$dati"
(cd "$dati" && cmake -E tar xf "$zip")
for f in Veltrano_dll.dll GeoDati.dat CoorCom.dat CoorCom2.dat Shape/comuni2010/com2010_s.shp \
         Shape/regioni2010/reg2010_s.dbf Shape/Griglia/Griglia.shx Shape/Dettagli/ITA_water_lines_dcw.shp; do
  [ -f "$dati/$f" ] || { echo "$f manca nello zip" >&2; exit 1; }
done
cp "$host" "$attesi" "$lavoro/"
finestre() { printf 'Z:%s' "${1//\//\\}"; } # a Unix path as Wine sees it

cd "$lavoro"
esegui() {
  timeout 240 "$wine" host_dialogo.exe "$(finestre "$dati")\\" "$(basename "$attesi")" "$(finestre "$lavoro")\\" &
  local pid=$!
  if [ -n "${VELTRANO_SCHERMATE:-}" ]; then
    mkdir -p "$VELTRANO_SCHERMATE"
    for nome in conferma annulla libero stile misura; do
      while [ ! -e "aperto_$nome" ] && kill -0 $pid 2>/dev/null; do sleep 0.2; done
      sleep 2
      import -window root "$VELTRANO_SCHERMATE/dialogo_$nome.png" || true
      : >"scattato_$nome"
    done
  fi
  wait $pid
}
esegui
