"""The shared library Veltrano_dll through ctypes: where it is, and the C
prototypes of the functions this package calls.

Only the re-entrant C API (codes and messages, never an exception) and
VeltranoVersione are called: the other exports report failures as C++
exceptions, which would end the Python process."""

import ctypes
import ctypes.util
import os

NORM_DM2008 = 5
VELTRANO_OK = 0


class TGIS_ParZS(ctypes.Structure):
    _pack_ = 1
    _fields_ = [("ag", ctypes.c_float), ("Fo", ctypes.c_float), ("Tc_s", ctypes.c_float),
                ("Tr", ctypes.c_float), ("persi", ctypes.c_uint8 * 100)]


class TGIS_DatiOut(ctypes.Structure):
    _pack_ = 1
    _fields_ = [
        ("NumVert", ctypes.c_int32),
        ("SLV", TGIS_ParZS), ("SLC", TGIS_ParZS), ("SLD", TGIS_ParZS), ("SLO", TGIS_ParZS),
        ("LonPunti", ctypes.c_float * 4), ("LatPunti", ctypes.c_float * 4),
        ("LonSito", ctypes.c_float), ("LatSito", ctypes.c_float),
        ("NomeLoc", ctypes.c_uint8 * 26), ("TipoRic", ctypes.c_uint8),
        ("NumPunti", ctypes.c_int32 * 4),
        ("LonSitoED50", ctypes.c_float), ("LatSitoED50", ctypes.c_float),
        ("agPunti", ctypes.c_float * 16), ("FoPunti", ctypes.c_float * 16), ("Tc_sPunti", ctypes.c_float * 16),
        ("alt", ctypes.c_float), ("distCosta", ctypes.c_float), ("ED50", ctypes.c_uint8),
        ("nomeLoc_new", ctypes.c_uint8 * 101), ("persi", ctypes.c_uint8 * 674),
    ]


class VeltranoUscitaSiti(ctypes.Structure):
    _fields_ = [
        ("ag", ctypes.POINTER(ctypes.c_float)), ("Fo", ctypes.POINTER(ctypes.c_float)),
        ("Tc_s", ctypes.POINTER(ctypes.c_float)), ("Tr", ctypes.POINTER(ctypes.c_float)),
        ("NumVert", ctypes.POINTER(ctypes.c_int32)), ("NumPunti", ctypes.POINTER(ctypes.c_int32)),
        ("valido", ctypes.POINTER(ctypes.c_uint8)), ("codici", ctypes.POINTER(ctypes.c_int32)),
    ]


def _candidati():
    """Library files to try, best first."""
    esplicita = os.environ.get("VELTRANO_LIBRERIA")
    if esplicita:
        # Asked for by name: no other file may stand in for it.
        return [esplicita]
    candidati = []
    try:
        from . import _installazione  # written by the install, beside this file
        qui = os.path.dirname(os.path.abspath(__file__))
        candidati.append(os.path.normpath(os.path.join(qui, _installazione.LIBRERIA)))
        candidati.append(_installazione.SONAME)
    except ImportError:
        pass
    trovata = ctypes.util.find_library("Veltrano_dll")
    if trovata:
        candidati.append(trovata)
    return candidati


def _carica():
    tentativi = []
    for c in _candidati():
        try:
            return ctypes.CDLL(c)
        except OSError as e:
            tentativi.append(str(e))
    raise ImportError("libreria Veltrano_dll non trovata (VELTRANO_LIBRERIA la indica): " +
                      ("; ".join(tentativi) or "nessun candidato"))


lib = _carica()

_p = ctypes.POINTER
_messaggio = [ctypes.c_char_p, ctypes.c_size_t]

lib.VeltranoVersione.argtypes = [_p(ctypes.c_void_p)]
lib.VeltranoVersione.restype = None
lib.VeltranoStringaLunghezza.argtypes = [ctypes.c_void_p]
lib.VeltranoStringaLunghezza.restype = ctypes.c_int32
lib.VeltranoStringaRilascia.argtypes = [_p(ctypes.c_void_p)]
lib.VeltranoStringaRilascia.restype = None
lib.VeltranoGrigliaApri.argtypes = [ctypes.c_char_p, _p(ctypes.c_void_p)] + _messaggio
lib.VeltranoGrigliaApri.restype = ctypes.c_int
lib.VeltranoGrigliaChiudi.argtypes = [ctypes.c_void_p]
lib.VeltranoGrigliaChiudi.restype = None
lib.VeltranoCalcolatoreNuovo.argtypes = [ctypes.c_void_p, _p(ctypes.c_void_p)] + _messaggio
lib.VeltranoCalcolatoreNuovo.restype = ctypes.c_int
lib.VeltranoCalcolatoreLibera.argtypes = [ctypes.c_void_p]
lib.VeltranoCalcolatoreLibera.restype = None
lib.VeltranoCalcolaSito.argtypes = [ctypes.c_void_p, ctypes.c_uint8, ctypes.c_float, ctypes.c_float,
                                    ctypes.c_int32, ctypes.c_int32, _p(TGIS_DatiOut)] + _messaggio
lib.VeltranoCalcolaSito.restype = ctypes.c_int
lib.VeltranoTempoRitornoPGA.argtypes = [ctypes.c_void_p, ctypes.c_float, ctypes.c_float, ctypes.c_float,
                                        _p(ctypes.c_int32)] + _messaggio
lib.VeltranoTempoRitornoPGA.restype = ctypes.c_int
lib.VeltranoCalcolaSiti.argtypes = [ctypes.c_void_p, ctypes.c_uint8, ctypes.c_size_t,
                                    _p(ctypes.c_float), _p(ctypes.c_float), _p(ctypes.c_int32),
                                    _p(ctypes.c_int32), _p(VeltranoUscitaSiti), ctypes.c_int] + _messaggio
lib.VeltranoCalcolaSiti.restype = ctypes.c_int
