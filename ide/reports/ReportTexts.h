#pragma once
// The report writers' own texts, French as the system writes them; each goes through the
// translation function before it reaches the user or the file.

namespace zov::reports::texts {

inline constexpr const char* kSaved = "Le rapport a bien été sauvegardé";
inline constexpr const char* kSaveFailed = "Erreur lors de la sauvegarde du rapport !";
// Filled with the PDF library's error code after translation.
inline constexpr const char* kPdfSaveFailed = "Erreur lors de la sauvegarde du rapport (0x%08X) !";
// Filled with the path after translation.
inline constexpr const char* kCannotSave = "Impossible d'enregistrer le fichier:\n%s";

inline constexpr const char* kOk = "OK";
inline constexpr const char* kNok = "NOK";
inline constexpr const char* kNotTested = "NT";
inline constexpr const char* kNoResult = "Aucun résultat";

inline constexpr const char* kProject = "Projet";
inline constexpr const char* kVersion = "Version";
inline constexpr const char* kSummary = "Résumé";
inline constexpr const char* kTests = "Tests";
inline constexpr const char* kErrors = "Erreurs";
inline constexpr const char* kSuccessRate = "Taux de succès";
inline constexpr const char* kDuration = "Durée";
inline constexpr const char* kTest = "Test";
inline constexpr const char* kComment = "Commentaire";
inline constexpr const char* kResult = "Résultat";
inline constexpr const char* kStart = "Début";

}  // namespace zov::reports::texts
