// The text, hexadecimal and conversion built-ins receive whatever a CLI replied or a file held:
// any bytes and any integers must give a result within its bounds, never a crash or a hang.
//
// Input: one flag byte (which texts are null), two 32-bit integers, then up to three texts cut
// at the byte 0x01.

#include "engine/runtime/Builtins.h"
#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

using zov::CValue;

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

std::string_view UpToZero(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 9)
        return 0;
    const std::uint8_t flags = data[0];
    std::int32_t first = 0;
    std::int32_t second = 0;
    std::memcpy(&first, data + 1, 4);
    std::memcpy(&second, data + 5, 4);
    std::string_view rest(reinterpret_cast<const char*>(data + 9), size - 9);

    std::vector<CValue> texts;
    for (int i = 0; i < 3; ++i) {
        const std::size_t cut = rest.find('\x01');
        const std::string_view piece = rest.substr(0, cut);
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
        texts.push_back((flags >> i) & 1u ? CValue{} : CValue::Text(piece));
    }
    const CValue a = texts[0], b = texts[1], c = texts[2];
    const CValue n1 = CValue::Integer(first), n2 = CValue::Integer(second);
    const std::size_t aSize = a.TextView().size();

    zov::CDebugger debugger;
    zov::EngineState state;
    zov::BuiltinContext context{debugger, state, zov::SystemClock(), 1};
    const auto call = [&](const char* name, std::vector<CValue> args) {
        return zov::FindBuiltinHandler(name)(context, args);
    };

    Check(call("strlower", {a}).TextView().size() == aSize);
    Check(call("strupper", {a}).TextView().size() == aSize);
    Check(call("strsize", {a}).Word() == static_cast<std::int32_t>(aSize));
    call("strfind", {a, b});
    Check(call("strpos", {a, b}).Word() < static_cast<std::int32_t>(aSize) || aSize == 0);
    Check(call("strleft", {a, n1}).TextView().size() <= aSize);
    Check(call("strright", {a, n1}).TextView().size() <= aSize);
    Check(call("strcopy", {a, n1, n2}).TextView().size() <= aSize);
    const CValue trimmed = call("strtrim", {a});
    if (trimmed.HasText())
        Check(!trimmed.TextView().empty() && trimmed.TextView().front() != ' ' && trimmed.TextView().back() != ' ');
    Check(call("strreverse", {call("strreverse", {a})}).TextView() == a.TextView());
    Check(call("strreplace", {a, CValue::Text(""), c}).TextView() == a.TextView());
    const CValue replaced = call("strreplace", {a, b, c});
    Check(replaced.HasText() && replaced.TextView().size() <= zov::kMaxBuiltinTextBytes);
    const std::int32_t times = static_cast<std::int32_t>(static_cast<std::uint32_t>(second) % 64u);
    const CValue repeated = call("strrepeat", {a, CValue::Integer(times)});
    Check(repeated.TextView().size() == (a.HasText() ? aSize * static_cast<std::size_t>(times) : 0));

    // strcount and strextract agree on the number of fields.
    const std::int32_t count = call("strcount", {a, b}).Word();
    Check(count >= 0 && count <= static_cast<std::int32_t>(aSize) + 1);
    for (std::int32_t i = 1; i <= count && i <= 40; ++i)
        Check(call("strextract", {a, b, CValue::Integer(i)}).HasText());
    if (count < 40)
        Check(!call("strextract", {a, b, CValue::Integer(count + 1)}).HasText());
    call("strextract", {a, b, n1});

    // Hexadecimal both ways: a text survives up to its first zero byte.
    const CValue hex = call("str2hex", {a});
    Check(hex.HasText() == a.HasText());
    if (hex.HasText()) {
        Check(hex.TextView().size() == 2 * aSize);
        Check(call("hex2str", {hex}).TextView() == UpToZero(a.TextView()));
    }
    Check(call("hex2str", {a}).TextView().size() <= aSize / 2);
    call("hex2int", {a});
    Check(call("int2hex", {n1}).TextView().size() == 8);

    call("str2int", {a});
    call("str2real", {a});
    call("str2bool", {a});
    double real = 0;
    std::memcpy(&real, data + 1, sizeof real);
    call("real2int", {CValue::Real(real)});
    call("round", {CValue::Real(real), n2});
    zov::RealToText(real);
    for (const std::uint32_t base : {2u, 8u, 10u, 16u, static_cast<std::uint32_t>(second)})
        Check(zov::IntegerInBase(first, base, (flags & 8u) != 0).size() <= 34);
    zov::IntegerToText(CValue::Integer(first, static_cast<std::uint32_t>(second), (flags & 16u) != 0));
    return 0;
}
