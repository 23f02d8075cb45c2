#pragma once

// Every line the engine writes, as one named format, and the one writer that puts them out.
// The IDE sorts the engine's output by the leading tag of each line, so the texts below are
// byte-exact; the writer guarantees that a line from one thread never interleaves with a
// line from another, on standard output or standard error.

#include <climits>
#include <cstdarg>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

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
// Expansion ran out of memory (or past its size limit): the analysis fails.
inline constexpr char EngMacroNoMemory[] = "eng:-> Erreur: Memoire insuffisante pour le traitement des macro\n";
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

enum class Stream { Out, Err };

// A size or count for a "%i" of a line: negative ones show as 0, huge ones as INT_MAX.
template <typename Count>
constexpr int CountForLine(Count count)
{
    if (std::cmp_less(count, 0))
        return 0;
    if (std::cmp_greater(count, INT_MAX))
        return INT_MAX;
    return static_cast<int>(count);
}

// printf-style formatting as the engine's lines need it. Unlike glibc, "%p" gives the pointer
// as upper-case hexadecimal digits, zero-padded to the pointer's width, without "0x".
// "%n" is refused (written as is, consuming nothing).
std::string FormatLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatLineV(const char* format, va_list args);

// Writes one formatted line on standard output / standard error. Each call is one locked
// write: the same lock covers both streams, so lines never split or interleave.
void WriteOut(const char* format, ...) __attribute__((format(printf, 1, 2)));
void WriteErr(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Writes an already built text as one line (or block) under the same lock.
void WriteText(Stream stream, std::string_view text);

// Where lines go. The default writes to file descriptors 1 and 2, retrying short writes.
// A sink is called with the writer's lock held, one call per line.
using LineSink = std::function<void(Stream, std::string_view)>;

// Replaces the sink (an empty function restores the default) and returns the previous one.
LineSink SetLineSink(LineSink sink);

// From now on only the calling thread writes lines; the others' lines are dropped. The end of
// the process calls it, so that a script unwinding meanwhile adds nothing after the last line.
void KeepOutputToThisThread();

// Writes `text` whole to a file descriptor, retrying after interruptions and short writes and
// waiting while a non-blocking pipe is full.
// Returns false when the descriptor refuses it (closed pipe).
bool WriteAll(int fd, std::string_view text);

}  // namespace zov
