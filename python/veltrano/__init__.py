"""Parametri sismici dei siti italiani (D.M. 14/01/2008) dalla libreria Veltrano_dll.

ag [g], Fo e Tc* [s] dei quattro stati limite di un sito, interpolati dalla
griglia nazionale: gli stessi numeri, bit per bit, della libreria e del
comando veltrano. Le coordinate sono gradi decimali sul datum ED50.

    import veltrano
    with veltrano.Griglia() as g:              # GeoDati.dat, letto una volta
        s = g.sito(13.4, 42.35, vn=50, classe=2)
        print(s.SLV.ag, s.SLV.tr)
        r = g.siti(lon, lat, vn=50, classe=2)  # array numpy, una sola chiamata
        print(r.ag[:, veltrano.SLV])

Le colonne degli array dei risultati seguono l'ordine della libreria:
SLV, SLC, SLD, SLO (veltrano.STATI_LIMITE); gli indici veltrano.SLV ecc. le
scelgono. Un oggetto Griglia si può usare da più thread insieme.
"""

import ctypes
import threading
from dataclasses import dataclass

from . import _libreria
from ._libreria import NORM_DM2008, TGIS_DatiOut, VeltranoUscitaSiti, lib

try:
    import numpy as _np
except ImportError:  # one site at a time needs no numpy
    _np = None

__all__ = ["Griglia", "Sito", "Siti", "StatoLimite", "Errore", "versione", "STATI_LIMITE",
           "SLV", "SLC", "SLD", "SLO", "NORM_DM2008"]

STATI_LIMITE = ("SLV", "SLC", "SLD", "SLO")
SLV, SLC, SLD, SLO = range(4)

_DIMENSIONE_MESSAGGIO = 512


class Errore(RuntimeError):
    """A failure of the library; codice is one of its VELTRANO_ERRORE_* codes."""

    def __init__(self, testo, codice):
        super().__init__(testo)
        self.codice = codice


def _controlla(codice, messaggio):
    if codice != _libreria.VELTRANO_OK:
        raise Errore(messaggio.value.decode("utf-8", "replace"), codice)


def versione():
    """The library's version, as VeltranoVersione gives it ("8.0.0")."""
    s = ctypes.c_void_p()
    lib.VeltranoVersione(ctypes.byref(s))
    try:
        n = lib.VeltranoStringaLunghezza(s)
        return ctypes.string_at(s, 2 * n).decode("utf-16-le")
    finally:
        lib.VeltranoStringaRilascia(ctypes.byref(s))


@dataclass(frozen=True)
class StatoLimite:
    """One limit state: return period [years], ag [g], Fo, Tc* [s]."""
    tr: int
    ag: float
    fo: float
    tc: float


@dataclass(frozen=True)
class Sito:
    """The hazard of one site, as VeltranoCalcolaSito returns it."""
    num_vert: int      # grid nodes used, 0 to 4
    nodi: tuple        # node numbers, ascending (0 = empty slot)
    lon_nodi: tuple    # [deg ED50]
    lat_nodi: tuple
    SLV: StatoLimite
    SLC: StatoLimite
    SLD: StatoLimite
    SLO: StatoLimite


class Siti:
    """The hazard of many sites: numpy arrays whose first axes follow the
    input's shape. ag, fo, tc, tr and nodi have a last axis of 4 (SLV, SLC,
    SLD, SLO for the first four; node slots for nodi)."""

    def __init__(self, forma, ag, fo, tc, tr, num_vert, nodi, valido, codici):
        self.ag = ag.reshape(forma + (4,))
        self.fo = fo.reshape(forma + (4,))
        self.tc = tc.reshape(forma + (4,))
        self.tr = tr.reshape(forma + (4,))
        self.nodi = nodi.reshape(forma + (4,))
        self.num_vert = num_vert.reshape(forma)
        # False for a site outside the grid: its numbers mean nothing.
        self.valido = valido.reshape(forma).view(bool)
        # 0 for a computed site, else the library's code (with tollera_errori).
        self.codici = codici.reshape(forma)

    def __len__(self):
        return len(self.num_vert)


def _interi(nome, v):
    a = _np.asarray(v)
    if a.dtype.kind not in "iub":
        if a.dtype.kind != "f" or not _np.all(_np.isfinite(a)) or not _np.all(a == _np.round(a)):
            raise ValueError(nome + ": servono numeri interi")
    if a.size and (a.min() < -2**31 or a.max() >= 2**31):
        raise ValueError(nome + ": fuori dagli interi a 32 bit")
    return a.astype(_np.int32)


