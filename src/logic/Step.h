#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "logic/Technique.h"

namespace tessaro::logic {

struct Candidate {
    std::uint8_t cell = 0;  // 0..80
    std::uint8_t digit = 0; // 1..9
    bool operator==(const Candidate&) const = default;
};

// One link of a chain as shown to the player: from the candidate's state follows the next's.
struct ChainLink {
    Candidate from;
    Candidate to;
    bool fromOn = true;  // from is true (else: from is false)
    bool toOn = false;   // hence to is true (else: to is false)
};

// One justified deduction: what pattern was seen, and what it places or rules out.
struct Step {
    Technique technique = Technique::FullHouse;
    int difficulty = 10;  // tenths, >= the technique's base
    std::vector<int> cells;            // the pattern's cells
    std::vector<int> houses;           // the houses it lives in
    std::vector<Candidate> pattern;    // the candidates that form it
    std::vector<Candidate> placements;
    std::vector<Candidate> eliminations;
    // Direct techniques: the eliminations that leave the placed single; shown, not applied.
    std::vector<Candidate> supportingEliminations;
    std::vector<std::vector<ChainLink>> chains;  // chain techniques: each chain of the proof
    // The German sentence. Symbols inside are written with Sym(d), so the game can show them as
    // digits or letters; RenderText turns them into either.
    std::string explanation;
};

// A symbol inside an explanation: a marker byte followed by the digit.
std::string Sym(int digit);
// The text with every Sym(d) written as the digit, or as the letter A..I.
std::string RenderText(std::string_view text, bool showDigits = true);

// "Z3S5=7" for a placement, "Z3S5-7" for an elimination, space-separated, placements first.
std::string EffectsText(const Step& step);

}  // namespace tessaro::logic
