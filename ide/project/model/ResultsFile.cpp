// The results file (Name.res beside the project file): written by the batch report step, preferred
// to the project file's own results while it exists.
#include "common/AtomicFile.h"
#include "common/xml/XmlReader.h"
#include "common/xml/XmlWriter.h"
#include "ide/project/model/ProjectModel.h"
#include "ide/project/model/ProjectXml.h"

#include <tinyxml.h>

namespace zov::project {

std::string ProjectModel::ResultsFilePath() const
{
    return Directory + "/" + Name + ".res";
}

std::string ProjectModel::ResultsFileText() const
{
    TiXmlDocument document;
    TiXmlElement& root = *StartDocument(document, "ZOVProject");
    if (!m_results.empty()) {
        AddMainResult(root, *this);
    }
    return xml::PrintDocument(document);
}

bool ProjectModel::SaveResultsFile() const
{
    return WriteFileAtomically(ResultsFilePath(), ResultsFileText());
}

bool ProjectModel::ReadResultsText(std::string_view bytes)
{
    TiXmlDocument document;
    if (!xml::ParseXmlDocument(bytes, document)) {
        return false;
    }
    ClearAllResults();
    if (const TiXmlElement* root = document.FirstChildElement("ZOVProject")) {
        if (const TiXmlElement* mainResult = root->FirstChildElement("MainResult")) {
            ReadMainResult(*mainResult, *this);
        }
    }
    return true;
}

bool ProjectModel::LoadResultsFile()
{
    const std::optional<std::string> bytes = ReadWholeFile(ResultsFilePath());
    return bytes && ReadResultsText(*bytes);
}

}  // namespace zov::project
