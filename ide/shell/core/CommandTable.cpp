#include "ide/shell/core/CommandTable.h"

#include "ide/shell/core/DocumentRules.h"

#include <algorithm>
#include <iterator>

namespace zov::shell {
namespace {

using namespace command_ids;

constexpr MenuRow Popup(std::string_view text)
{
    return {MenuRowKind::Popup, 0, text};
}
constexpr MenuRow Item(int id, std::string_view text)
{
    return {MenuRowKind::Command, id, text};
}
constexpr MenuRow kSeparator{MenuRowKind::Separator, 0, {}};
constexpr MenuRow kEnd{MenuRowKind::End, 0, {}};

constexpr MenuRow kMainMenu[] = {
    Popup("&Fichier"),
    Item(kFileNew, "&Nouveau"),
    Item(kFileOpen, "&Ouvrir...\tCtrl+O"),
    Item(kFileClose, "&Fermer"),
    Item(kFileSave, "&Enregistrer\tCtrl+S"),
    Item(kFileSaveAs, "Enregistrer &sous..."),
    Item(kSaveAll, "Tout enregistrer"),
    kSeparator,
    Item(kFilePrint, "&Imprimer...\tCtrl+P"),
    Item(kFilePageSetup, "Mise en page..."),
    kSeparator,
    Popup("Scripts récents"),
    Item(kRecentFile0, "< Aucun >"),
    kEnd,
    Popup("Projets récents"),
    Item(kRecentProject0, "< Aucun >"),
    kEnd,
    kSeparator,
    Item(kAppExit, "&Quitter"),
    kEnd,

    Popup("&Edition"),
    Item(kEditUndo, "&Annuler\tCtrl+Z"),
    Item(kEditRedo, "&Rétablir\tCtrl+Y"),
    kSeparator,
    Item(kEditCut, "Co&uper\tCtrl+X"),
    Item(kEditCopy, "&Copier\tCtrl+C"),
    Item(kEditPaste, "C&oller\tCtrl+V"),
    Item(kEditSelectAll, "&Sélectionner tout\tCtrl+A"),
    kSeparator,
    Item(kEditFind, "&Rechercher...\tCtrl+F"),
    Item(kEditFindNext, "Rechercher suivant\tF3"),
    Item(kEditFindPrevious, "Rechercher précédent\tShift+F3"),
    Item(kEditReplace, "R&emplacer...\tCtrl+H"),
    Item(kGoToLine, "&Aller à la ligne...\tCtrl+G"),
    kSeparator,
    Item(kFindInScripts, "&Rechercher dans les scripts..."),
    kSeparator,
    Item(kComment, "Commenter\tAlt+/"),
    Item(kUncomment, "Dé commenter\tAltl+:"),
    Popup("Signets"),
    Item(kToggleBookmark, "Met/Enlève un signet"),
    Item(kNextBookmark, "Signet suivant"),
    Item(kPreviousBookmark, "Signet précédent"),
    Item(kClearBookmarks, "Enlève les signets"),
    kEnd,
    kEnd,

    Popup("&Affichage"),
    Item(kViewToolbars, "&Barre d'outils"),
    Item(kViewStatusBar, "Barre d'&état"),
    Item(kViewExplorer, "&Projet"),
    Item(kViewOutput, "&Sortie"),
    kSeparator,
    Item(kViewAllInterfaces, "Afficher toutes les interfaces"),
    Item(kShowExecutionLine, "Afficher la ligne d'exécution en cours"),
    Item(kLiveVariables, "Variables en temps réel"),
    kSeparator,
    Item(kPreviousPane, "Volet précédent"),
    kEnd,

    Popup("&Projet"),
    Item(kNewProject, "&Nouveau..."),
    Item(kOpenProject, "Ouvrir..."),
    Item(kSaveProject, "Enregistrer"),
    Item(kSaveProjectAs, "Enregistrer sous..."),
    Item(kCloseProject, "Fermer le projet"),
    kSeparator,
    Item(kAddItem, "&Ajouter...\tCtrl+N"),
    Item(kModifyItem, "&Modifier...\tCtrl+M"),
    Item(kRenameItem, "&Renommer..."),
    Item(kDeleteItem, "&Supprimer...\tSuppr"),
    Item(kDescription, "Description"),
    kSeparator,
    Item(kProjectInformation, "Informations..."),
    Item(kRefresh, "Actualiser"),
    kSeparator,
    Popup("Importer"),
    Item(kImportRequirements, "Exigences..."),
    Item(kImportFacts, "Faits techniques..."),
    kEnd,
    Popup("Exporter"),
    Item(kExportRequirements, "Résultats des exigences..."),
    Item(kExportFacts, "Résultats des faits techniques..."),
    kEnd,
    kSeparator,
    Item(kSelectVersion, "Sélectionner une version..."),
    Item(kRecordResults, "Activer l'enregistrement des résultats\tCtrl+F6"),
    Item(kSynthesis, "Synthèse..."),
    Item(kCreateReport, "Créer un rapport...\tF11"),
    kEnd,

    Popup("&Interface"),
    Item(kInsertInterfaces, "Insérer...\tCtrl+F7"),
    Item(kNewInterface, "Nouvelle..."),
    Item(kEditInterface, "Editer..."),
    Item(kCopyInterfaces, "&Copier..."),
    kSeparator,
    Popup("Macro"),
    Item(kCreateMacro, "Créer...\tCtrl+M"),
    Item(kEditConstantOrMacro, "Modifier constante / macro"),
    Item(kCollapseMacros, "Replier toutes les macros"),
    Item(kExpandMacros, "Déplier toutes les macros"),
    kEnd,
    kEnd,

    Popup("E&xécution"),
    Item(kRunScript, "&Exécuter\tF5"),
    Item(kVerifyScript, "&Vérifier\tShift+F5"),
    Item(kStopScript, "Arrêter\tEsc"),
    Item(kNextLine, "Ligne suivante\tF6"),
    kSeparator,
    Item(kToggleBreakpoint, "Point d'arrêt\tF9"),
    Item(kClearBreakpoints, "Supprimer tous les points d'arrêt\tCtrl+F9"),
    kSeparator,
    Item(kAddVariable, "Ajouter une variable...\tCtrt+I"),
    Item(kDeleteVariable, "Supprimer une variable\tCtrt+R"),
    Item(kNextWarning, "Avertissement suivant\tCtrl+W"),
    Item(kPreviousWarning, "Avertissement précédent\tCtrl+Alt+W"),
    kSeparator,
    Item(kRunCampaign, "Lancer...\tCtrl+F5"),
    Item(kLocateNextScript, "Script suivant\tCtrl+F10"),
    Item(kStopAllTests, "Arrête tous les tests"),
    kEnd,

    Popup("&Batch"),
    Item(kRunBatch, "Lancer..."),
    Item(kNewBatch, "Nouveau..."),
    Item(kEditBatch, "Editer..."),
    kEnd,

    Popup("&Outils"),
    Item(kPreferences, "Préférences...\tF12"),
    kEnd,

    Popup("Fe&nêtre"),
    Item(kCloseAll, "&Fermer tout"),
    Item(kCloseOthers, "&Fermer les autres"),
    kSeparator,
    Item(kOpenContainingFolder, "Ouvrir le dossier contenant..."),
    kEnd,

    Popup("&Aide"),
    Item(kHelp, "&Rubriques d'aide\tF1"),
    Item(kTipOfTheDay, "Astuce du jour...\tShift+F1"),
    kSeparator,
    Item(kAppAbout, "&A propos de ZOV..."),
    kEnd,
};

constexpr MenuRow kTabMenu[] = {
    Popup("MenuTabs"),
    Item(kFileClose, "Fermer"),
    Item(kCloseAll, "Fermer tout"),
    Item(kCloseOthers, "Fermer les autres"),
    kSeparator,
    Item(kOpenContainingFolder, "Ouvrir le dossier contenant..."),
    kEnd,
};

constexpr Accelerator kAccelerators[] = {
    {"Esc", kStopScript},
    {"F1", kHelp},
    {"Shift+F1", kTipOfTheDay},
    {"F5", kRunScript},
    {"Shift+F5", kVerifyScript},
    {"Ctrl+F5", kRunCampaign},
    {"F6", kNextLine},
    {"Ctrl+F6", kRecordResults},
    {"Shift+F6", kPreviousPane},
    {"F9", kToggleBreakpoint},
    {"Ctrl+F9", kClearBreakpoints},
    {"Ctrl+F10", kLocateNextScript},
    {"F11", kCreateReport},
    {"F12", kPreferences},
    {"Ctrl+Alt+F3", kViewExplorer},
    {"Ctrl+Alt+F4", kViewOutput},
    {"Ctrl+F3", kDescription},
    {"Ctrl+F4", kFileClose},
    {"Ctrl+Alt+S", kSaveProject},
    {"Ctrl+F7", kInsertInterfaces},
    {"Ctrl+N", kAddItem},
    {"Ctrl+I", kAddVariable},
    {"Ctrl+R", kDeleteVariable},
    {"Ctrl+W", kNextWarning},
    {"Ctrl+Alt+W", kPreviousWarning},
    {"Ctrl+M", kCreateMacro},
    {"Ctrl+Alt+M", kEditConstantOrMacro},
    {"Ctrl+G", kGoToLine},
    // The standard keys.
    {"Ctrl+O", kFileOpen},
    {"Ctrl+S", kFileSave},
    {"Ctrl+P", kFilePrint},
    {"Ctrl+Z", kEditUndo},
    {"Ctrl+Y", kEditRedo},
    {"Ctrl+X", kEditCut},
    {"Ctrl+C", kEditCopy},
    {"Ctrl+V", kEditPaste},
    {"Ctrl+A", kEditSelectAll},
    {"Ctrl+F", kEditFind},
    {"F3", kEditFindNext},
    {"Shift+F3", kEditFindPrevious},
    {"Ctrl+H", kEditReplace},
};

struct PromptEntry {
    int id;
    std::string_view text;  // "status\ntooltip"
};

// In increasing order of id (checked below).
constexpr PromptEntry kPrompts[] = {
    {kTipOfTheDay, "Affiche une astuce\nAstuce du jour"},
    {kGoToLine, "Va à la ligne indiquée\nAller à la ligne"},
    {kLiveVariables, "Met à jour les variables pendant l'exécution\nVariables en temps réel"},
    {kSelectVersion, "Choisit la version de l'application testée\nSélectionner une version"},
    {kInterfaceDelete, "Supprime l'élément sélectionné\nSupprimer"},
    {kInterfaceAdd, "Ajoute un élément à l'interface\nAjouter"},
    {kInterfaceModify, "Modifie l'élément sélectionné\nModifier"},
    {kViewExplorer, "Affiche ou masque la barre du projet\nProjet"},
    {kViewOutput, "Affiche ou masque la barre de sortie\nSortie"},
    {kFindInScripts, "Recherche un texte dans les scripts du projet\nRechercher dans les scripts"},
    {kPreferences, "Modifie les préférences\nPréférences"},
    {kShowResults, "Affiche les résultats\nRésultats"},
    {kLoadScript, "Charge le script\nCharger le script"},
    {kViewAllInterfaces, "Affiche les éléments de toutes les interfaces\nToutes les interfaces"},
    {kEditConstantOrMacro, "Modifie la constante ou la macro\nModifier constante / macro"},
    {kProjectInformation, "Affiche les informations du projet\nInformations"},
    {kRefresh, "Recharge le projet\nActualiser"},
    {kSaveAll, "Enregistre tous les documents\nTout enregistrer"},
    {kRunScript, "Exécute le script\nExécuter"},
    {kStopScript, "Arrête le script\nArrêter"},
    {kSaveProject, "Enregistre le projet\nEnregistrer le projet"},
    {kCloseAll, "Ferme tous les documents\nFermer tout"},
    {kModifyItem, "Modifie l'élément sélectionné\nModifier"},
    {kCollapseMacros, "Replie toutes les macros\nReplier les macros"},
    {kCreateMacro, "Crée une macro\nCréer une macro"},
    {kExpandMacros, "Déplie toutes les macros\nDéplier les macros"},
    {kNewProject, "Crée un nouveau projet\nNouveau projet"},
    {kOpenProject, "Ouvre un projet\nOuvrir un projet"},
    {kCloseOthers, "Ferme tous les documents sauf le document actif\nFermer les autres"},
    {kNewInterface, "Crée un fichier d'interface\nNouvelle interface"},
    {kRunCampaign, "Lance une campagne\nLancer"},
    {kAddItem, "Ajoute un élément au projet\nAjouter"},
    {kEditInterface, "Modifie les interfaces insérées\nEditer les interfaces"},
    {kToggleBreakpoint, "Met ou enlève un point d'arrêt\nPoint d'arrêt"},
    {kClearBreakpoints, "Enlève tous les points d'arrêt\nSupprimer les points d'arrêt"},
    {kNextLine, "Exécute la ligne suivante\nLigne suivante"},
    {kLocateNextScript, "Affiche le script suivant\nScript suivant"},
    {kImportRequirements, "Importe les exigences\nImporter les exigences"},
    {kDeleteItem, "Supprime l'élément sélectionné\nSupprimer"},
    {kSaveProjectAs, "Enregistre le projet sous un autre nom\nEnregistrer le projet sous"},
    {kSynthesis, "Affiche la synthèse des résultats\nSynthèse"},
    {kInsertInterfaces, "Insère des interfaces\nInsérer des interfaces"},
    {kRecordResults, "Active ou désactive l'enregistrement des résultats\nEnregistrement des résultats"},
    {kCreateReport, "Crée un rapport\nCréer un rapport"},
    {kAddVariable, "Ajoute une variable à surveiller\nAjouter une variable"},
    {kDeleteVariable, "Supprime la variable sélectionnée\nSupprimer une variable"},
    {kCloseProject, "Ferme le projet\nFermer le projet"},
    {kStopAllTests, "Arrête tous les tests\nArrêter tous les tests"},
    {kRenameItem, "Renomme l'élément sélectionné\nRenommer"},
    {kNextWarning, "Va à l'avertissement suivant\nAvertissement suivant"},
    {kPreviousWarning, "Va à l'avertissement précédent\nAvertissement précédent"},
    {kImportFacts, "Importe les faits techniques\nImporter les faits techniques"},
    {kShowExecutionLine, "Affiche la ligne d'exécution en cours\nLigne d'exécution"},
    {kExportRequirements, "Exporte les résultats des exigences\nExporter les exigences"},
    {kExportFacts, "Exporte les résultats des faits techniques\nExporter les faits techniques"},
    {kCopyInterfaces, "Copie des éléments d'une interface à une autre\nCopier des interfaces"},
    {kVerifyScript, "Vérifie le script\nVérifier"},
    {kRunBatch, "Lance un fichier batch\nLancer un batch"},
    {kEditBatch, "Modifie un fichier batch\nEditer un batch"},
    {kNewBatch, "Crée un fichier batch\nNouveau batch"},
    {kOpenContainingFolder, "Ouvre le dossier du script actif\nOuvrir le dossier contenant"},
    {kComment, "Commente les lignes sélectionnées\nCommenter"},
    {kUncomment, "Enlève le commentaire des lignes sélectionnées\nDé commenter"},
    {kEditFindPrevious, "Recherche l'occurrence précédante du texte spécifique\nRecherche précédant"},
    {kToggleBookmark, "Met ou enlève un signet\nMet/Enlève un signet"},
    {kNextBookmark, "Positionne au signet suivant\nSignet suivant"},
    {kPreviousBookmark, "Positionne au signet précédent\nSignet précédent"},
    {kClearBookmarks, "Enlever tous les signets\nEnlève les signets"},
    {kDescription, "Ouvre la description de l'élément sélectionné\nDescription"},
    {kFileNew, "Crée un nouveau script\nNouveau"},
    {kFileOpen, "Ouvre un fichier\nOuvrir"},
    {kFileClose, "Ferme le document actif\nFermer"},
    {kFileSave, "Enregistre le document actif\nEnregistrer"},
    {kFileSaveAs, "Enregistre le document actif sous un autre nom\nEnregistrer sous"},
    {kFilePageSetup, "Modifie les marges de l'impression\nMise en page"},
    {kFilePrint, "Imprime le document actif\nImprimer"},
    {kEditCopy, "Copie la sélection dans le presse-papiers\nCopier"},
    {kEditCut, "Coupe la sélection et la met dans le presse-papiers\nCouper"},
    {kEditFind, "Recherche un texte\nRechercher"},
    {kEditPaste, "Insère le contenu du presse-papiers\nColler"},
    {kEditFindNext, "Recherche l'occurrence suivante du texte\nRechercher suivant"},
    {kEditReplace, "Remplace un texte par un autre\nRemplacer"},
    {kEditSelectAll, "Sélectionne tout le document\nSélectionner tout"},
    {kEditUndo, "Annule la dernière action\nAnnuler"},
    {kEditRedo, "Rétablit l'action annulée\nRétablir"},
    {kAppAbout, "Affiche les informations sur le programme\nA propos"},
    {kAppExit, "Quitte l'application\nQuitter"},
    {kHelp, "Affiche l'aide\nAide"},
    {kPreviousPane, "Active le volet précédent\nVolet précédent"},
    {kViewToolbars, "Affiche ou masque les barres d'outils\nBarre d'outils"},
    {kViewStatusBar, "Affiche ou masque la barre d'état\nBarre d'état"},
};

constexpr bool PromptsInOrder()
{
    for (std::size_t i = 1; i < std::size(kPrompts); ++i) {
        if (kPrompts[i - 1].id >= kPrompts[i].id)
            return false;
    }
    return true;
}
static_assert(PromptsInOrder(), "prompts in increasing order of id, each once");

}  // namespace

std::span<const MenuRow> MainMenuRows()
{
    return kMainMenu;
}

std::span<const MenuRow> TabMenuRows()
{
    return kTabMenu;
}

std::span<const Accelerator> MainAccelerators()
{
    return kAccelerators;
}

constexpr CaretKey kCaretKeys[] = {
    {37101, "Shift+Left", "Left"}, {37103, "Shift+Right", "Right"}, {37109, "Shift+Up", "Up"},
    {37111, "Shift+Down", "Down"}, {37118, "End", "End"},           {37119, "Shift+End", "End"},
    {37120, "Home", "Home"},       {37121, "Shift+Home", "Home"},   {37122, "Ctrl+Home", "Home"},
    {37124, "Ctrl+End", "End"},
};

std::span<const CaretKey> CaretKeys()
{
    return kCaretKeys;
}

const CaretKey* FindCaretKey(int id)
{
    for (const CaretKey& key : kCaretKeys) {
        if (key.id == id)
            return &key;
    }
    return nullptr;
}

std::string_view AcceleratorOf(int id)
{
    const auto found = std::find_if(std::begin(kAccelerators), std::end(kAccelerators),
                                    [id](const Accelerator& accelerator) { return accelerator.id == id; });
    return found == std::end(kAccelerators) ? std::string_view{} : found->keys;
}

CommandPrompt PromptOf(int id)
{
    const auto found = std::lower_bound(std::begin(kPrompts), std::end(kPrompts), id,
                                        [](const PromptEntry& entry, int wanted) { return entry.id < wanted; });
    if (found == std::end(kPrompts) || found->id != id)
        return {};
    const std::string_view text = found->text;
    const auto newline = text.find('\n');
    if (newline == std::string_view::npos)
        return {text, {}};
    return {text.substr(0, newline), text.substr(newline + 1)};
}

std::optional<CommandState> FrameCommandState(int id, const FrameState& state)
{
    const auto checkable = [](bool enabled, bool checked) { return CommandState{enabled, checked, true}; };
    switch (id) {
    case kFindInScripts:
    case kProjectInformation:
    case kRefresh:
    case kSaveProject:
    case kImportRequirements:
    case kSaveProjectAs:
    case kInsertInterfaces:
    case kImportFacts:
    case kSelectVersion:
        return CommandState{state.projectOpen};
    // Closing a document needs one, as well as the project (a rule kept as it stands).
    case kFileClose:
        return CommandState{state.projectOpen && state.hasDocument};
    case kCreateReport:
    case kInterfaceAdd:
        return CommandState{true};
    case kAddVariable:
        return CommandState{true};
    case kModifyItem:
        return CommandState{state.selectedItemKind > 0 && !state.campaignRunning};
    case kCloseProject:
        return CommandState{state.projectOpen && !state.campaignRunning};
    case kViewAllInterfaces:
        return checkable(true, state.viewAllInterfaces);
    case kRecordResults:
        return checkable(true, state.recordResults);
    case kLiveVariables:
        return checkable(true, state.liveVariables);
    case kShowExecutionLine:
        return checkable(true, state.showExecution);
    case kViewExplorer:
    case kViewExplorerAlt:
        return checkable(true, state.explorerVisible);
    case kViewOutput:
        return checkable(true, state.outputVisible);
    case kViewToolbars:
        return checkable(true, state.toolbarsVisible);
    case kViewStatusBar:
        return checkable(true, state.statusBarVisible);
    case kFileSave:
        return CommandState{state.hasDocument && CanSaveDocument(state.documentPath)};
    case kFileSaveAs:
        return CommandState{state.hasDocument && CanSaveDocumentAs(state.documentPath)};
    case kSaveAll:
    case kCloseAll:
        return CommandState{state.documentCount > 0};
    case kCloseOthers:
        return CommandState{state.documentCount > 1};
    case kOpenContainingFolder:
        return CommandState{state.hasScriptView && !state.documentPath.empty()};
    default:
        return std::nullopt;
    }
}

std::string_view MenuTextKey(std::string_view text)
{
    return text.substr(0, text.find('\t'));
}

}  // namespace zov::shell
