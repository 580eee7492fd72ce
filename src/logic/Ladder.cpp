#include "logic/Finders.h"
#include "logic/Solver.h"

namespace tessaro::logic {
namespace {

constexpr TechniqueInfo kLadder[] = {
    {Technique::FullHouse, "Letztes freies Feld", "letztes-feld", 10, FindFullHouse},
    {Technique::HiddenSingleBox, "Versteckter Einer im Block", "versteckter-einer-block", 12, FindHiddenSingleBox},
    {Technique::HiddenSingleLine, "Versteckter Einer", "versteckter-einer", 15, FindHiddenSingleLine},
    {Technique::DirectPointing, "Direkte Blocksperre", "direkte-blocksperre", 17, FindDirectPointing},
    {Technique::DirectHiddenPair, "Direktes verstecktes Paar", "direktes-verstecktes-paar", 20, FindDirectHiddenPair},
    {Technique::NakedSingle, "Nackter Einer", "nackter-einer", 23, FindNakedSingle},
    {Technique::DirectHiddenTriple, "Direkter versteckter Drilling", "direkter-versteckter-drilling", 25,
     FindDirectHiddenTriple},
    {Technique::Pointing, "Blocksperre", "blocksperre", 29, FindPointing},
    {Technique::Claiming, "Liniensperre", "liniensperre", 29, FindClaiming},
    {Technique::GeneralizedLocked, "Verallgemeinerte Sperre", "verallgemeinerte-sperre", 29, FindGeneralizedLocked},
    {Technique::NakedPair, "Nacktes Paar", "nacktes-paar", 30, FindNakedPair},
    {Technique::XWing, "X-Wing", "x-wing", 32, FindXWing},
    {Technique::HiddenPair, "Verstecktes Paar", "verstecktes-paar", 34, FindHiddenPair},
    {Technique::NakedTriple, "Nackter Drilling", "nackter-drilling", 36, FindNakedTriple},
    {Technique::Swordfish, "Swordfish", "swordfish", 38, FindSwordfish},
    {Technique::HiddenTriple, "Versteckter Drilling", "versteckter-drilling", 40, FindHiddenTriple},
    {Technique::TwoStrongLinks, "Zwei starke Verbindungen", "zwei-starke-verbindungen", 40, FindTwoStrongLinks},
    {Technique::XYWing, "XY-Wing", "xy-wing", 42, FindXYWing},
    {Technique::XYZWing, "XYZ-Wing", "xyz-wing", 44, FindXYZWing},
    {Technique::UniqueRectangle, "Eindeutiges Rechteck", "eindeutiges-rechteck", 45, FindUniqueRectangle},
    {Technique::UniqueLoop, "Eindeutige Schleife", "eindeutige-schleife", 46, FindUniqueLoop},
    {Technique::NakedQuad, "Nackter Vierling", "nackter-vierling", 50, FindNakedQuad},
    {Technique::Jellyfish, "Jellyfish", "jellyfish", 52, FindJellyfish},
    {Technique::HiddenQuad, "Versteckter Vierling", "versteckter-vierling", 54, FindHiddenQuad},
    {Technique::ThreeStrongLinks, "Drei starke Verbindungen", "drei-starke-verbindungen", 54, FindThreeStrongLinks},
    {Technique::WXYZWing, "WXYZ-Wing", "wxyz-wing", 55, FindWXYZWing},
    {Technique::BivalueGrave, "Bivalentes Grab", "bivalentes-grab", 56, FindBivalueGrave},
    {Technique::FourStrongLinks, "Vier starke Verbindungen", "vier-starke-verbindungen", 58, FindFourStrongLinks},
    {Technique::FiveStrongLinks, "Fünf starke Verbindungen", "fuenf-starke-verbindungen", 62, FindFiveStrongLinks},
    {Technique::VWXYZWing, "VWXYZ-Wing", "vwxyz-wing", 62, FindVWXYZWing},
    {Technique::AlignedPairExclusion, "Ausgerichtetes Paar", "ausgerichtetes-paar", 62, FindAlignedPairExclusion},
    {Technique::XCycle, "X-Zyklus", "x-zyklus", 65, FindXCycle, nullptr, true},
    {Technique::YCycle, "Y-Zyklus", "y-zyklus", 65, FindYCycle, nullptr, true},
    {Technique::ForcingXChain, "Erzwingende X-Kette", "x-kette", 66, FindForcingXChain, nullptr, true},
    {Technique::SixStrongLinks, "Sechs starke Verbindungen", "sechs-starke-verbindungen", 66, FindSixStrongLinks},
    {Technique::UVWXYZWing, "UVWXYZ-Wing", "uvwxyz-wing", 66, FindUVWXYZWing},
    {Technique::ForcingChain, "Erzwingende Kette", "kette", 70, FindForcingChain, nullptr, true},
    {Technique::TUVWXYZWing, "TUVWXYZ-Wing", "tuvwxyz-wing", 75, FindTUVWXYZWing},
    {Technique::AlignedTripletExclusion, "Ausgerichteter Drilling", "ausgerichteter-drilling", 75,
     FindAlignedTripletExclusion},
    {Technique::NishioForcingChain, "Nishio-Kette", "nishio-kette", 75, FindNishioForcingChain, nullptr, true},
    {Technique::MultipleForcingChain, "Mehrfache erzwingende Kette", "mehrfach-kette", 80, FindMultipleForcingChain, nullptr, true},
    {Technique::DynamicForcingChain, "Dynamische Kette", "dynamische-kette", 85, FindDynamicForcingChain, nullptr, true},
    {Technique::DynamicForcingChainPlus, "Dynamische Kette mit Techniken", "dynamische-kette-plus", 90,
     FindDynamicForcingChainPlus, nullptr, true},
    {Technique::NestedForcingChain, "Verschachtelte erzwingende Kette", "verschachtelte-kette", 95,
     FindNestedForcingChain, FindNestedForcingChainUpTo, true},
};

constexpr bool InEnumOrder() {
    int i = 0;
    for (const TechniqueInfo& info : kLadder) {
        if (static_cast<int>(info.technique) != i++ || info.find == nullptr) return false;
    }
    return i == static_cast<int>(Technique::Count);
}
static_assert(InEnumOrder(), "one row per technique, in the enum's order");

}  // namespace

std::span<const TechniqueInfo> Ladder() { return kLadder; }

const TechniqueInfo& Info(Technique t) { return kLadder[static_cast<int>(t)]; }

}  // namespace tessaro::logic
