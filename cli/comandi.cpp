#include "cli/comandi.h"

#include "cli/formato.h"
#include "veltrano/versione.h"

#include <algorithm>
#include <array>
#include <iostream>
#include <new>
#include <string_view>

namespace veltrano::cli {

namespace {

std::vector<const Comando*> Tabella() {
    std::vector<const Comando*> t{&ComandoSito, &ComandoTempi, &ComandoPga, &ComandoConverti, &ComandoSpettro,
                                  &ComandoRelazione};
    t.push_back(&ComandoDialogo);
    t.push_back(&ComandoLotto);
    return t;
}

std::string Uso() {
    std::string u = "uso: veltrano COMANDO [OPZIONI]\n"
                    "\n"
                    "Pericolosità sismica dei siti italiani secondo il D.M. 14/01/2008.\n"
                    "\n"
                    "Comandi:\n";
    for (const Comando* c : Tabella())
        u += "  " + std::string(c->nome) + std::string(11 - std::string_view(c->nome).size(), ' ') + c->sintesi + "\n";
    u += "  versione   versione della libreria\n"
         "\n"
         "'veltrano COMANDO --help' descrive le opzioni di ciascun comando.\n"
         "Codici di uscita: 0 riuscito, 1 non riuscito (un file di dati mancante o\n"
         "danneggiato, un file che non si può scrivere), 2 uso errato o dati fuori\n"
         "intervallo, 3 finestra di dialogo annullata.\n";
    return u;
}

// Edit distance, for "did you mean" on a mistyped command.
std::size_t Distanza(std::string_view a, std::string_view b) {
    std::vector<std::size_t> d(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        d[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonale = d[0];
        d[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t sopra = d[j];
            d[j] = std::min({d[j] + 1, d[j - 1] + 1, diagonale + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonale = sopra;
        }
    }
    return d[b.size()];
}

int Esegui(const Comando& c, const Parole& args, Flussi& f) {
    if (std::find(args.begin(), args.end(), "--help") != args.end() ||
        std::find(args.begin(), args.end(), "-h") != args.end()) {
        f.out << c.uso;
        return 0;
    }
    const auto errore = [&](const char* testo, int codice) {
        f.out.flush();
        f.err << "veltrano " << c.nome << ": " << testo << "\n";
        return codice;
    };
    try {
        Argomenti a(args);
        return c.corpo(a, f);
    } catch (const ErroreUso& e) {
        return errore(e.what(), 2);
    } catch (const ErroreIntervallo& e) {
        return errore(e.what(), 2);
    } catch (const ErroreArgomento& e) {
        return errore(e.what(), 2);
    } catch (const std::bad_alloc&) {
        return errore("memoria esaurita", 1);
    } catch (const std::exception& e) {
        return errore(e.what(), 1);
    }
}

} // namespace

int Principale(const Parole& args, Flussi& f) {
    if (args.empty()) {
        f.err << Uso();
        return 2;
    }
    const std::string& nome = args[0];
    if (nome == "--help" || nome == "-h" || nome == "aiuto") {
        f.out << Uso();
        return 0;
    }
    if (nome == "--version" || nome == "versione") {
        f.out << VELTRANO_VERSIONE "\n";
        return 0;
    }
    const auto tabella = Tabella();
    for (const Comando* c : tabella)
        if (nome == c->nome)
            return Esegui(*c, Parole(args.begin() + 1, args.end()), f);
    std::string suggerimento;
    for (const Comando* c : tabella)
        if (Distanza(nome, c->nome) <= 2) {
            suggerimento = std::string(" (forse \"") + c->nome + "\"?)";
            break;
        }
    f.err << "veltrano: comando sconosciuto \"" << Citazione(nome) << "\"" << suggerimento
          << "; 'veltrano --help' elenca i comandi\n";
    return 2;
}

int Principale(const Parole& args, std::ostream& out, std::ostream& err) {
    Flussi f{std::cin, out, err};
    return Principale(args, f);
}

} // namespace veltrano::cli
