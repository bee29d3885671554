#!/usr/bin/env python3
"""Side by side, in one run: `veltrano lotto` and the numpy/scipy peer
(bench/peer_numpy.py) on the same CSV of sites, VN 50, class II, ED50.

  bench/confronto.py [--build build] [--siti 200000] [--csv FILE] [--ripetizioni 5]

Without --csv it writes --siti random sites uniform in lon 6.5-18.6, lat
36.6-47.1 (about two in three off the grid: at sea or abroad; our command
answers those with an error row, as it should, and exits with 1). Each repetition runs, in turn: our command
on one thread, the peer (one thread: OMP/OpenBLAS limited to 1), our command
on two threads. Rates are sites per second of wall-clock time (CPU time in
brackets), medians over the repetitions; the peer reports its compute-only
time and its read + compute + write time. Needs only the standard library;
the peer runs where Debian's python3-numpy and python3-scipy are installed,
and is left out otherwise. The machine's load average is printed before and
after: timings on a busy machine are not comparable.
"""
import argparse
import json
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

QUI = os.path.dirname(os.path.abspath(__file__))
RADICE = os.path.dirname(QUI)


def scrivi_siti(percorso, n, seme):
    rng = random.Random(seme)
    with open(percorso, "w") as f:
        f.write("lon,lat\n")
        for _ in range(n):
            f.write("%.6f,%.6f\n" % (rng.uniform(6.5, 18.6), rng.uniform(36.6, 47.1)))


def righe(percorso):
    with open(percorso, "rb") as f:
        return sum(1 for r in f if r.strip() and not r.startswith(b"#")) - 1


def esegui(cmd, env=None, codici=(0,)):
    """Wall time, CPU time (user + system), peak memory and output of a child."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        t0 = time.perf_counter()
        p = subprocess.Popen(cmd, env=env, stdout=out, stderr=err)
        _, stato, uso = os.wait4(p.pid, 0)
        muro = time.perf_counter() - t0
        p.returncode = os.waitstatus_to_exitcode(stato)
        out.seek(0)
        err.seek(0)
        if p.returncode not in codici:
            sys.exit("%s: codice %d\n%s" % (" ".join(cmd), p.returncode, err.read().decode(errors="replace")))
        return muro, uso.ru_utime + uso.ru_stime, uso.ru_maxrss / 1024.0, out.read()


def python_con_numpy():
    for py in dict.fromkeys([sys.executable, "/usr/bin/python3", shutil.which("python3") or ""]):
        if py and subprocess.run([py, "-c", "import numpy, scipy.spatial"], capture_output=True).returncode == 0:
            return py
    return None


def carico():
    return "%.2f %.2f %.2f" % os.getloadavg()


def main():
    a = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    a.add_argument("--build", default=os.path.join(RADICE, "build"))
    a.add_argument("--siti", type=int, default=200000)
    a.add_argument("--csv", help="sites of your own (header, then lon,lat in the first two columns)")
    a.add_argument("--ripetizioni", type=int, default=5)
    a.add_argument("--seme", type=int, default=14)
    a.add_argument("--peer", default=os.path.join(QUI, "peer_numpy.py"))
    a.add_argument("--griglia", default=os.path.join(RADICE, "data", "ntc2008_grid.csv"))
    o = a.parse_args()

    veltrano = os.path.join(o.build, "bin", "veltrano")
    if not os.access(veltrano, os.X_OK):
        sys.exit(veltrano + ": non trovato (cmake --build " + o.build + ")")
    py = python_con_numpy()
    cartella = tempfile.mkdtemp(prefix="veltrano_confronto_")
    try:
        siti = o.csv or os.path.join(cartella, "siti.csv")
        if not o.csv:
            scrivi_siti(siti, o.siti, o.seme)
        n = righe(siti)
        uscita = os.path.join(cartella, "uscita.csv")
        uno = os.environ.copy()
        uno.update(OMP_NUM_THREADS="1", OPENBLAS_NUM_THREADS="1", MKL_NUM_THREADS="1")
        misure = {"noi1": [], "noi2": [], "peer_calcolo": [], "peer_tutto": []}
        memoria = 0.0
        print("siti: %d (%s)   carico all'inizio: %s" % (n, siti if o.csv else "uniformi nel riquadro", carico()))
        for _ in range(o.ripetizioni):
            muro, cpu, rss, _ = esegui([veltrano, "lotto", siti, "--thread", "1", "--uscita", uscita], codici=(0, 1))
            misure["noi1"].append((muro, cpu))
            memoria = max(memoria, rss)
            if py:
                _, _, _, out = esegui([py, o.peer, o.griglia, siti, os.path.join(cartella, "peer.csv")], env=uno)
                j = json.loads(out)
                misure["peer_calcolo"].append((j["wall"], j["cpu"]))
                misure["peer_tutto"].append((j["e2e_wall"], j["e2e_cpu"]))
            muro, cpu, rss, _ = esegui([veltrano, "lotto", siti, "--thread", "2", "--uscita", uscita], codici=(0, 1))
            misure["noi2"].append((muro, cpu))
        print("carico alla fine: %s   ripetizioni: %d (mediane)" % (carico(), o.ripetizioni))

        def tasso(chiave):
            m = misure[chiave]
            return n / statistics.median(x[0] for x in m), n / statistics.median(x[1] for x in m)

        voci = [("veltrano lotto --thread 1, file a file", "noi1"),
                ("veltrano lotto --thread 2, file a file", "noi2")]
        if py:
            voci += [("peer numpy, solo calcolo", "peer_calcolo"),
                     ("peer numpy, lettura + calcolo + scrittura", "peer_tutto")]
        for nome, k in voci:
            m, c = tasso(k)
            print("  %-44s %10.0f siti/s   (CPU %10.0f siti/s)" % (nome, m, c))
        print("  memoria massima di veltrano lotto: %.1f MB" % memoria)
        n1, c1 = tasso("noi1")
        n2, _ = tasso("noi2")
        print("due thread / uno: %.2f" % (n2 / n1))
        if py:
            pc, pcc = tasso("peer_calcolo")
            pt, ptc = tasso("peer_tutto")
            print("noi / peer da file a file:     %.2f   (CPU %.2f)" % (n1 / pt, c1 / ptc))
            print("noi / peer solo calcolo:       %.2f   (CPU %.2f)" % (n1 / pc, c1 / pcc))
        else:
            print("peer non eseguito: manca python3 con numpy e scipy")
    finally:
        shutil.rmtree(cartella, ignore_errors=True)


if __name__ == "__main__":
    main()
