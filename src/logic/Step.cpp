#include "logic/Step.h"

#include <cctype>

#include "logic/Houses.h"

namespace tessaro::logic {
namespace {
constexpr char kSymbolMarker = '\x1f';
}

std::string Sym(int digit) { return {kSymbolMarker, static_cast<char>('0' + digit)}; }

std::string RenderText(std::string_view text, bool showDigits) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == kSymbolMarker && i + 1 < text.size()) {
            const char digit = text[++i];
            out += showDigits ? digit : static_cast<char>('A' + (digit - '1'));
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string EffectsText(const Step& step) {
    std::string out;
    auto add = [&out](const Candidate& c, char op) {
        if (!out.empty()) out += ' ';
        out += CellName(c.cell);
        out += op;
        out += static_cast<char>('0' + c.digit);
    };
    for (const Candidate& c : step.placements) add(c, '=');
    for (const Candidate& c : step.eliminations) add(c, '-');
    return out;
}

std::optional<Technique> TechniqueByName(std::string_view text) {
    auto same = [](std::string_view a, std::string_view b) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
                return false;
        }
        return true;
    };
    for (const TechniqueInfo& info : Ladder()) {
        if (same(text, info.key) || same(text, info.name)) return info.technique;
    }
    return std::nullopt;
}

std::string RatingText(int tenths) {
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

}  // namespace tessaro::logic
