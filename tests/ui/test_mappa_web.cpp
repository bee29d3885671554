// The on-line map in Qt WebEngine, offscreen, in one process (WebEngine
// starts once): the bridge with a page of the tests that offers the same
// functions and elements (the click through the web channel to the form,
// the position and altitude texts, the 0.0000 fall-back, the first click
// that only marks the site, the ruler and the address search); no
// connection; the real Tavrel.htm offline (its functions and elements, the
// positions in its position text, the altitude of the nearest municipality,
// the search among the municipalities' names, the ruler). Screenshots go to
// build/schermate.
#include "dialog/coordinate.h"
#include "geo/comuni.h"
#include "map/testo1252.h"
#include "tests/ui/supporto_qt.h"
#include "ui/qt/mappa_web_qt.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWebEngineView>


using namespace veltrano;
using namespace veltrano::dialogo;
using veltrano::ui::TFMapMainQt;
using veltrano::ui::TMappaWebQt;
using C = TControllo;

namespace {

// What JavaScript prints for the number a row holds ("42.3500" -> "42.35").
QString NumeroJs(const std::string& riga) {
    return QString::number(NumeroOZero(riga), 'g', QLocale::FloatingPointShortest);
}

// The window over a scratch folder whose Tavrel.htm is pagina.
struct FinestraWeb : test::FinestraProva {
    explicit FinestraWeb(const std::string& nome) : FinestraProva(nome) {}
    void ConPagina(const std::filesystem::path& pagina) {
        std::filesystem::copy_file(pagina, dati.p / "Tavrel.htm");
    }
    void ConPaginaVera() {
        std::filesystem::create_symlink(test::DatiCostruiti() / "Tavrel.htm", dati.p / "Tavrel.htm");
        std::filesystem::create_directory_symlink(test::DatiCostruiti() / "mappa_web", dati.p / "mappa_web");
    }
    void Premi(C c) { w.Azione(c)->trigger(); }
    TMappaWebQt& Web() { return *w.MappaWeb(); }
    // The web map lies over the map control.
    bool WebDavanti() const {
        const auto figli = w.WebBrowser1->parentWidget()->children();
        return figli.indexOf(w.WebBrowser1) > figli.indexOf(w.Map);
    }
    QStringList Chiamate() { return Web().Valuta("chiamate").toStringList(); }
};

struct Connessione {
    explicit Connessione(const char* v) { qputenv("VELTRANO_CONNESSIONE", v); }
    ~Connessione() { qunsetenv("VELTRANO_CONNESSIONE"); }
};

class MappaWebQt : public ::testing::Test {
protected:
    void TearDown() override {
        // WebEngine lets its view's parts go a moment after the view.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTest::qWait(50);
        test::NessunaFinestraRimasta();
    }
};

} // namespace

TEST_F(MappaWebQt, SenzaConnessioneIlMessaggioELaCartina) {
    Connessione c("0");
    QStringList ricevuti;
    const auto prima = TFMapMainQt::MostraInformazione;
    TFMapMainQt::MostraInformazione = [&](QWidget*, const QString& titolo, const QString& testo) {
        ricevuti << titolo << testo;
    };
    {
        FinestraWeb t("qt_web_offline");
        t.Apri(13.4f, 42.35f, 1200, 800);
        ASSERT_TRUE(t.w.Azione(C::TB_Google)->isEnabled());
        t.Premi(C::TB_Google);
        EXPECT_EQ(ricevuti, (QStringList{"INFO", "Per usufruire di questa funzione\nconnettersi ad internet e "
                                                 "riavviare l'applicazione!"}));
        EXPECT_FALSE(t.w.Azione(C::TB_Google)->isChecked());
        EXPECT_TRUE(t.w.Azione(C::TB_Map)->isChecked());
        EXPECT_EQ(t.w.MappaWeb(), nullptr) << "WebEngine is not started for nothing";
        EXPECT_FALSE(t.WebDavanti());
    }
    TFMapMainQt::MostraInformazione = prima;
}

