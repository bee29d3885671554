"""The Python module against the command line: the same sites through
`veltrano lotto` and through veltrano.Griglia.siti must give the same
numbers, bit for bit (the command line prints the shortest text that reads
back as the same single-precision value).

Run by CTest with VELTRANO_LIBRERIA (the library), VELTRANO_PROGRAMMA (the
command line), VELTRANO_DATI (the data folder) and PYTHONPATH set."""

import csv
import math
import os
import subprocess
import tempfile
import unittest

import numpy as np

import veltrano

PROGRAMMA = os.environ["VELTRANO_PROGRAMMA"]
DATI = os.environ["VELTRANO_DATI"]
GRIGLIA = os.path.join(DATI, "GeoDati.dat")


def siti_casuali(n, seme):
    """Sites over Italy's box (about half at sea) and a few far away, with
    life and class varying; coordinates already single precision."""
    rng = np.random.default_rng(seme)
    lon = rng.uniform(6.5, 18.6, n).astype(np.float32)
    lat = rng.uniform(36.6, 47.1, n).astype(np.float32)
    lontani = rng.random(n) < 0.05
    lon[lontani] = rng.uniform(-10, 30, lontani.sum()).astype(np.float32)
    vn = rng.choice([10, 35, 50, 75, 100, 200], n).astype(np.int32)
    classe = rng.integers(1, 5, n).astype(np.int32)
    return lon, lat, vn, classe


def comando(*argomenti):
    r = subprocess.run([PROGRAMMA, *argomenti], capture_output=True, text=True, check=False)
    return r.returncode, r.stdout, r.stderr


class ComeIlComando(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.g = veltrano.Griglia(GRIGLIA)

    @classmethod
    def tearDownClass(cls):
        cls.g.chiudi()

    def test_molti_siti_come_veltrano_lotto(self):
        lon, lat, vn, classe = siti_casuali(5000, 15)
        with tempfile.TemporaryDirectory() as d:
            ingresso, uscita = os.path.join(d, "siti.csv"), os.path.join(d, "risultati.csv")
            with open(ingresso, "w") as f:
                f.write("lon,lat,vn,classe\n")
                for i in range(len(lon)):
                    f.write("%r,%r,%d,%d\n" % (float(lon[i]), float(lat[i]), vn[i], classe[i]))
            comando("lotto", ingresso, "--uscita", uscita, "--dati", DATI, "--thread", "2")
            with open(uscita, newline="") as f:
                righe = list(csv.DictReader(f))
        self.assertEqual(len(righe), len(lon))
        r = self.g.siti(lon, lat, vn=vn, classe=classe, thread=2)
        confrontati = 0
        for i, riga in enumerate(righe):
            self.assertEqual(int(riga["riga"]), i + 2)
            if riga["errore"]:
                # The command line refuses a site only where it means nothing.
                self.assertFalse(r.valido[i], riga)
                continue
            self.assertEqual(int(riga["num_vert"]), r.num_vert[i], riga)
            self.assertEqual([int(riga["nodo%d" % k]) for k in range(1, 5)], list(r.nodi[i]), riga)
            if "valido" in riga:
                self.assertEqual(riga["valido"] == "1", bool(r.valido[i]), riga)
            for j, stato in enumerate(veltrano.STATI_LIMITE):
                for colonna, valori in (("TR", r.tr), ("ag", r.ag), ("Fo", r.fo), ("Tc", r.tc)):
                    atteso = np.float32(riga["%s_%s" % (colonna, stato)])
                    self.assertEqual(atteso.tobytes(), valori[i, j].tobytes(), (riga, colonna, stato))
            confrontati += 1
        self.assertGreater(confrontati, len(lon) // 3)

    def test_tempo_ritorno_di_una_pga_come_veltrano_pga(self):
        for lon, lat, pga in ((13.4, 42.35, 0.15), (9.19, 45.46, 0.03), (15.55, 38.19, 0.5)):
            codice, out, err = comando("pga", "--lon", repr(lon), "--lat", repr(lat), "--pga", repr(pga),
                                       "--dati", DATI)
            self.assertEqual(codice, 0, err)
            self.assertEqual(self.g.tempo_ritorno_pga(lon, lat, pga), int(out))

    def test_versione_come_il_comando(self):
        codice, out, _ = comando("versione")
        self.assertEqual(codice, 0)
        self.assertEqual(veltrano.versione(), out.strip())


class Forme(unittest.TestCase):
    def setUp(self):
        self.g = veltrano.Griglia(GRIGLIA)

    def tearDown(self):
        self.g.chiudi()

    def test_un_sito_come_una_riga_del_lotto(self):
        lon, lat, vn, classe = siti_casuali(50, 3)
        r = self.g.siti(lon, lat, vn=vn, classe=classe)
        for i in range(len(lon)):
            s = self.g.sito(lon[i], lat[i], vn=vn[i], classe=classe[i])
            self.assertEqual(s.num_vert, r.num_vert[i])
            self.assertEqual(s.nodi, tuple(r.nodi[i]))
            for j, nome in enumerate(veltrano.STATI_LIMITE):
                st = getattr(s, nome)
                self.assertEqual((st.tr, st.ag, st.fo, st.tc),
                                 (int(r.tr[i, j]), float(r.ag[i, j]), float(r.fo[i, j]), float(r.tc[i, j])))

    def test_le_forme_seguono_gli_ingressi_e_i_thread_non_cambiano_nulla(self):
        lon, lat, _, _ = siti_casuali(3000, 8)
        piano = self.g.siti(lon, lat, thread=1)
        griglia = self.g.siti(lon.reshape(60, 50), lat.reshape(60, 50), vn=[50] * 50, thread=2)
        self.assertEqual(griglia.ag.shape, (60, 50, 4))
        self.assertEqual(griglia.valido.shape, (60, 50))
        self.assertEqual(piano.ag.tobytes(), griglia.ag.tobytes())
        self.assertEqual(piano.nodi.tobytes(), griglia.nodi.tobytes())
        uno = self.g.siti(13.4, 42.35, classe=[1, 2, 3, 4])
        self.assertEqual(uno.ag.shape, (4, 4))
        self.assertTrue(np.all(np.diff(uno.tr[:, veltrano.SLV]) > 0))  # higher class, longer period
        self.assertEqual(self.g.siti([], []).ag.shape, (0, 4))

    def test_errori(self):
        with self.assertRaises(veltrano.Errore) as e:
            veltrano.Griglia("/non/esiste/GeoDati.dat")
        self.assertEqual(e.exception.codice, 1)
        self.assertIn("/non/esiste/GeoDati.dat", str(e.exception))
        with self.assertRaises(veltrano.Errore) as e:
            self.g.siti([13.4, 13.5, 13.6], [42.35, 42.3, 42.2], classe=[2, 300, 2])
        self.assertEqual(e.exception.codice, 3)
        self.assertIn("sito 1", str(e.exception))
        r = self.g.siti([13.4, 13.5, 13.6], [42.35, 42.3, 42.2], classe=[2, 300, 2], tollera_errori=True)
        self.assertEqual(list(r.codici), [0, 3, 0])
        self.assertTrue(math.isnan(r.ag[1, 0]) and not r.valido[1] and r.valido[2])
        with self.assertRaises(ValueError):
            self.g.siti([13.4], [42.35], vn=50.5)
        with self.assertRaises(veltrano.Errore):
            self.g.sito(13.4, 42.35, classe=300)
        self.g.chiudi()
        with self.assertRaises(ValueError):
            self.g.sito(13.4, 42.35)


if __name__ == "__main__":
    unittest.main()
