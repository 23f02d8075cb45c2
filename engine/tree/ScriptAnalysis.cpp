#include "engine/tree/ScriptAnalysis.h"

#include "engine/base/Output.h"
#include "engine/grammar/GrammarTable.h"
#include "engine/grammar/Scanner.h"
#include "engine/grammar/SyntaxMessages.h"
#include "engine/runtime/Label.h"
#include "engine/tree/TreeBuilder.h"

namespace zov {

namespace {

std::string FirstSyntaxError(const CParseErrors& errors)
{
    if (errors.empty())
        return {};
    CScriptMessages messages;
    return messages.FormatScriptError(errors[0]);
}

}  // namespace

CScriptTree BuildScriptTree(CGrammarTable& table, std::string_view text, const ScriptBuildOptions& options)
{
    CScriptTree result;
    CScanner* scanner = table.CreateScanner();
    if (!scanner->Tokenize(text)) {
        result.Error = FirstSyntaxError(scanner->GetErrors());
        if (options.writeErrors)
            WriteScriptErrors(scanner->GetErrors());
        return result;
    }
    const std::vector<CToken>& tokens = scanner->GetTokens();
    if (options.verbose)
        WriteOut(lines::EngBuildTree, CountForLine(tokens.size()));
    CParser* parser = table.CreateParser();
    if (!parser->Parse(tokens)) {
        result.Error = FirstSyntaxError(parser->GetErrors());
        if (options.writeErrors)
            WriteScriptErrors(parser->GetErrors());
        return result;
    }
    // The nodes copy what they need of the parse tree, which goes once they are built.
    const std::unique_ptr<CReduction> reductions = parser->TakeTree();
    CTreeBuilder builder;
    result.Root = builder.BuildTree(reductions.get());
    if (builder.TooDeep()) {
        result.Error = lines::ErrScriptNoMemory;
        while (!result.Error.empty() && result.Error.back() == '\n')
            result.Error.pop_back();
    }
    // A tree refused for its depth has its own message: one message per refusal.
    if (!result.Root && result.Error.empty() && options.writeErrors)
        WriteOut(lines::EngEmptyTree);
    return result;
}

AnalysisResult AnalyseScript(CAny& root, CSymbolStore& global, CErrorList& errors, bool verbose)
{
    ScriptLabels().Clear();
    if (verbose)
        WriteOut(lines::EngNameAnalysis);
    if (root.NameAnalysis(&global, errors) == kAnalysisFailed || !errors.Empty())
        return AnalysisResult::NameErrors;
    if (verbose) {
        WriteOut(lines::EngStepSuccess);
        WriteOut(lines::EngTypeAnalysis);
    }
    TypeCode type = kTypeUndetermined;
    if (root.TypeAnalysis(&global, type, errors, 0) == kAnalysisFailed || !errors.Empty())
        return AnalysisResult::TypeErrors;
    if (verbose) {
        WriteOut(lines::EngStepSuccess);
        WriteOut(lines::EngAnalyseEnd);
    }
    return AnalysisResult::Accepted;
}

}  // namespace zov