class Griglia:
    """The hazard grid, read once from GeoDati.dat (percorso; None: the file
    of the library, in its own folder or in the installed data folder)."""

    def __init__(self, percorso=None):
        self._g = ctypes.c_void_p()
        self._c = ctypes.c_void_p()
        self._lock = threading.Lock()
        m = ctypes.create_string_buffer(_DIMENSIONE_MESSAGGIO)
        p = None if percorso is None else str(percorso).encode("utf-8")
        _controlla(lib.VeltranoGrigliaApri(p, ctypes.byref(self._g), m, len(m)), m)
        # One calculator for single sites, under the lock: it keeps the work
        # that repeats from site to site and may serve one thread at a time.
        _controlla(lib.VeltranoCalcolatoreNuovo(self._g, ctypes.byref(self._c), m, len(m)), m)

    def chiudi(self):
        """Frees the grid, once no call on it is running; the object may not
        be used afterwards."""
        with self._lock:
            if self._c:
                lib.VeltranoCalcolatoreLibera(self._c)
                self._c = ctypes.c_void_p()
            if self._g:
                lib.VeltranoGrigliaChiudi(self._g)
                self._g = ctypes.c_void_p()

    def __enter__(self):
        return self

    def __exit__(self, *eccezione):
        self.chiudi()

    def __del__(self):
        if getattr(self, "_lock", None) is not None:
            self.chiudi()

    def _aperta(self):
        if not self._g:
            raise ValueError("griglia chiusa")

    def sito(self, lon, lat, vn=50, classe=2, normativa=NORM_DM2008):
        """The hazard of the ED50 site (lon, lat) [deg] for nominal life vn
        [years] and use class classe (1 to 4)."""
        d = TGIS_DatiOut()
        m = ctypes.create_string_buffer(_DIMENSIONE_MESSAGGIO)
        with self._lock:
            self._aperta()
            _controlla(lib.VeltranoCalcolaSito(self._c, normativa, float(lon), float(lat), int(vn), int(classe),
                                               ctypes.byref(d), m, len(m)), m)

        def stato(p):
            return StatoLimite(int(p.Tr), p.ag, p.Fo, p.Tc_s)

        return Sito(d.NumVert, tuple(d.NumPunti), tuple(d.LonPunti), tuple(d.LatPunti),
                    stato(d.SLV), stato(d.SLC), stato(d.SLD), stato(d.SLO))

    def tempo_ritorno_pga(self, lon, lat, pga):
        """The return period [years] at which the ED50 site's ag equals pga [g]."""
        tr = ctypes.c_int32()
        m = ctypes.create_string_buffer(_DIMENSIONE_MESSAGGIO)
        with self._lock:
            self._aperta()
            _controlla(lib.VeltranoTempoRitornoPGA(self._c, float(lon), float(lat), float(pga), ctypes.byref(tr), m,
                                                   len(m)), m)
        return tr.value

    def siti(self, lon, lat, vn=50, classe=2, normativa=NORM_DM2008, thread=0, tollera_errori=False):
        """The hazard of many ED50 sites in one call into the library, on
        thread threads (0: one per core). lon, lat, vn and classe are arrays
        or numbers, broadcast together; coordinates are rounded to single
        precision as the library takes them. A site that cannot be computed
        (a use class outside 0..255, say) raises Errore, or with
        tollera_errori gets NaN and its code in codici."""
        if _np is None:
            raise ImportError("veltrano.Griglia.siti richiede numpy")
        lon, lat, vn, classe = _np.broadcast_arrays(_np.asarray(lon), _np.asarray(lat), _np.asarray(vn),
                                                    _np.asarray(classe))
        forma = lon.shape
        lon = _np.ascontiguousarray(lon, dtype=_np.float32).ravel()
        lat = _np.ascontiguousarray(lat, dtype=_np.float32).ravel()
        vn = _np.ascontiguousarray(_interi("vn", vn)).ravel()
        classe = _np.ascontiguousarray(_interi("classe", classe)).ravel()
        n = lon.size
        ag, fo, tc, tr = (_np.empty(4 * n, _np.float32) for _ in range(4))
        nodi = _np.empty(4 * n, _np.int32)
        num_vert = _np.empty(n, _np.int32)
        valido = _np.empty(n, _np.uint8)
        codici = _np.zeros(n, _np.int32)  # stays 0 when the call fails as a whole

        def p(a, tipo):
            return a.ctypes.data_as(ctypes.POINTER(tipo))

        f, i32 = ctypes.c_float, ctypes.c_int32
        u = VeltranoUscitaSiti(p(ag, f), p(fo, f), p(tc, f), p(tr, f), p(num_vert, i32), p(nodi, i32),
                               p(valido, ctypes.c_uint8), p(codici, i32))
        m = ctypes.create_string_buffer(_DIMENSIONE_MESSAGGIO)
        self._aperta()
        codice = lib.VeltranoCalcolaSiti(self._g, normativa, n, p(lon, f), p(lat, f), p(vn, i32), p(classe, i32),
                                         ctypes.byref(u), int(thread), m, len(m))
        if codice != _libreria.VELTRANO_OK and not (tollera_errori and _np.any(codici != 0)):
            _controlla(codice, m)
        return Siti(forma, ag, fo, tc, tr, num_vert, nodi, valido, codici)
