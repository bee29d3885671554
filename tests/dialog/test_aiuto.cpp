// Warnings and help without any window: the eleven lines reach the view,
// help goes to a host that gave a handler and to nobody else, and the
// "not available" message is shown once however often help is asked while
// it is on screen.
#include "dialog/TFMapMain.h"
#include "dialog/testi_aiuto.h"
#include "tests/dialog/vista_prova.h"
#include "tests/supporto_dati.h"

#include <gtest/gtest.h>

using namespace veltrano;
using namespace veltrano::dialogo;
using C = TControllo;

namespace {

struct VistaAiuto : test::TVistaProva {
    std::vector<std::vector<std::string>> avvertenze;
    std::function<void()> durante; // what the user does while a message is up
    void MostraAvvertenze(const std::vector<std::string>& r) override { avvertenze.push_back(r); }
    void Messaggio(const std::string& t) override {
        test::TVistaProva::Messaggio(t);
        if (durante)
            durante();
    }
};

struct Form {
    test::CartellaTemporanea dati{"aiuto"};
    VistaAiuto vista;
    std::unique_ptr<TFMapMain> f;
    Form() {
        f = std::make_unique<TFMapMain>(dati.p, vista);
        vista.Collega(f.get());
        f->MappaDimensioni(900, 700);
        f->Mostrato();
        vista.messaggi.clear();
    }
};

struct Ospite {
    int chiamate = 0;
    int32_t contesto = -1;
    static void VELTRANO_STDCALL Aiuto(void* c, int32_t k) {
        auto* o = static_cast<Ospite*>(c);
        ++o->chiamate;
        o->contesto = k;
    }
};

} // namespace

TEST(Aiuto, AvvertenzeUndiciRighe) {
    Form f;
    f.f->Click(C::TB_Avvertenze);
    ASSERT_EQ(f.vista.avvertenze.size(), 1u);
    const auto& r = f.vista.avvertenze[0];
    ASSERT_EQ(r.size(), 11u);
    EXPECT_EQ(r[0], "I CALCOLI DI INTERPOLAZIONE");
    EXPECT_EQ(r[2], "LE \"TABELLE DEI PARAMETRI CHE");
    EXPECT_EQ(r[3], "DEFINISCONO L'AZIONE SISMICA\"");
    EXPECT_EQ(r[10], "APPROSIMAZIONE DEI DATI.");
    EXPECT_TRUE(f.vista.messaggi.empty());
}

TEST(Aiuto, SenzaOspiteIlMessaggioUnaVolta) {
    Form f;
    // Help asked twice while the message is up: one box only.
    f.vista.durante = [&] { f.f->Click(C::TB_Help); };
    f.f->Click(C::TB_Help);
    ASSERT_EQ(f.vista.messaggi.size(), 1u);
    EXPECT_EQ(f.vista.messaggi[0], testi::GuidaNonDisponibile);
    // Once closed, a new request shows it again.
    f.vista.durante = nullptr;
    f.f->Click(C::TB_Help);
    EXPECT_EQ(f.vista.messaggi.size(), 2u);
    EXPECT_FALSE(f.f->MsgHlpVis);
}

TEST(Aiuto, LOspiteRiceveIlContestoZero) {
    Form f;
    Ospite o;
    TVeltranoOspite record{VELTRANO_FIRMA_OSPITE, &o, &Ospite::Aiuto};
    f.f->MainApp = &record;
    f.f->Click(C::TB_Help);
    f.f->Click(C::TB_Help);
    EXPECT_EQ(o.chiamate, 2);
    EXPECT_EQ(o.contesto, 0);
    EXPECT_TRUE(f.vista.messaggi.empty());

    // A record without our signature, or without a handler, is not called.
    record.Firma = 0;
    f.f->Click(C::TB_Help);
    record.Firma = VELTRANO_FIRMA_OSPITE;
    record.Aiuto = nullptr;
    f.f->Click(C::TB_Help);
    EXPECT_EQ(o.chiamate, 2);
    EXPECT_EQ(f.vista.messaggi.size(), 2u);
}
