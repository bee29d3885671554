// Windows-1252 short strings: accented names survive the round trip, the
// bytes that a Latin-1 reading of the sources turned into control codes come
// back as the letters they were, and upper-casing follows the code page.
#include "map/testo1252.h"

#include <gtest/gtest.h>

using namespace veltrano::mappa;

TEST(Testo1252, NomiAccentatiAndataERitorno) {
    struct Caso { const char* utf8; const char* byte; };
    const Caso casi[] = {{"Forlì", "Forl\xEC"}, {"Cefalù", "Cefal\xF9"},
                         {"Valle d'Aosta/Vallée d'Aoste", "Valle d'Aosta/Vall\xE9" "e d'Aoste"},
                         {"Südtirol", "S\xFC" "dtirol"}, {"Nabrežina", "Nabre\x9Eina"},
                         {"€", "\x80"}};
    for (const Caso& c : casi) {
        EXPECT_EQ(Utf8A1252(c.utf8), c.byte) << c.utf8;
        EXPECT_EQ(Da1252AUtf8(c.byte), c.utf8) << c.utf8;
    }
}

TEST(Testo1252, CodiciDiControlloDiventanoLeLettereDelCodice) {
    // U+009E and U+008A in the municipality sources stand for ž and Š.
    EXPECT_EQ(Utf8A1252("Nabre\xC2\x9Eina"), "Nabre\x9Eina");
    EXPECT_EQ(Da1252AUtf8(Utf8A1252("\xC2\x8Ateverjan")), "Števerjan");
    EXPECT_EQ(Utf8A1252("日本"), "??");
}

TEST(Testo1252, Maiuscole) {
    EXPECT_EQ(MaiuscoloAZ("Vallée d'Aoste"), "VALLéE D'AOSTE");
    EXPECT_EQ(Maiuscolo1252(Utf8A1252("Vallée d'Aoste")), Utf8A1252("VALLÉE D'AOSTE"));
    EXPECT_EQ(Maiuscolo1252("\x9E\x9A\xFF"), "\x8E\x8A\x9F");
    EXPECT_TRUE(UgualeIgnorandoAZ("Emilia-Romagna", "EMILIA-ROMAGNA"));
    EXPECT_FALSE(UgualeIgnorandoAZ("Forl\xEC", "FORL\xCC"));
    EXPECT_TRUE(UgualeIgnorando1252("Forl\xEC", "FORL\xCC"));
}

TEST(Testo1252, StringaCortaTagliataEAzzerata) {
    uint8_t im[51];
    std::fill(std::begin(im), std::end(im), uint8_t{0xAA});
    AStringaCorta(std::string(60, 'x'), im, 50);
    EXPECT_EQ(im[0], 50);
    EXPECT_EQ(DaStringaCorta(im), std::string(50, 'x'));
    AStringaCorta("Arial", im, 50);
    EXPECT_EQ(DaStringaCorta(im), "Arial");
    EXPECT_EQ(im[6], 0);
}
