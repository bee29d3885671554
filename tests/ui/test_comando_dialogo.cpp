// "veltrano dialogo" as a user runs it: confirming prints what a host would
// receive (text or JSON) and exits 0, cancelling exits 3 and prints nothing;
// and the dialog's report is, line for line, "veltrano sito"'s for the same
// site, the municipality found the same way.
#include "cli/comandi.h"
#include "tests/ui/supporto_qt.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <sstream>

using namespace veltrano;

namespace {

void Poi(int ms, std::function<void(QWidget*)> azione) {
    QTimer::singleShot(ms, [azione] {
        QWidget* w = QApplication::activeModalWidget();
        ASSERT_NE(w, nullptr);
        azione(w);
    });
}

struct Esito {
    int codice;
    std::string out, err;
};

Esito Esegui(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int c = cli::Principale(args, out, err);
    return {c, out.str(), err.str()};
}

// The user types a site, applies it and confirms.
void ConfermaSito(QWidget* w) {
    for (auto [nome, testo] : {std::pair{"Edit1", "13.4"}, {"Edit2", "42.35"}}) {
        auto* e = w->findChild<QLineEdit*>(nome);
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, testo);
    }
    w->findChild<QPushButton*>("SB_Applica")->click();
    w->findChild<QPushButton*>("SB_Chiudi")->click();
}

} // namespace

TEST(ComandoDialogo, ConfermaStampaIlRecordAnnullaEsceCon3) {
    test::CartellaTemporanea dati("cli_dialogo");
    Poi(300, ConfermaSito);
    const Esito j = Esegui({"dialogo", "--dati", dati.p.string(), "--formato", "json"});
    ASSERT_EQ(j.codice, 0) << j.err;
    EXPECT_EQ(j.out.rfind("{\"TipoRic\":1,\"nomeLoc_new\":\"L'Aquila\",\"LonSito\":13.4,", 0), 0u) << j.out;
    EXPECT_NE(j.out.find("\"stati_limite\":[{\"nome\":\"SLO\""), std::string::npos);
    Poi(300, ConfermaSito);
    const Esito t = Esegui({"dialogo", "--dati", dati.p.string()});
    ASSERT_EQ(t.codice, 0);
    EXPECT_EQ(t.out.rfind("TipoRic\t1\n", 0), 0u) << t.out;
    EXPECT_NE(t.out.find("\nSLV\tTR 475\t"), std::string::npos) << t.out;
    Poi(300, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    const Esito a = Esegui({"dialogo", "--dati", dati.p.string()});
    EXPECT_EQ(a.codice, 3);
    EXPECT_EQ(a.out, "");
    EXPECT_EQ(a.err, "veltrano dialogo: annullato\n");
}

TEST(ComandoDialogo, IlRapportoEQuelloDiVeltranoSito) {
    test::CartellaTemporanea dati("cli_rapporto");
    struct Sito {
        const char* lon;
        const char* lat;
    };
    for (const Sito s : {Sito{"13.4000", "42.3500"}, Sito{"11.3426", "44.4938"}, Sito{"15.0870", "37.5020"},
                         Sito{"9.1100", "39.2200"}}) {
        std::string rapporto, altitudine;
        Poi(300, [&](QWidget* w) {
            auto* lon = w->findChild<QLineEdit*>("Edit1");
            auto* lat = w->findChild<QLineEdit*>("Edit2");
            lon->setFocus();
            lon->selectAll();
            QTest::keyClicks(lon, s.lon);
            lat->setFocus();
            lat->selectAll();
            QTest::keyClicks(lat, s.lat);
            w->findChild<QPushButton*>("SB_Applica")->click();
            rapporto = w->findChild<QPlainTextEdit*>("LR_Dati")->toPlainText().toStdString() + "\n";
            altitudine = w->findChild<QLineEdit*>("NxTextItem7")->text().toStdString();
            QTest::keyClick(w, Qt::Key_Escape);
        });
        ASSERT_EQ(Esegui({"dialogo", "--dati", dati.p.string()}).codice, 3);
        std::vector<std::string> args{"sito", "--wgs84", "--lon", s.lon, "--lat", s.lat, "--dati", dati.p.string()};
        if (!altitudine.empty()) {
            args.push_back("--altitudine");
            args.push_back(altitudine);
        }
        const Esito sito = Esegui(args);
        ASSERT_EQ(sito.codice, 0) << sito.err;
        EXPECT_EQ(rapporto, sito.out) << s.lon << " " << s.lat;
    }
}
