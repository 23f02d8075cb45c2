#include "ide/project/model/ProjectXml.h"

#include "common/NumberText.h"
#include "common/xml/XmlReader.h"

#include <tinyxml.h>

#include <charconv>
#include <cstdio>

namespace zov::project {

TiXmlElement* StartDocument(TiXmlDocument& document, const char* rootName)
{
    document.LinkEndChild(new TiXmlDeclaration("1.0", "ISO-8859-1", ""));
    auto* root = new TiXmlElement(rootName);
    document.LinkEndChild(root);
    return root;
}

TiXmlElement* AddTextChild(TiXmlElement& parent, const char* name, std::string_view text)
{
    auto* child = new TiXmlElement(name);
    if (!text.empty()) {
        child->LinkEndChild(new TiXmlText(std::string(text)));
    }
    parent.LinkEndChild(child);
    return child;
}

TiXmlElement* AddNumberChild(TiXmlElement& parent, const char* name, std::int64_t value)
{
    return AddTextChild(parent, name, std::to_string(value));
}

std::string ReadChildText(const TiXmlElement& element, const char* name)
{
    return xml::FirstChildText(element, name);
}

int ReadChildNumber(const TiXmlElement& element, const char* name)
{
    return ParseLeadingInt(ReadChildText(element, name));
}

std::string FormatStartTime(std::time_t time)
{
    std::tm local{};
    if (!::localtime_r(&time, &local)) {
        local = std::tm{};
    }
    char text[64];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

namespace {

// Reads "n<sep>n<sep>..." as sscanf("%d<sep>%d...") would: blanks before each number, a sign,
// digits; every separator must follow. False when a number is missing.
bool ScanNumbers(std::string_view text, const char* separators, int* values, int count)
{
    size_t pos = 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != separators[i - 1]) {
                return false;
            }
            ++pos;
        }
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\n' || text[pos] == '\r')) {
            ++pos;
        }
        const size_t start = pos;
        if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
            ++pos;
        }
        const size_t digits = pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            ++pos;
        }
        if (pos == digits) {
            return false;
        }
        values[i] = ParseLeadingInt(text.substr(start, pos - start));
    }
    return true;
}

}  // namespace

bool ParseStartTime(std::string_view text, std::time_t& time)
{
    int v[6] = {};
    if (!ScanNumbers(text, "// ::", v, 6)) {
        return false;
    }
    std::tm local{};
    local.tm_year = v[0] - 1900;
    local.tm_mon = v[1] - 1;
    local.tm_mday = v[2];
    local.tm_hour = v[3];
    local.tm_min = v[4];
    local.tm_sec = v[5];
    local.tm_isdst = -1;
    const std::time_t parsed = std::mktime(&local);
    if (parsed == static_cast<std::time_t>(-1)) {
        return false;
    }
    time = parsed;
    return true;
}

std::string FormatDuration(std::int64_t seconds)
{
    // Whole days stay in the hours: a 25-hour soak test reads back as 25 hours.
    if (seconds < 0) {
        seconds = 0;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%02lld:%02d:%02d", static_cast<long long>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}

bool ParseDuration(std::string_view text, std::int64_t& seconds)
{
    int v[3] = {};
    if (!ScanNumbers(text, "::", v, 3)) {
        return false;
    }
    seconds = std::int64_t{v[0]} * 3600 + std::int64_t{v[1]} * 60 + v[2];
    return true;
}

void AddMainResult(TiXmlElement& root, const ProjectModel& model)
{
    auto* mainResult = new TiXmlElement("MainResult");
    root.LinkEndChild(mainResult);
    for (const auto& list : model.Results()) {
        if (list->Results.empty()) {
            continue;
        }
        auto* script = new TiXmlElement("Script");
        mainResult->LinkEndChild(script);
        AddTextChild(*script, "Name", model.GetTestFileById(list->TestId));
        AddNumberChild(*script, "Ref", static_cast<std::int32_t>(list->TestId));
        for (const auto& result : list->Results) {
            auto* element = new TiXmlElement("Result");
            script->LinkEndChild(element);
            AddNumberChild(*element, "VersionRef", static_cast<std::int32_t>(result->VersionId));
            AddNumberChild(*element, "Value", result->Value);
            AddTextChild(*element, "Info", result->Info);
            AddTextChild(*element, "Time", FormatStartTime(result->StartTime));
            AddTextChild(*element, "Duration", FormatDuration(result->Duration));
        }
    }
}

void ReadMainResult(const TiXmlElement& mainResult, ProjectModel& model)
{
    for (const TiXmlElement* script = mainResult.FirstChildElement("Script"); script;
         script = script->NextSiblingElement("Script")) {
        if (!script->FirstChildElement("Ref")) {
            continue;
        }
        const auto testId = static_cast<std::uint32_t>(ReadChildNumber(*script, "Ref"));
        for (const TiXmlElement* result = script->FirstChildElement("Result"); result;
             result = result->NextSiblingElement("Result")) {
            // Every result starts afresh: a missing child never takes the value of the one before.
            const auto versionId = static_cast<std::uint32_t>(ReadChildNumber(*result, "VersionRef"));
            const int value = ReadChildNumber(*result, "Value");
            const std::string info = ReadChildText(*result, "Info");
            std::time_t startTime = 0;
            std::int64_t duration = 0;
            if (result->FirstChildElement("Time")) {
                ParseStartTime(ReadChildText(*result, "Time"), startTime);
            }
            if (result->FirstChildElement("Duration")) {
                ParseDuration(ReadChildText(*result, "Duration"), duration);
            }
            model.SetResult(versionId, testId, value, info, startTime, duration);
        }
    }
}

}  // namespace zov::project
