#pragma once

// Every text the engine writes, in one place. `lines` are whole output lines with their tag (the
// IDE sorts the engine's output by that tag, so they are byte-exact); the other groups are the
// texts of analysis and run-time errors, which the error list and the run-time error line frame.

namespace zov {

namespace lines {

// Version and banners. The maker line is ours; everything else is fixed.
inline constexpr char VersionText[] = "version 1.0 PR1";
inline constexpr char VerboseBanner[] = "Interpreteur de script %s\n";
inline constexpr char UsageBanner[] = "ZOV Engine %s\nProgram for executing script\n";
inline constexpr char MakerLine[] = "ZOV test bench - script engine for automatic tests\n";
inline constexpr char EmptyLine[] = "\n";

// Usage text printed by -help after the banner and one empty line.
inline constexpr char UsageText[] =
    "zovrun [-v] [-d] [-c]\n"
    "\n"
    "-v       Verbose execution\n"
    "-d       View debug traces\n"
    "-c       View output of all CLI\n"
    "On execution, all the following commands are availables\n"
    "  resetbkp   Remove all current break points\n"
    "\n"
    "  continue   Continue execution when stopped by break point or break command\n"
    "\n"
    "  setbkp     Set un new break point-line val -state on\n"
    "             parameters: -line [line] -state on\n"
    "                         [line] = line number in the script\n"
    "\n"
    "  next       When stopped, execute next line of the script\n"
    "\n"
    "  debugstep  View whatched variable during execution\n"
    "\n"
    "  break      Stop current execution\n"
    "\n"
    "  verify     Verify script without execution\n"
    "             parameters: -val 1\n"
    "\n"
    "  notifyline Notify the current executed line\n"
    "\n"
    "             parameters: -val [mode]\n"
    "                         [mode] = 0 : inactive\n"
    "                         [mode] = 1 : active\n"
    "\n"
    "  interpret  Start execution a ZOV script\n"
    "\n"
    "             parameters: -dicofn \"[interface]\" -scriptfn \"[script]\" -params {[param]}\n"
    "                         [interface] = \n"
    "                         [script] = \n"
    "                         [param] = \n"
    "\n"
    "  speed      Change speed execution             parameters: -val [value]\n"
    "                         [value] = \n"
    "\n"
    "  timeout    Change timout when calling fonction of CLI\n"
    "             parameters: -val [value]\n"
    "                         [value] = \n"
    "\n"
    "  getval     Get value of variable\n"
    "             parameters: -name [name]\n"
    "                         [name] = \n"
    "\n"
    "  setval     Get value of variable\n"
    "             parameters: -name [name] -val \"[value]\"\n"
    "                         [name] = \n"
    "                         [value] = \n"
    "\n"
    "  sync       Send sync value\n"
    "             parameters: -val [value]\n"
    "                         [value] = \n"
    "\n"
    "  exit       Exit program\n";

// The `help` listing, one block per command.
inline constexpr char HelpStart[] = " \n";
inline constexpr char HelpCommand[] = " {%s}\n";
inline constexpr char HelpDescription[] = " -Description: %s\n";
inline constexpr char HelpParameters[] = " -Parametres: \n";
inline constexpr char HelpParameterSquare[] = " \t[%s]: %s\n";
inline constexpr char HelpParameterAngle[] = " \t<%s>: %s\n";
inline constexpr char HelpNoParameter[] = "Aucun parametre pour cette fonctionnalite\n";
inline constexpr char HelpBlockEnd[] = "\n\n";

// Console lines.
inline constexpr char CommandEcho[] = "command: %s\n";
inline constexpr char EngineInitialisation[] = "ZOV Engine - Initialisation\n";
inline constexpr char EngMissingInterface[] = "eng: Le fichier interface est manquant dans l'appel de la commande.\n";
inline constexpr char EngMissingScript[] = "eng: Le fichier script est manquant dans l'appel de la commande.\n";
inline constexpr char EngMissingParams[] = "eng: Les parametres du script sont manquant.\n";
inline constexpr char EngMissingLine[] = "eng: Le numero de la ligne est manquant dans l'appel de la commande.\n";
inline constexpr char EngStopEndedByConsole[] =
    "eng: Entree des commandes fermee pendant l'arret en ligne %d: fin de l'execution.\n";
inline constexpr char EngBreakpointLineOutOfRange[] =
    "eng: Le numero de la ligne du point d'arret doit etre entre 1 et %d.\n";
inline constexpr char EngMissingState[] = "eng: L'etat du point d'arrêt est manquant dans l'appel de la commande.\n";
// Backspace typed on a terminal: a backspace and a blank, untagged (terminal only).
inline constexpr char BackspaceEcho[] = "\b ";
// ANSI clear screen and home, for "cls" on a terminal.
inline constexpr char ClearScreen[] = "\x1b[H\x1b[2J\x1b[3J";

// Phase lines, in the order a complete run writes them.
inline constexpr char EngInitStart[] = "eng:*** Initialisation...\n";
inline constexpr char EngReadGrammar[] = "eng:Lecture du fichier grammaire (%s)\n";
inline constexpr char EngStepSuccess[] = "eng:-> succes\n";
inline constexpr char EngCannotReadVerbose[] = "eng:-> Erreur: Impossible de lire le ficher\n";
inline constexpr char EngCannotRead[] = "eng:Impossible de lire le ficher (%s)\n";
inline constexpr char EngCannotAddFunction[] = "eng:-> Erreur: Impossible d'integrer une fonction\n";
inline constexpr char EngBadFunctionInit[] = "eng: Mauvaise initialisation des fonctions (%d - %d)\n";
inline constexpr char EngReadInterface[] = "eng: Lecture du fichier d'interface(%s)\n";
inline constexpr char EngInterfaceLineError[] = "eng:-> Erreur: ligne %05d texte=%s\n";
inline constexpr char EngInitErrors[] = "eng:-> Erreur: L'initialisation de l'interpreteur comporte des erreurs (%d)\n";
inline constexpr char EngInitEnd[] = "eng:*** Fin initialisation\n";
inline constexpr char EngAnalyseStart[] = "eng:*** Analyse...\n";
inline constexpr char EngAnalyseRefused[] = "eng:-> Erreur: Impossible de demarrer l'analyse du script\n";
inline constexpr char EngReadScript[] = "eng:Lecture du script (%s)\n";
inline constexpr char EngScriptSize[] = "eng:-> Taille du script: %i octects\n";
inline constexpr char EngLineTooLong[] = "eng:-> Erreur: La ligne comporte trop de caracteres\n";
// A zero byte would end the text for the scanner: the script is refused instead of cut.
inline constexpr char EngScriptNulByte[] = "eng:-> Erreur: Le script contient un caractere nul\n";
inline constexpr char EngBufferSize[] = "eng:-> Taille du buffer: %i octects\n";
inline constexpr char EngJoinLines[] = "eng:Reorganisation du script en cours...\n";
inline constexpr char EngMacros[] = "eng:Traitement des macro...\n";
inline constexpr char EngExpandedSize[] = "eng:-> Nouvelle faille du script : %i octects\n";
inline constexpr char EngMacroTooDeep[] = "eng:-> Erreur: Macro recursive ou profondeur d'une macro superieur a 10\n";
// Expansion ran out of memory: the analysis fails.
inline constexpr char EngMacroNoMemory[] = "eng:-> Erreur: Memoire insuffisante pour le traitement des macro\n";
// A pass would make the text longer than the engine accepts (the bound, in bytes): refused
// before it is built.
inline constexpr char EngMacroTooLarge[] =
    "eng:-> Erreur: Le script est trop grand apres le traitement des macro, taille > %i octets\n";
inline constexpr char EngBuildTree[] = "eng:Construction de l'arbre d'execution avec %d elements\n";
inline constexpr char EngEmptyTree[] = "eng:-> Erreur: Le premier noeud de l'arbre est vide !\n";
inline constexpr char EngNameAnalysis[] = "eng:Analyse des noms en cours...\n";
inline constexpr char EngTypeAnalysis[] = "eng:Analyse des types en cours...\n";
inline constexpr char EngTypeAnalysisFailed[] = "eng:-> Erreur: L'analyse des types a echouee\n";
inline constexpr char EngAnalyseEnd[] = "eng:*** Fin analyse\n";
inline constexpr char EngScriptMemory[] = "eng: -> Memoire allouee pour le script : %i Ko\n";
inline constexpr char EngVerifyOk[] = "eng: -> Verification du script ok\n";
inline constexpr char VrfOk[] = "vrf : 1\n";
inline constexpr char EngVerifyNok[] = "eng: -> Verification du script nok !\n";
inline constexpr char VrfNok[] = "vrf : 0\n";
inline constexpr char EngExecuteStart[] = "eng:*** Execution...\n";
inline constexpr char EngExecuteRefused[] = "eng:-> Erreur: Execution impossible du script\n";
inline constexpr char EngExecuteEnd[] = "eng:*** Fin execution\n";

// Guards of the node passes: a node with a missing child.
inline constexpr char EngNullNameAnalysis[] = "eng: ERROR <CAny::NameAnalysis> NULL Pointer\n";
inline constexpr char EngNullTypeAnalysis[] = "eng: ERROR <CAny::TypeAnalysis> NULL Pointer\n";

// Script errors. Scan and parse messages ("err: " or "dpb: " + position + message) are built
// whole by the syntax messages and written through PrebuiltText.
inline constexpr char PrebuiltText[] = "%s";
inline constexpr char ErrScriptTooLarge[] = "err: Le script est trop grand, taille > 2 Go\n";
// The script itself is small enough, but reading it would take more than the 2 GB the engine
// allows itself.
inline constexpr char ErrScriptMemoryTooLarge[] = "err: Le script est trop grand, memoire necessaire > 2 Go\n";
inline constexpr char ErrScriptNoMemory[] = "err: Le script est trop grand, memoire insuffisante\n";
inline constexpr char ErrLine[] = "err: %03d : %s\n";
inline constexpr char ErrLineIndex[] = "err: %03d : %s (%d)\n";

// Debugger lines.
inline constexpr char CmdBreakpoint[] = "cmd: bk : %i\n";
inline constexpr char CmdRun[] = "cmd: run : %i\n";

// Answers to getval: name as received, then kind and value.
inline constexpr char CmdValDecimal[] = "cmd:val:%s:0:%i\n";
inline constexpr char CmdValBasedDecimal[] = "cmd:val:%s:1:%i\n";
inline constexpr char CmdValHex[] = "cmd:val:%s:2:0x%X\n";
inline constexpr char CmdValVoid[] = "cmd:val:%s:2:%p\n";
inline constexpr char CmdValBinary[] = "cmd:val:%s:3:0b%s\n";
inline constexpr char CmdValOctal[] = "cmd:val:%s:4:0o%o\n";
inline constexpr char CmdValReal[] = "cmd:val:%s:5:%.15G\n";
inline constexpr char CmdValTrue[] = "cmd:val:%s:6:true\n";
inline constexpr char CmdValFalse[] = "cmd:val:%s:6:false\n";
inline constexpr char CmdValString[] = "cmd:val:%s:7:%s\n";

// Lines written by the script's built-ins.
inline constexpr char CmdOk[] = "cmd: ok : %i : %s\n";
inline constexpr char CmdNok[] = "cmd: nok : %i : %s\n";
inline constexpr char CmdWarning[] = "cmd: wng : %i : %s\n";
inline constexpr char CmdInfo[] = "cmd: inf : %s\n";
inline constexpr char Trace[] = "trc: %d:%s\n";
inline constexpr char SyncSent[] = "syn: %i\n";
inline constexpr char ExportData[] = "exp: %s : %s\n";
inline constexpr char ImportRequest[] = "imp: %s\n";

// CLI lines.
inline constexpr char OutNamed[] = "out:[%s] %s\n";
inline constexpr char OutUnnamed[] = "out: %s\n";
inline constexpr char OutNamedTimeout[] = "out:[%s] (timeout) %s\n";
inline constexpr char OutUnnamedTimeout[] = "out: (timeout) %s\n";
inline constexpr char OutNamedTimeoutEmpty[] = "out:[%s] (timeout)\n";
inline constexpr char OutUnnamedTimeoutEmpty[] = "out: (timeout)\n";
inline constexpr char EngCliDebugStart[] = "eng: DEBUG CLI cmd:%s\n";
inline constexpr char EngCliDebugIn[] = "eng: DEBUG CLI:%s in:%s\n";
inline constexpr char EngCliDebugOut[] = "eng: DEBUG CLI:%s out:%s\n";
inline constexpr char EngCliStopping[] = "eng:Arret du CLI:%s en cours...\n";
inline constexpr char EngCliStopped[] = "eng: -> Succes\n";

// Standard error lines.
inline constexpr char ErrCliCannotStart[] = "Erreur: Impossible d'executer le CLI ou le CLI est inexistant\n";
inline constexpr char ErrCliMissing[] = "Erreur: CLI inexistant\n";
inline constexpr char ErrCliCannotStop[] = "Erreur: Impossible d'arreter le CLI ou le CLI est inexistant\n";
inline constexpr char ErrProcessCannotEnd[] = "Erreur: Impossible de terminer le processus ou processus inexistant\n";
inline constexpr char ErrWatchThread[] = "Erreur: Creation impossible du thread d'ecriture\n";
inline constexpr char ErrCliForcedEnd[] = "[%s] Terminaison forcee du CLI !\n";

}  // namespace lines

// Variables, scopes and arrays.
namespace varmsg {
inline constexpr char ScopeCorrupted[] =
    "La memoire allouee pour le stockage des differentes variables a ete corrompue";
inline constexpr char NameTooLong[] = "Le nom de variable comprend plus de 64 caracteres";
inline constexpr char VariableLead[] = "La variable";
inline constexpr char ExpressionLead[] = "L'expression";
inline constexpr char UndefinedType[] = "a un type indefinit";
inline constexpr char NotInitialised[] = "n'a pas ete initialisee";
inline constexpr char ArrayMisuse[] = "est un tableau, l'utilisation est incorrecte.";
inline constexpr char SymbolNotFound[] = "Symbole introuvable";
inline constexpr char ArrayNotInitialised[] = "Le tableau n'est pas initialise";
inline constexpr char IndexTooLarge[] = "Indice trop grand pour ce tableau";
inline constexpr char ArrayCopy[] = "Copie de tableau non authorisee";
inline constexpr char ArrayTooLarge[] = "Taille de tableau trop grande";
}  // namespace varmsg

// Expressions.
namespace exprmsg {
inline constexpr char StringOperation[] = "Operation non autorise sur les chaines";
inline constexpr char DivisionByZero[] = "Division par 0";
inline constexpr char TextTooLong[] = "Chaine de caracteres trop longue";
inline constexpr char OutOfMemory[] = "Memoire insuffisante";
// Ends the text of an echo line cut to its first bytes.
inline constexpr char EchoCut[] = " [... %zu octets non affiches]";
inline constexpr char QuoteInCliArgument[] = "Le parametre %d de la fonction '%s' contient un guillemet";
}  // namespace exprmsg

// Type analysis of expressions.
namespace nodemsg {
inline constexpr char MixedTypes[] =
    "L'expression est non conforme car plusieurs types differents sont utilises dans l'expression";
inline constexpr char BooleanOrdering[] =
    "L'expression est non conforme car des valeurs booleennes sont utilisees dans une expression arithmetique";
// Written on standard output right before the mixed-types error is listed (not for a
// scratch list).
inline constexpr char DebugMixedTypes[] = "DEBUG <CExpression::TypeAnalysis> Error\n";
}  // namespace nodemsg

// Building the node tree.
namespace buildmsg {
// Followed by the terminal's symbol name and ")\n".
inline constexpr char UnknownToken[] = "Token inconnu (";
inline constexpr char NestedWith[] = "Imbrication de with non authorise\n";
}  // namespace buildmsg

// Declarations.
namespace declmsg {
inline constexpr char ArrayTypeMismatch[] = "Type incompatible avec le type du tableau";
}  // namespace declmsg

// Function calls and their arguments.
namespace callmsg {
// "La fonction 'xyz' est inconnue".
inline constexpr char FunctionLead[] = "La fonction";
inline constexpr char UnknownTail[] = "est inconnue";
inline constexpr char TwoToHundred[] = "La fonction prends entre 2 et 100 parametres";
inline constexpr char TwoToThirtyTwo[] = "La fonction prends entre 2 et 32 parametres";
// "La fonction 'run' 1 ou 2 arguments", as the engine has always worded it.
inline constexpr char RunCount[] = "1 ou 2 arguments";
inline constexpr char MessageCount[] = "La fonction prends que 100 paramètres maxi";
inline constexpr char NoArgument[] = "ne prends pas d'argument";
inline constexpr char Takes[] = "prends";
inline constexpr char ArgumentsTail[] = "argument(s)";
inline constexpr char NoValue[] = "La fonction ne retourne pas de valeur";
inline constexpr char ValueUnused[] = "La fonction retourne une valeur, la variable est manquant";
inline constexpr char InvalidType[] = "Type invalide pour cette fonction";
inline constexpr char MixedTypes[] = "Les parametres ne sont pas tous du meme type";
// The label a CLI reply time-out jumps to.
inline constexpr char TimeoutLabel[] = ":TIMEOUT";
inline constexpr char WrongParameterType[] = "Type du parametre incorrect";
}  // namespace callmsg

// Procedures and their calls.
namespace procmsg {
// The analysis finds only procedures declared before the call.
inline constexpr char MissingLead[] = "La procedure";
inline constexpr char MissingTail[] = "n'existe pas ou a ete definie après l'appel";
inline constexpr char MissingAtRunTime[] = "Cette procedure n'existe pas";
// A recursion that never ends would otherwise exhaust the stack and end the process.
inline constexpr char TooDeep[] = "Trop d'appels de procedure imbriques";
// "La procedure 'p' a ete deja definie".
inline constexpr char AlreadyDefinedLead[] = "La procedure";
inline constexpr char AlreadyDefinedTail[] = "a ete deja definie";
inline constexpr char TooManyParameters[] = "Nombre de parametres trop grand";
inline constexpr char WrongParameterType[] = "Type de parametre incorrect";
}  // namespace procmsg

// Statements: analysis errors listed until the phase ends, run-time errors printed at once.
namespace stmtmsg {
inline constexpr char UndeterminedType[] = "Impossible de determiner le type de l'expression";
inline constexpr char CliVariableRequired[] = "Type incorrect, variable CLI obligatoire";
inline constexpr char DuplicateLabel[] = "Ce label existe deja";
inline constexpr char CliNotStarted[] = "CLI non initialise";
inline constexpr char UnknownLabel[] = "Ce label n'existe pas";
inline constexpr char ForBoundNotInteger[] = "Les bornes et le pas d'une boucle for doivent etre des entiers";
inline constexpr char ConditionNotBoolean[] = "La condition doit etre un booleen ou un entier";
inline constexpr char ArrayIndexNotInteger[] = "L'indice d'un tableau doit etre un entier";
inline constexpr char ArrayCountNotInteger[] = "La taille d'un tableau doit etre un entier";
}  // namespace stmtmsg

}  // namespace zov
