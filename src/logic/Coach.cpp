#include "logic/Coach.h"

#include <algorithm>
#include <set>

#include "engine/Conflicts.h"
#include "logic/Solver.h"
#include "puzzles/SudokuXSolver.h"

namespace tessaro::logic {
namespace {

// Short enough for the help panel with an effect or a place behind it.
std::string ShortName(Technique technique) {
    switch (technique) {
    case Technique::FullHouse: return "Letztes Feld";
    case Technique::HiddenSingleBox: return "Einer im Block";
    case Technique::HiddenSingleLine: return "Versteckter Einer";
    case Technique::DirectPointing: case Technique::Pointing: return "Blocksperre";
    case Technique::Claiming: return "Liniensperre";
    case Technique::DirectHiddenPair: case Technique::HiddenPair: return "Verst. Paar";
    case Technique::NakedSingle: return "Nackter Einer";
    case Technique::DirectHiddenTriple: case Technique::HiddenTriple: return "Verst. Drilling";
    case Technique::GeneralizedLocked: return "Allg. Sperre";
    case Technique::NakedPair: return "Nacktes Paar";
    case Technique::NakedTriple: return "Nackt. Drilling";
    case Technique::NakedQuad: return "Nackt. Vierling";
    case Technique::HiddenQuad: return "Verst. Vierling";
    case Technique::ForcingXChain: return "X-Kette";
    case Technique::ForcingChain: return "Kette";
    case Technique::MultipleForcingChain: return "Mehrfachkette";
    case Technique::NestedForcingChain: return "Verschachtelt";
    case Technique::TwoStrongLinks: return "2 starke Verb.";
    case Technique::ThreeStrongLinks: return "3 starke Verb.";
    case Technique::FourStrongLinks: return "4 starke Verb.";
    case Technique::FiveStrongLinks: return "5 starke Verb.";
    case Technique::SixStrongLinks: return "6 starke Verb.";
    case Technique::UniqueRectangle: return "Eind. Rechteck";
    case Technique::UniqueLoop: return "Eind. Schleife";
    case Technique::AlignedPairExclusion: return "Ausger. Paar";
    case Technique::AlignedTripletExclusion: return "Ausger. Drilling";
    case Technique::DynamicForcingChain: return "Dyn. Kette";
    case Technique::DynamicForcingChainPlus: return "Dyn. Kette+";
    default: return std::string(Info(technique).name);
    }
}

// "Z3S5=7" or "Z3S5-7", with the symbol as the board shows it.
std::string CandidateText(const Candidate& c, bool on, bool showDigits) {
    return CellName(c.cell) + (on ? "=" : "-") + RenderText(Sym(c.digit), showDigits);
}

// The technique and its first effect, the count of the others if they fit.
std::string StepLine(const Step& step, bool showDigits, std::size_t width) {
    const bool places = !step.placements.empty();
    const Candidate& first = places ? step.placements.front() : step.eliminations.front();
    std::string text = ShortName(step.technique) + ": " + CandidateText(first, places, showDigits);
    const std::size_t more = step.placements.size() + step.eliminations.size() - 1;
    if (more == 0) return text;
    const std::string count = " +" + std::to_string(more);
    return text + (text.size() + count.size() <= width ? count : "+");
}

// The one symbol every candidate of the step concerns, or 0.
int OnlyDigit(const Step& step) {
    std::set<int> digits;
    for (const auto* list : {&step.pattern, &step.placements, &step.eliminations})
        for (const Candidate& c : *list) digits.insert(c.digit);
    return digits.size() == 1 ? *digits.begin() : 0;
}

// A letter and a number. Appended, not inserted: GCC 12 warns wrongly about "x" + std::string.
std::string Numbered(const char* prefix, int number) {
    std::string text = prefix;
    text += std::to_string(number);
    return text;
}

// "Z2", "S7", "B5", "Hauptdiag.": a house in few characters.
std::string HouseShort(int house) {
    switch (KindOf(house)) {
    case HouseKind::Row: return Numbered("Z", house + 1);
    case HouseKind::Column: return Numbered("S", house - 8);
    case HouseKind::Box: return Numbered("B", house - 17);
    case HouseKind::Diagonal: break;
    }
    return house == kMainDiagonal ? "Hauptdiag." : "Nebendiag.";
}

// Names where to look without naming a cell's symbol: the house, else the one symbol, else the
// technique alone. The first wording that fits wins, the full name before the short one.
std::string PointerLine(const Step& step, bool showDigits, std::size_t width) {
    // A single's house says already whether it is a box.
    const std::string full = step.technique == Technique::HiddenSingleBox ? "Versteckter Einer"
                                                                          : std::string(Info(step.technique).name);
    const std::string name = ShortName(step.technique);
    const std::vector<int> houses = PointerHouses(step);
    std::vector<std::string> tries;
    if (houses.size() == 1) {
        const std::string in = " in " + HouseAfterPreposition(houses[0]);
        const std::string brief = name.rfind("Versteckte", 0) == 0 ? "Verst." + name.substr(name.find(' ')) : name;
        tries = {full + in, full + ": " + HouseName(houses[0]), name + in, brief + in,
                 name + ": " + HouseName(houses[0]), name + ": " + HouseShort(houses[0])};
    } else if (const int digit = OnlyDigit(step); digit != 0) {
        const std::string symbol = RenderText(Sym(digit), showDigits);
        const std::string with = (showDigits ? " mit der " : " mit dem ") + symbol;
        tries = {full + with, name + with, name + ": " + symbol};
    } else if (houses.size() == 2) {
        const std::string in = " in " + HouseAfterPreposition(houses[0]) + " und " + HouseAfterPreposition(houses[1]);
        tries = {full + in, name + in, name + ": " + HouseShort(houses[0]) + ", " + HouseShort(houses[1])};
    }
    tries.push_back(full);
    tries.push_back(name);
    for (const std::string& text : tries)
        if (text.size() <= width) return text;
    return name.substr(0, width);
}

}  // namespace

std::vector<int> PointerHouses(const Step& step) {
    if (!step.houses.empty()) return step.houses;
    if (step.cells.empty()) return {};
    const int box = BoxOf(step.cells.front());
    for (int cell : step.cells)
        if (BoxOf(cell) != box) return {};
    return {18 + box};
}

std::vector<int> PointerCells(const Step& step) {
    std::vector<int> cells;
    for (int house : PointerHouses(step)) cells.insert(cells.end(), kHouses.cells[house].begin(), kHouses.cells[house].end());
    if (cells.empty()) cells = step.cells;
    std::sort(cells.begin(), cells.end());
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    return cells;
}

Advice Coach::Press(const Grid& board, const Grid& givens) {
    if (shown_) {
        Advice shown = *shown_;
        shown_.reset();
        switch (shown.kind) {
        case Advice::Kind::WrongEntry:
            shown.kind = Advice::Kind::Enter;
            shown.step.placements = {{static_cast<std::uint8_t>(shown.step.cells.front()), 0}};
            return shown;
        case Advice::Kind::Pointer:
            shown.kind = Advice::Kind::Step;
            shown_ = shown;
            return shown;
        case Advice::Kind::Step:
            if (state_) Apply(*state_, shown.step);
            if (shown.step.placements.empty()) break;  // the eliminations count: on to the next step
            if (state_) stateBoard_ = state_->ToGrid();
            shown.kind = Advice::Kind::Enter;
            return shown;
        default:
            break;
        }
    }
    if (FindConflicts(board).Any()) return {Advice::Kind::Conflicts, {}};
    const Grid* solution = Solution(givens);
    if (!solution) return {solutionCount_ == 0 ? Advice::Kind::NoSolution : Advice::Kind::SeveralSolutions, {}};
    for (int cell = 0; cell < kCellCount; ++cell) {
        const int at = GridIndex(cell);
        if (board[at] == 0 || board[at] == (*solution)[at]) continue;
        Advice wrong{Advice::Kind::WrongEntry, {}};
        wrong.step.cells = {cell};
        wrong.step.explanation =
            "Der Eintrag in " + CellName(cell) + " weicht von der einzigen Lösung des Rätsels ab. T nimmt ihn heraus.";
        shown_ = wrong;
        return wrong;
    }
    LogicState state = StateFor(board);
    const std::optional<Step> step = NextStep(state);
    state_ = state;
    stateBoard_ = board;
    if (!step) return {state.Solved() ? Advice::Kind::Solved : Advice::Kind::Stuck, {}};
    shown_ = Advice{Advice::Kind::Pointer, *step};
    return *shown_;
}

LogicState Coach::StateFor(const Grid& board) {
    LogicState state = *LogicState::FromGrid(board);
    if (!state_) return state;
    for (int at = 0; at < static_cast<int>(board.size()); ++at) {
        if (stateBoard_[at] != 0 && board[at] != stateBoard_[at]) {
            state_.reset();  // an entry it was built on is gone: its eliminations may be too
            return state;
        }
    }
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (state.value[cell] != 0 || state_->value[cell] != 0) continue;
        const DigitMask dropped = state.cand[cell] & ~state_->cand[cell];
        for (int digit = 1; digit <= 9; ++digit) {
            if (dropped & Bit(digit)) state.Eliminate(cell, digit);
        }
    }
    return state;
}