TEST_F(MappaWebQt, IlClickDellaPaginaArrivaAlForm) {
    Connessione c("1");
    FinestraWeb t("qt_web_ponte");
    t.ConPagina(std::filesystem::path(VELTRANO_PROVE_UI) / "dati/mappa_prova.htm");
    t.Apri(13.4f, 42.35f, 1200, 800);
    TFMapMain& f = *t.f;
    const std::string lon0 = f.Testo(C::Edit1), lat0 = f.Testo(C::Edit2);
    t.Premi(C::TB_Google);
    ASSERT_NE(t.w.MappaWeb(), nullptr);
    ASSERT_TRUE(f.WebBrowserDocumentComplete) << "the form waited for the page";
    EXPECT_TRUE(t.WebDavanti());
    EXPECT_TRUE(t.w.Widget(C::EditIndirizzo)->isVisible());
    QTRY_VERIFY(t.Web().Valuta("window.veltranoPonte === true", TMappaWebQt::MondoPonte).toBool());
    EXPECT_TRUE(t.Chiamate().isEmpty());

    // A click beside the map reaches the form, which reads "click-valido"
    // and stops.
    t.Web().Valuta("clicca('0', 'Latitudine: 41.0000 - Longitudine: 12.0000', '9.00')");
    QTest::qWait(300);
    EXPECT_FALSE(f.bClick1);

    // First valid click: only the marker on the current site.
    const std::string alt0 = f.Testo(C::NxTextItem7);
    t.Web().Valuta("clicca('1', 'Latitudine: 45.1234 - Longitudine: 9.56780', '250.00')");
    QTRY_COMPARE(t.Chiamate().size(), 2);
    EXPECT_EQ(f.Testo(C::NxTextItem7), alt0) << "the site keeps its altitude";
    EXPECT_EQ(f.Testo(C::Edit1), lon0);
    EXPECT_EQ(f.Testo(C::Edit2), lat0);
    EXPECT_EQ(t.Chiamate(), (QStringList{"setLatLng(" + NumeroJs(lat0) + "," + NumeroJs(lon0) + ")",
                                        "GotoLatLng(" + NumeroJs(lat0) + "," + NumeroJs(lon0) + ")"}));
    t.Schermata("mappa_web_prova.png", 200);

    // The next one moves the site to the page's position.
    t.Web().Valuta("clicca('1', 'Latitudine: 45.1234 - Longitudine: 9.56780', '120.00')");
    QTRY_COMPARE(QString::fromStdString(f.Testo(C::Edit1)), QString("9.56780"));
    EXPECT_EQ(f.Testo(C::Edit2), "45.1234");
    EXPECT_EQ(f.Testo(C::NxTextItem7), "120.00");
    EXPECT_EQ(t.Chiamate().last(), "GotoLatLng(45.1234,9.5678)");
    EXPECT_EQ(f.sCom, "Senna Lodigiana");

    // A position text too short for the longitude: both rows 0.0000.
    t.Web().Valuta("clicca('1', 'Latitudine: 45.1234 - Longi', '')");
    QTRY_COMPARE(QString::fromStdString(f.Testo(C::Edit1)), QString("0.0000"));
    EXPECT_EQ(f.Testo(C::Edit2), "0.0000");

    // The ruler and the address search go to the page's functions.
    auto* calcDist = qobject_cast<QPushButton*>(t.w.Widget(C::SB_CalcDist));
    ASSERT_NE(calcDist, nullptr);
    QTest::mouseClick(calcDist, Qt::LeftButton);
    QTest::mouseClick(calcDist, Qt::LeftButton);
    auto* indirizzo = qobject_cast<QLineEdit*>(t.w.Widget(C::EditIndirizzo));
    ASSERT_NE(indirizzo, nullptr);
    f.Cambiato(C::Edit1, "13.4000");
    f.Cambiato(C::Edit2, "42.3500");
    QTest::keyClicks(indirizzo, "Sulmona");
    QTest::mouseClick(qobject_cast<QPushButton*>(t.w.Widget(C::SB_Applica)), Qt::LeftButton);
    QTRY_VERIFY(t.Chiamate().contains("codeAddress(\"Sulmona, italy\")"));
    const QStringList ch = t.Chiamate();
    const auto i = ch.indexOf("addruler()");
    ASSERT_GE(i, 0) << ch.join(" ").toStdString();
    EXPECT_EQ(ch.mid(i, 4), (QStringList{"addruler()", "clearDistance()", "GotoLatLng_ex(42.35,13.4)",
                                         "codeAddress(\"Sulmona, italy\")"}));

    // Back to the dialog's map.
    t.Premi(C::TB_Map);
    EXPECT_FALSE(t.WebDavanti());
    EXPECT_FALSE(t.w.Widget(C::EditIndirizzo)->isVisible());
}

