// Probe commands of the editor model. Left out when the model is not built (no Qt): its headers
// are then out of reach.
#if __has_include(<QString>)

#include "ide/editor/model/TextBuffer.h"
#include "tests/probe/ProbeCommands.h"

#include <cstdio>

namespace {

// buffer-roundtrip IN OUT: loads IN, prints its line count and line-end mode, saves OUT in that
// mode.
int BufferRoundTrip(std::span<char* const> args)
{
    if (args.size() != 2) {
        std::fputs("usage: zovprobe buffer-roundtrip IN OUT\n", stderr);
        return 2;
    }
    zov::editor::CTextBuffer buffer;
    if (!buffer.LoadFromFile(args[0])) {
        std::fprintf(stderr, "cannot load %s\n", args[0]);
        return 1;
    }
    std::printf("lines=%d mode=%s\n", buffer.GetLineCount(),
                zov::editor::LineEndModeLabel(buffer.GetLineEndMode()).toStdString().c_str());
    if (!buffer.SaveToFile(args[1], zov::editor::LineEnd_Detect, true)) {
        std::fprintf(stderr, "cannot save %s\n", args[1]);
        return 1;
    }
    return 0;
}

const zov::probe::CommandRegistration roundTrip{"buffer-roundtrip", "IN OUT", BufferRoundTrip};

}  // namespace

#endif