const Grid* Coach::Solution(const Grid& givens) {
    if (solutionCount_ < 0 || givens != solvedGivens_) {
        solvedGivens_ = givens;
        solutionCount_ = SudokuXSolver::CountSolutions(givens, 2, &solution_);
    }
    return solutionCount_ == 1 ? &solution_ : nullptr;
}

std::string AdviceLine(const Advice& advice, bool showDigits, std::size_t width) {
    switch (advice.kind) {
    case Advice::Kind::NoSolution: return "Rätsel hat keine Lösung";
    case Advice::Kind::SeveralSolutions: return "Mehrere Lösungen möglich";
    case Advice::Kind::Solved: return "Das Brett ist gelöst";
    case Advice::Kind::Stuck: return "Kein Schritt gefunden";
    case Advice::Kind::WrongEntry: {
        const int cell = advice.step.cells.front();
        return Numbered("Z", RowOf(cell) + 1) + Numbered(" S", ColumnOf(cell) + 1) + " stimmt nicht";
    }
    case Advice::Kind::Pointer: return PointerLine(advice.step, showDigits, width);
    case Advice::Kind::Step: return StepLine(advice.step, showDigits, width);
    default: return {};
    }
}

std::string AdviceExplanation(const Advice& advice, const std::string& line, bool showDigits) {
    const Step& step = advice.step;
    const bool hasStep = advice.kind == Advice::Kind::Pointer || advice.kind == Advice::Kind::Step;
    if (!hasStep && advice.kind != Advice::Kind::WrongEntry) return line;
    std::string text = line + "\n\n" + RenderText(step.explanation, showDigits);
    for (std::size_t k = 0; k < step.chains.size(); ++k) {
        text += "\n\n";
        if (step.chains.size() > 1) text += Numbered("Kette ", static_cast<int>(k) + 1) + ":\n";
        for (const ChainLink& link : step.chains[k]) {
            text += "  ";
            text += CandidateText(link.from, link.fromOn, showDigits);
            text += "  ⇒  ";
            text += CandidateText(link.to, link.toOn, showDigits);
            text += "\n";
        }
    }
    if (hasStep) {
        std::string effects;
        for (const auto* list : {&step.placements, &step.eliminations}) {
            for (const Candidate& c : *list) {
                effects += ' ';
                effects += CandidateText(c, list == &step.placements, showDigits);
            }
        }
        text += "\n\nWirkung:" + effects;
    }
    return text;
}

}  // namespace tessaro::logic
