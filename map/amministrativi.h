// The administrative names the dialog compares: its fixed list of the 20
// regions, and how region names of the boundary sources map onto it.
// Texts are UTF-8 here; the map files and the database hold them in
// Windows-1252. Pure; thread-safe.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace veltrano::mappa {

/// The region list of the dialog, in its fixed order (after its placeholder).
inline constexpr std::array<const char*, 20> ElencoRegioni{
    "Abruzzo", "Basilicata", "Calabria", "Campania", "Emilia-Romagna", "Friuli-Venezia Giulia",
    "Lazio", "Liguria", "Lombardia", "Marche", "Molise", "Piemonte", "Puglia", "Sardegna",
    "Sicilia", "Toscana", "Trentino-Alto Adige", "Umbria", "Valle d'Aosta/Vallée d'Aoste", "Veneto"};

/// The list's name for a region name of the boundary sources (UTF-8), or
/// nothing when the region is not in the list. Bilingual source names are
/// matched on the Italian part when the list has no bilingual form.
std::optional<std::string> RegioneElenco(std::string_view nomeSorgente);

/// Attribute field (0-based) that holds the name in each administrative layer.
inline constexpr int CampoNomeRegione = 1, CampoNomeProvincia = 2, CampoNomeComune = 6;

} // namespace veltrano::mappa
