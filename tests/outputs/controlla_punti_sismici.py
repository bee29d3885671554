#!/usr/bin/env python3
"""Reads the spreadsheet of the hazard points back with openpyxl and checks it
against the grid file, decoded here on its own: python3 controlla_punti_sismici.py
FILE.xlsx GeoDati.dat. Exit 0 when everything matches, else 1 with the first
difference on standard error."""
import random
import re
import struct
import sys
import zipfile

import openpyxl

NODI, BLOCCHI, DIM_BLOCCO = 10751, 9, 344032
OFF = {"ID": 0, "XY": 43004, "Lon": 129012, "Lat": 172016, "ag": 215020, "F0": 258024, "Tc*": 301028}
NOMI_TR = ["TR_30", "TR_50", "TR_72", "TR_101", "TR_140", "TR_201", "TR_475", "TR_975", "TR_2475"]
INTESTAZIONI = ["Tempo", "Id", "X", "Y", "Lon", "Lat", "ag", "F0", "Tc*"]


def f32(v):
    return struct.unpack("<f", struct.pack("<f", v))[0]


def nodo(dati, k, n):
    b = k * DIM_BLOCCO
    i = n - 1
    rd = lambda off, passo=4, extra=0, fmt="<f": struct.unpack_from(fmt, dati, b + off + i * passo + extra)[0]
    return [NOMI_TR[k], rd(OFF["ID"], fmt="<i"), rd(OFF["XY"], 8, 0), rd(OFF["XY"], 8, 4), rd(OFF["Lon"]),
            rd(OFF["Lat"]), rd(OFF["ag"]), rd(OFF["F0"]), rd(OFF["Tc*"])]


def errore(testo):
    print(testo, file=sys.stderr)
    sys.exit(1)


def main():
    file, griglia = sys.argv[1], sys.argv[2]
    with open(griglia, "rb") as g:
        dati = g.read()
    # Widths as the file stores them (1/256 of a character, padding included).
    with zipfile.ZipFile(file) as z:
        xml = z.read("xl/worksheets/sheet1.xml").decode()
    larghezze = {}
    for m in re.finditer(r'<col min="(\d+)" max="(\d+)" width="([0-9.]+)"', xml):
        for c in range(int(m.group(1)), int(m.group(2)) + 1):
            larghezze[c - 1] = round(float(m.group(3)) * 256)
    for base in (0, 10):
        for j in range(9):
            atteso = 3000 if j == 0 else 2000
            # Widths are whole pixels (7 to a character): within half a pixel.
            if abs(larghezze.get(base + j, 0) - atteso) > 256 / 7 / 2:
                errore(f"colonna {base + j}: larghezza {larghezze.get(base + j)}, attesa {atteso}")
    if 9 in larghezze:
        errore("la colonna 9 ha una larghezza")

    libro = openpyxl.load_workbook(file, read_only=True)
    if libro.sheetnames != ["Sheet 1"]:
        errore(f"fogli {libro.sheetnames}")
    righe = list(libro["Sheet 1"].iter_rows(min_row=1, max_col=19))
    if len(righe) != 50005:
        errore(f"{len(righe)} righe, attese 50005")
    campioni = set(random.Random(12).sample(range(1, NODI + 1), 200)) | {1, 5556, 5557, NODI}
    gruppi = [(0, 1, 5556), (10, 5557, NODI)]
    for base, primo, ultimo in gruppi:
        testa = [c.value for c in righe[0][base:base + 9]]
        if testa != INTESTAZIONI:
            errore(f"intestazione alla colonna {base}: {testa}")
        fine = (ultimo - primo + 1) * 9
        for r in range(1, 50005):
            celle = righe[r][base:base + 9] if len(righe[r]) > base else []
            valori = [c.value for c in celle]
            if r > fine:
                if any(v is not None for v in valori):
                    errore(f"riga {r} colonna {base}: dati oltre la fine del gruppo")
                continue
            n, k = primo + (r - 1) // 9, (r - 1) % 9
            if valori[0] != NOMI_TR[k]:
                errore(f"riga {r} colonna {base}: {valori[0]!r}, atteso {NOMI_TR[k]}")
            if n in campioni:
                atteso = nodo(dati, k, n)
                if valori[1] != atteso[1]:
                    errore(f"riga {r}: Id {valori[1]}, atteso {atteso[1]}")
                for j in range(2, 9):
                    if f32(valori[j]) != atteso[j]:
                        errore(f"riga {r} {INTESTAZIONI[j]}: {valori[j]}, atteso {atteso[j]}")
                    if celle[j].number_format != "0.0000":
                        errore(f"riga {r} {INTESTAZIONI[j]}: formato {celle[j].number_format}")
    if any(c.value is not None for riga in righe for c in riga[9:10]):
        errore("la colonna 9 non è vuota")
    print("ok: 96759 righe di dati")


main()