TEST_F(MappaWebQt, LaPaginaVeraFunzionaSenzaRete) {
    Connessione c("1");
    FinestraWeb t("qt_web_vera");
    t.ConPaginaVera();
    t.Apri(13.4f, 42.35f, 1100, 760);
    t.Premi(C::TB_Google);
    ASSERT_TRUE(t.f->WebBrowserDocumentComplete);
    TMappaWebQt& web = t.Web();
    t.Schermata("mappa_web_apertura.png", 200);
    for (const char* fn : {"setLatLng", "GotoLatLng", "GotoLatLng_ex", "codeAddress", "clearDistance", "addruler"})
        EXPECT_EQ(web.Valuta(QString("typeof %1").arg(fn)).toString(), "function") << fn;
    for (const char* id : {"click-valido", "latlng-control", "alt-control"})
        EXPECT_TRUE(web.Valuta(QString("document.getElementById('%1') !== null").arg(id)).toBool()) << id;
    EXPECT_EQ(web.Valuta("typeof L").toString(), "object") << "Leaflet loaded from beside the page";
    EXPECT_GT(web.Valuta("ComuniVeltrano.length").toInt(), 7000);

    // The position text puts the numbers where the dialog reads them.
    const auto posizione = [&](double lat, double lon) {
        web.Valuta(QString("clicSullaMappa(L.latLng(%1, %2))").arg(lat, 0, 'f', 6).arg(lon, 0, 'f', 6));
        return web.Leggi("latlng-control").value_or("");
    };
    QString p = posizione(42.35, 13.4);
    EXPECT_EQ(p.mid(12, 7), "42.3500") << p.toStdString();
    EXPECT_EQ(p.mid(35, 7), "13.4000") << p.toStdString();
    p = posizione(45.363433, 7.7686);
    EXPECT_EQ(p.mid(12, 7), "45.3634");
    EXPECT_EQ(p.mid(35, 7), "7.76860") << "a one-digit longitude keeps seven characters";
    EXPECT_EQ(web.Leggi("click-valido").value_or(""), "1");

    // The altitude is that of the nearest municipality of the database.
    const auto comuni = LeggiComuni((test::DatiCostruiti() / "").u16string());
    const TCoordComune* aquila = nullptr;
    for (const TCoordComune& k : comuni)
        if (mappa::DaStringaCorta(k.Nome) == "L'Aquila")
            aquila = &k;
    ASSERT_NE(aquila, nullptr);
    posizione(aquila->Lat + 0.001, aquila->Lon - 0.001);
    EXPECT_EQ(web.Leggi("alt-control").value_or("").toStdString(), FormatoReale("%4.2f", aquila->Alt));

    // The search knows the municipalities' names, and says when it fails.
    EXPECT_TRUE(web.Valuta("codeAddress(\"Via Roma 1, L'Aquila, italy\")").toBool());
    EXPECT_TRUE(web.Valuta("codeAddress(\"00161 Roma, italy\")").toBool());
    EXPECT_FALSE(web.Valuta("codeAddress(\"Xyzzy, italy\")").toBool());
    EXPECT_TRUE(web.Valuta("document.getElementById('esito-ricerca').textContent").toString().contains("non trovato"));

    // The ruler takes the clicks (not valid for the dialog) and measures.
    web.Valuta("addruler(); clicSullaMappa(L.latLng(42, 13)); clicSullaMappa(L.latLng(43, 13))");
    EXPECT_NEAR(web.Valuta("righello.totale").toDouble(), 111200, 300);
    EXPECT_EQ(web.Leggi("click-valido").value_or(""), "1") << "a call by script is no click";
    web.Valuta("document.getElementById('mappa').click()");
    EXPECT_EQ(web.Leggi("click-valido").value_or(""), "0");
    web.Valuta("clearDistance()");
    EXPECT_TRUE(web.Valuta("righello === null").toBool());

    // A user's clicks on the map, with the mouse: the first one marks the
    // site, the second makes the clicked point the site.
    web.Valuta("mappa.setView([42.35, 13.4], 9, {animate: false}); true");
    QWidget* superficie = web.Vista()->focusProxy();
    ASSERT_NE(superficie, nullptr);
    const QPoint punto = superficie->rect().center() + QPoint(120, 80);
    for (int volte = 0; volte < 2; ++volte) {
        QTest::mouseClick(superficie, Qt::LeftButton, {}, punto);
        QTest::qWait(300);
    }
    const QString clic = web.Leggi("latlng-control").value_or("");
    QTRY_COMPARE(QString::fromStdString(t.f->Testo(C::Edit2)), clic.mid(12, 7));
    EXPECT_EQ(QString::fromStdString(t.f->Testo(C::Edit1)), clic.mid(35, 7));
    EXPECT_LT(NumeroOZero(t.f->Testo(C::Edit2)), 42.35) << "below the centre";
    EXPECT_GT(NumeroOZero(t.f->Testo(C::Edit1)), 13.4) << "right of the centre";
    EXPECT_EQ(QString::fromStdString(t.f->Testo(C::NxTextItem7)), web.Leggi("alt-control").value_or("-"));
    t.Schermata("mappa_web_tavrel.png", 200);
}
