#include "shell/PlatformHelp.h"

#include "shell/HelpViewer.h"

namespace tessaro {

bool ModernHelpFromVersionWord(std::uint32_t word) {
    const bool ntFamily = (word & 0x80000000u) == 0;
    const std::uint32_t major = word & 0xFFu;
    return ntFamily && major > 5;
}

std::uint32_t PlatformVersionWord() {
    constexpr std::uint32_t kMajor = 10;
    constexpr std::uint32_t kMinor = 0;
    constexpr std::uint32_t kBuild = 19045;
    return (kBuild << 16) | (kMinor << 8) | kMajor;
}

bool WinHelpKey(HelpState& help, const QString& keyword) {
    QString topic;
    if (keyword.compare(QString::fromUtf8(kMenuKeyword), Qt::CaseInsensitive) == 0) {
        topic = QString::fromUtf8(kOverviewTopic);
    } else if (keyword.compare(QString::fromUtf8(kExplanationKeyword), Qt::CaseInsensitive) == 0) {
        topic = QString::fromUtf8(kExplanationTopic);
    } else {
        return false;
    }
    return ShowHelpTopic(help, QString::fromUtf8(kHelpFile), topic) >= 0;
}

void WinHelpQuit(HelpState& help) {
    if (help.window != nullptr) {
        help.window->close();
    }
}

bool OpenHelpPage(HelpState& help, bool modernHelp, HelpPage page, QWidget* owner) {
    const bool overview = page == HelpPage::Overview;
    if (modernHelp) {
        return ShowHelpTopicOrReport(
            help, QString::fromUtf8(kHelpFile),
            QString::fromUtf8(overview ? kOverviewTopic : kExplanationTopic), owner);
    }
    return WinHelpKey(help, QString::fromUtf8(overview ? kMenuKeyword : kExplanationKeyword));
}

}  // namespace tessaro
