#pragma once

#include <QString>
#include <cstdint>

class QWidget;

namespace tessaro {

struct HelpState;

// Keywords of the older keyword-based help, and the file it names.
inline constexpr char kWinHelpFile[] = "Kalvix.hlp";
inline constexpr char kMenuKeyword[] = "Menupunkte";
inline constexpr char kExplanationKeyword[] = "Erklärung";

// The Windows version word: low byte major version, next byte minor version,
// bit 31 set on the non-NT family.
bool ModernHelpFromVersionWord(std::uint32_t word);

// The version word this platform reports: an NT 10.0 system.
std::uint32_t PlatformVersionWord();

// The keyword help. We ship no .hlp file, so both keywords open their page of Kalvix.chm.
// False for an unknown keyword or when the archive or page is missing.
bool WinHelpKey(HelpState& help, const QString& keyword);
// Closes the help window, if one is open.
void WinHelpQuit(HelpState& help);

enum class HelpPage { Overview, Explanation };

// The help request of the menu ("&Anleitung") and of the game screen's " _Hilfe " button:
// the HTML topic (with the error message box on failure) when modernHelp is set, else the
// keyword help. Returns whether the page is shown.
bool OpenHelpPage(HelpState& help, bool modernHelp, HelpPage page, QWidget* owner = nullptr);

}  // namespace tessaro
