// The plugin libVeltrano_dialogo_qt.so: its entries VeltranoDialogoQt and
// VeltranoDialogoQtAbi are defined in dialogo_qt.cpp, VeltranoGraficoQt in
// grafico_qt.cpp, VeltranoRelazioneQt in relazione_qt.cpp, VeltranoGuidaQt in
// guida_qt.cpp, linked in whole.
#include "ui/qt/dialogo_qt.h"
#include "ui/qt/grafico_qt.h"
#include "ui/qt/guida_qt.h"
