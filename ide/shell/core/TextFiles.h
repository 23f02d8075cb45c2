#pragma once
// Texts that are not scripts (a macro body, a stored run result, a description) are edited in the
// script editor through files of the instance's temp folder. These are the pure rules: how a body
// becomes lines and back, where each file lies, and where an inserted interface lives on disk.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zov::shell {

// The statements of a macro body, one per line: cut at each "&" outside double quotes; the one
// blank on each side of it is dropped only when it is there, so "a&b" keeps both letters.
std::vector<std::string> SplitMacroBody(std::string_view body);

// The lines back into one body, joined by " & ": the inverse of SplitMacroBody for stored bodies.
std::string JoinMacroLines(const std::vector<std::string>& lines);

// The bytes of a macro file: lines separated by CR LF, no line end after the last; "" gives a
// file of zero bytes.
std::string MacroFileText(std::string_view body);

// A record or item name as a file name of the temp folder: '/', '\' and control characters become
// '_', and a name that would step out of the folder ("", ".", "..") becomes "_".
std::string SanitiseFileName(std::string_view name);

// "<temp>/macros/<key>/<name>.qzm": one file per (interface, macro), so two interfaces' macros of
// the same name never share a file, while the document title stays "<name>.qzm". The key is
// derived from the interface file's path.
std::string MacroFilePath(std::string_view tempFolder, std::string_view interfacePath, std::string_view macroName);

// "<temp>/<name>.qzr".
std::string ResultFilePath(std::string_view tempFolder, std::string_view recordName);

// Where a description is edited: the project folder's "<name>.txt" when that file exists (it is
// opened as it is), else "<temp>/<name>.txt", which the caller writes with the item's text.
struct DescriptionFile {
    std::string path;
    bool inProjectFolder = false;
};
DescriptionFile DescriptionFilePath(std::string_view projectFolder, std::string_view tempFolder,
                                    std::string_view itemName);

// An entry of a project's inserted interfaces as a path: "#..." is commented out (nullopt);
// "{zov}\" or "{zov}/" in front names the program folder; an absolute path stays; anything else
// lies in the project folder. Loading and saving an inserted interface both go through here.
std::optional<std::string> ResolveInsertedInterface(std::string_view entry, std::string_view programFolder,
                                                    std::string_view projectFolder);

}  // namespace zov::shell
