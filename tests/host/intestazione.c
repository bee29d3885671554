/* The public header must compile as plain C. */
#include "veltrano/veltrano.h"

int veltrano_intestazione_c(void) { return (int)sizeof(TGIS_DatiOut); }
