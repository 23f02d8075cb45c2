#pragma once
// The project model's own texts, French as the system writes them; each goes through the
// translation function before it reaches the user.

namespace zov::project::texts {

inline constexpr const char* kInterfaceMissing = "L'interface du projet n'est pas présente !";
inline constexpr const char* kBackupRecovered =
    "Le projet n'a pas été correctement sauvegardé.\nChargement de la dernière sauvegarde ...";
// Shown by the caller with the path in place of %s.
inline constexpr const char* kCannotLoad = "Impossible de charger le fichier:\n%s";
// The technical-facts file's own wording, kept as users' translations know it.
inline constexpr const char* kCannotLoadFacts = "Impossible de charge le fichier:\n%s";
inline constexpr const char* kCannotSave = "Impossible d'enregistrer le fichier:\n%s";

inline constexpr const char* kRequirementHeaders[] = {"ID",       "Titre", "Texte",   "Référence",
                                                      "Résultat", "Date",  "Version", "FT"};
inline constexpr const char* kFactHeaders[] = {"ID", "Titre", "Référence", "Résultat", "Date", "Version"};
inline constexpr const char* kOkLabel = "OK";
inline constexpr const char* kNokLabel = "NOK";
inline constexpr const char* kUntestedLabel = "Non testé";

}  // namespace zov::project::texts
