#!/usr/bin/env bash
# Checks the ABI of Veltrano_dll.dll from its bytes, since the 32-bit library
# cannot run here: the export names (plain, no "@N"), the DLLs it depends on
# (system ones only), and on i386 the stack each export removes ("ret N").
# Usage: controlla_abi.sh OBJDUMP DLL POINTER_SIZE
set -euo pipefail
objdump=$1 dll=$2 puntatore=$3
errori=0
falla() { echo "FALLITO: $*"; errori=$((errori + 1)); }

# export name, and on i386 the bytes of arguments it removes from the stack
attese=(
  VeltranoVersione:0 CalcolaParametriSismici:24 CalcolaParametriSismici2:28 CalcolaTempoRitornoDaPGA:12
  CalcolaTempiRitorno:24 CalcolaTempiRitorno2:28 GIS_LeggeDatabaseCoorComSize:8 GIS_LeggeDatabaseCoorCom:12
  GIS_SalvaDatabaseCoorCom:8 ConvCoord_WGS84toED50:16 VisualizzaDialog:28
  VeltranoStringaNuova:8 VeltranoStringaDaUtf8:4 VeltranoStringaLunghezza:4 VeltranoStringaRilascia:4
  VeltranoComuniDimensiona:8 VeltranoComuniLunghezza:4 VeltranoComuniRilascia:4
  VeltranoUltimoErrore:0 VeltranoUltimoCodice:0
  VeltranoGrigliaApri:16 VeltranoGrigliaChiudi:4 VeltranoCalcolatoreNuovo:16 VeltranoCalcolatoreLibera:4
  VeltranoCalcolaSito:36 VeltranoTempoRitornoPGA:28 VeltranoDescrizioneCodice:4 VeltranoCalcolaSiti:44
)

intestazioni=$("$objdump" -p "$dll")
base=$(awk '$1 == "ImageBase" {print $2}' <<<"$intestazioni")

# Export address table by index, then names by the same index.
declare -A rva indice
while read -r i r; do rva[$i]=$r; done < <(awk '/^Export Address Table --/{f=1; next} f && /^$/{exit}
  f {gsub(/[][]/, " "); print $1, $4}' <<<"$intestazioni")
while read -r i nome; do indice[$nome]=$i; done < <(awk '/^\[Ordinal\/Name Pointer\] Table/{f=1; next}
  f && /^$/{exit} f {gsub(/[][]/, " "); print $1, $2}' <<<"$intestazioni")
[ ${#indice[@]} -gt 0 ] || falla "nessuna esportazione in $dll"

for nome in "${!indice[@]}"; do
  [[ $nome =~ ^[A-Za-z][A-Za-z0-9_]*$ ]] || falla "nome esportato decorato: $nome"
done

# Only system DLLs: nothing of the compiler's runtime to ship beside it.
while read -r d; do
  case ${d,,} in
    kernel32.dll|msvcrt.dll|advapi32.dll|user32.dll|gdi32.dll|shell32.dll|ole32.dll|oleaut32.dll|ntdll.dll) ;;
    gdiplus.dll|comctl32.dll|comdlg32.dll) ;; # the site dialog
    *) falla "dipende da $d" ;;
  esac
done < <(awk '/DLL Name:/ {print $3}' <<<"$intestazioni")

if [ "$puntatore" = 4 ]; then
  # Every "ret" of each function, by its start address.
  declare -A ritorni
  while read -r indirizzo elenco; do ritorni[$indirizzo]=$elenco; done < <("$objdump" -d --no-show-raw-insn "$dll" |
    awk '/^[0-9a-f]+ <.*>:$/ {if (a != "") print a, r; a = $1; sub(/^0+/, "", a); r = ""; next}
         $2 == "ret" {r = r " " ($3 == "" ? "$0x0" : $3)}
         END {if (a != "") print a, r}')
fi

for voce in "${attese[@]}"; do
  nome=${voce%%:*} pila=${voce##*:}
  if [ -z "${indice[$nome]:-}" ]; then
    falla "$nome non esportata"
    continue
  fi
  [ "$puntatore" = 4 ] || { echo "$nome"; continue; }
  indirizzo=$(printf '%x' $((0x$base + 0x${rva[${indice[$nome]}]})))
  elenco=${ritorni[$indirizzo]:-}
  [ -n "$elenco" ] || { falla "$nome: nessun ret a 0x$indirizzo"; continue; }
  for n in $elenco; do
    n=$((${n#\$})) # "$0x18"
    [ "$n" = "$pila" ] || falla "$nome: ret $n, attesi $pila byte"
  done
  echo "$nome 0x$indirizzo ret $elenco"
done

if [ "$puntatore" = 4 ] && [ -n "${indice[VeltranoVersione]:-}" ]; then
  # Register convention: the argument is taken from EAX before any call.
  inizio=$((0x$base + 0x${rva[${indice[VeltranoVersione]}]}))
  "$objdump" -d --no-show-raw-insn --start-address=$inizio --stop-address=$((inizio + 64)) "$dll" |
    awk '$2 == "call" {exit} /mov +%eax,/ {trovato = 1} END {exit !trovato}' ||
    falla "VeltranoVersione non prende l'argomento da EAX"
fi

[ $errori -eq 0 ] || { echo "$errori errori"; exit 1; }
echo "ABI di $(basename "$dll") conforme"
