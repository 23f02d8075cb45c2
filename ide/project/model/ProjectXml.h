#pragma once
// Building blocks shared by the project, results and batch files: element helpers over TinyXML,
// the number and time texts, and the results tree that both the project file and the results file
// carry.

#include "ide/project/model/ProjectModel.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

class TiXmlDocument;
class TiXmlElement;

namespace zov::project {

// The document every file starts from: the declaration (version "1.0", "ISO-8859-1") and the root.
TiXmlElement* StartDocument(TiXmlDocument& document, const char* rootName);

// A child holding the text; "<name />" when the text is empty.
TiXmlElement* AddTextChild(TiXmlElement& parent, const char* name, std::string_view text);
TiXmlElement* AddNumberChild(TiXmlElement& parent, const char* name, std::int64_t value);

// The text of the first child of that name, empty when it is missing or holds no text.
std::string ReadChildText(const TiXmlElement& element, const char* name);
// atoi of that text: 0 for a missing or empty child.
int ReadChildNumber(const TiXmlElement& element, const char* name);

// "%04d/%02d/%02d %02d:%02d:%02d" in local time, and its reader ("2024/3/5 7:8:9" too); nothing
// when the text does not hold the six numbers.
std::string FormatStartTime(std::time_t time);
bool ParseStartTime(std::string_view text, std::time_t& time);
// "%02d:%02d:%02d" with the hours not wrapped at a day, and its reader.
std::string FormatDuration(std::int64_t seconds);
bool ParseDuration(std::string_view text, std::int64_t& seconds);

// The "MainResult" tree of the model's results (one "Script" per list that holds a result).
void AddMainResult(TiXmlElement& root, const ProjectModel& model);
// Reads the "Script" children of a "MainResult" element into the model's results.
void ReadMainResult(const TiXmlElement& mainResult, ProjectModel& model);

}  // namespace zov::project
