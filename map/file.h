// The few file operations of the map and the dialog, kept here so that the
// rest of the code needs no platform call: read a file whole, write one so
// that a failure never leaves it half written, remove one. Paths are
// std::filesystem paths (wide on Windows). Thread-safe for distinct files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace veltrano::mappa {

/// The whole file; nothing when it does not exist. Throws ErroreApertura
/// when it exists but cannot be read (a folder in its place included).
std::optional<std::vector<uint8_t>> LeggiFile(const std::filesystem::path& percorso);

/// Writes dati to a temporary file beside percorso and renames it over
/// percorso, so a failed write leaves the previous file as it was. Throws
/// ErroreApertura (the file cannot be created or replaced) or ErroreLettura
/// (a write failed), naming the file and the reason.
void ScriviFileSicuro(const std::filesystem::path& percorso, std::span<const uint8_t> dati);

/// True when a file (or folder) is there.
bool Esiste(const std::filesystem::path& percorso);
/// Removes the file if it is there; false when it stays.
bool Rimuovi(const std::filesystem::path& percorso);
/// Renames da over a, replacing a file already there; false on failure.
bool Sostituisci(const std::filesystem::path& da, const std::filesystem::path& a);

/// True when a file can be created in the folder (one is made and removed).
bool Scrivibile(const std::filesystem::path& cartella);
/// The user's own folder for the program's files: %APPDATA%/Veltrano on
/// Windows, $XDG_DATA_HOME/veltrano or ~/.local/share/veltrano elsewhere,
/// created when missing; empty when there is none.
std::filesystem::path CartellaUtente();

/// The path as UTF-8 for messages.
std::string NomeFile(const std::filesystem::path& percorso);

} // namespace veltrano::mappa
