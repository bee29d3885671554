/* A C host of the re-entrant C API, linked against the library: opens the
 * grid, computes a site, reads the failure codes and messages, frees all. */
#include "veltrano/veltrano.h"

#include <stdio.h>
#include <string.h>

static int falliti = 0;
#define CONTROLLA(c)                                                  \
    do {                                                              \
        if (!(c)) {                                                   \
            fprintf(stderr, "%s:%d: falso: %s\n", __FILE__, __LINE__, #c); \
            ++falliti;                                                \
        }                                                             \
    } while (0)

int main(int argc, char** argv) {
    char msg[256];
    VeltranoGriglia* g = NULL;
    VeltranoCalcolatore* c = NULL;
    TGIS_DatiOut d;
    int32_t tr = 0;
    if (argc != 2) {
        fprintf(stderr, "uso: host_c GeoDati.dat\n");
        return 2;
    }
    CONTROLLA(VeltranoGrigliaApri("/non/esiste/GeoDati.dat", &g, msg, sizeof msg) == VELTRANO_ERRORE_APERTURA);
    CONTROLLA(g == NULL);
    CONTROLLA(strstr(msg, "GeoDati.dat") != NULL);
    CONTROLLA(VeltranoGrigliaApri(argv[1], &g, msg, sizeof msg) == VELTRANO_OK);
    CONTROLLA(VeltranoCalcolatoreNuovo(g, &c, msg, sizeof msg) == VELTRANO_OK);
    memset(&d, 0xAB, sizeof d);
    CONTROLLA(VeltranoCalcolaSito(c, Norm_DM2008, 13.4f, 42.35f, 50, 2, &d, msg, sizeof msg) == VELTRANO_OK);
    CONTROLLA(d.NumVert == 4);
    CONTROLLA(d.SLV.Tr == 475.0f);
    CONTROLLA(d.SLV.ag > 0.2606f && d.SLV.ag < 0.2608f);
    CONTROLLA(d.alt != d.alt || ((const unsigned char*)&d)[751] == 0xAB); /* untouched */
    CONTROLLA(VeltranoCalcolaSito(c, Norm_DM2008, 13.4f, 42.35f, 50, 300, &d, msg, sizeof msg) ==
              VELTRANO_ERRORE_INTERVALLO);
    CONTROLLA(strstr(msg, "ClasseUso") != NULL);
    CONTROLLA(VeltranoCalcolaSito(c, Norm_DM2008, 13.4f, 42.35f, 50, 2, NULL, msg, 8) == VELTRANO_ERRORE_ARGOMENTO);
    CONTROLLA(strlen(msg) == 7); /* cut to the buffer */
    CONTROLLA(VeltranoTempoRitornoPGA(c, 13.4f, 42.35f, 0.15f, &tr, NULL, 0) == VELTRANO_OK);
    CONTROLLA(tr == 114);
    CONTROLLA(strcmp(VeltranoDescrizioneCodice(VELTRANO_ERRORE_LETTURA), "file troppo corto") == 0);
    VeltranoCalcolatoreLibera(c);
    VeltranoGrigliaChiudi(g);
    VeltranoGrigliaChiudi(NULL);
    printf("%d passed, %d failed\n", 13 - falliti, falliti);
    return falliti != 0;
}
