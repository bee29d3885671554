#!/usr/bin/python3
"""The Python module on many sites against a numpy/scipy peer on the same
sites: random ED50 sites uniform in Italy's box (lon 6.5-18.6, lat
36.6-47.1, about half at sea), life 50 years, use class II. Prints sites per
second of each, computation only (the grid is loaded before the clock
starts), and their ratio. Not a test: run it by hand on a quiet machine.

    PYTHONPATH=python VELTRANO_LIBRERIA=build/bin/libVeltrano_dll.so \\
        bench/python_numpy.py --dati build/bin [--siti 200000] [--peer PEER.py]

PEER.py is a module with load(grid_csv) and batch(*grid, lons, lats), as the
peer baseline beside this repository (../shared/bench/peer_numpy.py, which
needs python3-scipy); without it only the module is timed."""

import argparse
import importlib.util
import os
import time

import numpy as np

import veltrano

RADICE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def migliore(f, ripetizioni):
    """The fastest of a few runs [s]: the others include the machine's noise."""
    tempi = []
    for _ in range(ripetizioni):
        t = time.perf_counter()
        f()
        tempi.append(time.perf_counter() - t)
    return min(tempi)


def main():
    a = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    a.add_argument("--dati", default=os.path.join(RADICE, "build", "bin"), help="folder of GeoDati.dat")
    a.add_argument("--siti", type=int, default=200000)
    a.add_argument("--ripetizioni", type=int, default=3)
    a.add_argument("--peer", default=os.path.join(RADICE, "..", "shared", "bench", "peer_numpy.py"))
    a.add_argument("--griglia-csv", default=os.path.join(RADICE, "data", "ntc2008_grid.csv"))
    o = a.parse_args()

    rng = np.random.default_rng(1)
    lon = rng.uniform(6.5, 18.6, o.siti)
    lat = rng.uniform(36.6, 47.1, o.siti)
    n = o.siti
    risultati = {}
    with veltrano.Griglia(os.path.join(o.dati, "GeoDati.dat")) as g:
        for thread in (1, 0):
            nome = "veltrano.Griglia.siti, %s" % ("1 thread" if thread == 1 else "all cores (%d)" % os.cpu_count())
            risultati[nome] = migliore(lambda: g.siti(lon, lat, vn=50, classe=2, thread=thread), o.ripetizioni)

    if os.path.exists(o.peer):
        spec = importlib.util.spec_from_file_location("peer", o.peer)
        peer = importlib.util.module_from_spec(spec)
        try:
            spec.loader.exec_module(peer)
            griglia = peer.load(o.griglia_csv)
            risultati["peer numpy/scipy batch, 1 thread"] = migliore(lambda: peer.batch(*griglia, lon, lat),
                                                                      o.ripetizioni)
        except ImportError as e:
            print("peer left out:", e)
    else:
        print("peer left out: no", o.peer)

    print("%d sites, best of %d runs" % (n, o.ripetizioni))
    for nome, t in risultati.items():
        print("  %-45s %10.0f sites/s  (%.3f s)" % (nome, n / t, t))
    base = risultati.get("peer numpy/scipy batch, 1 thread")
    if base:
        for nome, t in risultati.items():
            if not nome.startswith("peer"):
                print("  %-45s %10.2fx the peer" % (nome, base / t))


if __name__ == "__main__":
    main()
