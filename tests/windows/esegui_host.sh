#!/usr/bin/env bash
# Runs the Windows test host under wine64: a private prefix in /tmp, the zip
# unpacked as a user would, into a folder whose name has a space and an
# accented letter, and that folder in the registry as the installation folder.
# Usage: esegui_host.sh WINE64 host_windows.exe Veltrano_dll-V-win64.zip attesi.bin
set -euo pipefail
wine=$1 host=$2 zip=$3 attesi=$4
export WINEPREFIX=${VELTRANO_WINEPREFIX:-/tmp/veltrano-wine-$(id -u)}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
lavoro=$(mktemp -d /tmp/veltrano-host.XXXXXX)
trap 'rm -rf "$lavoro"' EXIT
dati="$lavoro/dati prova è"
mkdir -p "$dati"
(cd "$dati" && cmake -E tar xf "$zip")
for f in Veltrano_dll.dll GeoDati.dat LEGGIMI.txt LegameLibreria.h LegameLibreria.c veltrano/veltrano.h veltrano/versione.h; do
  [ -f "$dati/$f" ] || { echo "$f manca nello zip" >&2; exit 1; }
done
cp "$host" "$attesi" "$lavoro/"

finestre() { printf 'Z:%s' "${1//\//\\}"; } # a Unix path as Wine sees it
cartella="$(finestre "$dati")\\"
"$wine" reg add 'HKLM\Software\Tavrel' /v pathVeltrano /t REG_SZ /d "$cartella" /f >/dev/null
letto=$("$wine" reg query 'HKLM\Software\Tavrel' /v pathVeltrano | tr -d '\r' | awk -F'REG_SZ' 'NF > 1 {sub(/^ +/, "", $2); print $2}')
# reg prints in the console code page: check the separator, the host checks the rest.
[[ $letto == *[!\\]\\ ]] || { echo "registro: \"$letto\" non finisce con un solo \\" >&2; exit 1; }

cd "$lavoro"
"$wine" host_windows.exe "$(basename "$attesi")" "$(finestre "$lavoro")\\"
