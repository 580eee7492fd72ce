#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QTextBrowser>
#include <QUrl>
#include <QVariant>
#include <memory>
#include <optional>

class QCloseEvent;
class QKeyEvent;

namespace tessaro {

inline constexpr char kHelpFile[] = "Kalvix.chm";
inline constexpr char kOverviewTopic[] = "Übersicht.htm";
inline constexpr char kExplanationTopic[] = "erklärung.htm";
inline constexpr char kHelpWindowTitle[] = "Tessaro – Hilfe";

// Results of ShowHelpTopic; every failure is negative.
inline constexpr int kHelpShown = 1;
inline constexpr int kHelpFileMissing = -1;
inline constexpr int kHelpTopicMissing = -2;

// The pages and images of one compiled HTML help archive, read by the helper program
// tessaro-chm in a child process, so that a damaged archive can only end that process.
class ChmArchive {
public:
    // nullptr when the file is missing, is no regular file or no CHM archive, or the helper
    // fails, dies or takes longer than a few seconds.
    static std::unique_ptr<ChmArchive> Open(const QString& fileName);

    // path is an archive path with or without the leading "/", e.g. "Übersicht.htm".
    bool Contains(const QString& path) const;
    std::optional<QByteArray> Read(const QString& path) const;
    const QString& fileName() const { return fileName_; }

private:
    ChmArchive(QHash<QByteArray, QByteArray> files, QString fileName);
    QHash<QByteArray, QByteArray> files_;  // keyed by the ASCII-lower-case path
    QString fileName_;
};

// The help window: a browser whose pages, links and images all come from one archive.
// Pages live under the URL scheme "chm", e.g. chm:/Übersicht.htm.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget* parent = nullptr);
    ~HelpBrowser() override;

    // Takes over the archive and shows topic (a page name, optionally with "#anchor").
    void ShowTopic(std::unique_ptr<ChmArchive> archive, const QString& topic);
    const ChmArchive* archive() const { return archive_.get(); }

    static QUrl TopicUrl(const QString& topic);
    QVariant loadResource(int type, const QUrl& name) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    // Esc and Ctrl+W close the window.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FollowLink(const QUrl& link);
    std::unique_ptr<ChmArchive> archive_;
};

// Owned by the shell: the one help window, created on first use and reused afterwards.
struct HelpState {
    HelpState();
    ~HelpState();
    HelpState(const HelpState&) = delete;
    HelpState& operator=(const HelpState&) = delete;

    std::unique_ptr<HelpBrowser> window;
};

// Opens file (relative to the working directory) and shows topic in the help window.
// Returns kHelpShown, or kHelpFileMissing / kHelpTopicMissing without touching the window.
int ShowHelpTopic(HelpState& help, const QString& file, const QString& topic);

// "Error while trying to display a topic of " + file.
QString HelpErrorText(const QString& file);

// ShowHelpTopic, and on failure the error text in a message box with an OK button.
// Returns whether the topic is shown.
bool ShowHelpTopicOrReport(HelpState& help, const QString& file, const QString& topic,
                           QWidget* owner = nullptr);

}  // namespace tessaro
