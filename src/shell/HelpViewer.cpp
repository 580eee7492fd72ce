#include "shell/HelpViewer.h"

#include "forms/Placement.h"
#include "forms/Question.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QProcess>
#include <QFile>
#include <QStringDecoder>
#include <QTextDocument>
#include <utility>

namespace tessaro {

namespace {

constexpr char kScheme[] = "chm";

QByteArray ArchivePath(const QString& path) {
    QString p = path;
    if (!p.startsWith(u'/')) {
        p.prepend(u'/');
    }
    return p.toUtf8();
}

// The helper waits on nothing; a healthy archive takes milliseconds.
constexpr int kHelperTimeoutMs = 3000;

// tessaro-chm beside the game, else the one of the build tree (tests, a game run from the build).
QString HelperProgram() {
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/tessaro-chm");
    return QFileInfo(beside).isExecutable() ? beside : QStringLiteral(TESSARO_CHM_HELPER);
}

// The page part of a topic such as "erklärung.htm#tasten".
QString TopicPage(const QString& topic) {
    const qsizetype hash = topic.indexOf(u'#');
    return hash < 0 ? topic : topic.left(hash);
}

// Reads the helper's output; nothing unless it is complete and well formed.
std::optional<QHash<QByteArray, QByteArray>> ParseDump(const QByteArray& dump) {
    QHash<QByteArray, QByteArray> files;
    qsizetype at = 0;
    const auto number = [&](int bytes) -> std::optional<quint64> {
        if (dump.size() - at < bytes) {
            return std::nullopt;
        }
        quint64 value = 0;
        for (int i = 0; i < bytes; ++i) {
            value |= quint64{static_cast<unsigned char>(dump[at + i])} << (8 * i);
        }
        at += bytes;
        return value;
    };
    const auto bytes = [&](std::optional<quint64> length) -> std::optional<QByteArray> {
        if (!length || *length > static_cast<quint64>(dump.size() - at)) {
            return std::nullopt;
        }
        const QByteArray part = dump.mid(at, static_cast<qsizetype>(*length));
        at += part.size();
        return part;
    };
    while (at < dump.size()) {
        const std::optional<QByteArray> name = bytes(number(4));
        const std::optional<QByteArray> data = name ? bytes(number(8)) : std::nullopt;
        if (!data) {
            return std::nullopt;
        }
        files.insert(name->toLower(), *data);
    }
    return files;
}

}  // namespace

ChmArchive::ChmArchive(QHash<QByteArray, QByteArray> files, QString fileName)
    : files_(std::move(files)), fileName_(std::move(fileName)) {}

std::unique_ptr<ChmArchive> ChmArchive::Open(const QString& fileName) {
    // Only regular files: the helper could block on a FIFO until its time is up.
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile()) {
        return nullptr;
    }
    QProcess helper;
    helper.setProcessChannelMode(QProcess::SeparateChannels);
    helper.setStandardErrorFile(QProcess::nullDevice());
    helper.start(HelperProgram(), {QFileInfo(fileName).absoluteFilePath()}, QIODevice::ReadOnly);
    if (!helper.waitForFinished(kHelperTimeoutMs)) {
        helper.kill();
        helper.waitForFinished(-1);
        return nullptr;
    }
    if (helper.exitStatus() != QProcess::NormalExit || helper.exitCode() != 0) {
        return nullptr;
    }
    std::optional<QHash<QByteArray, QByteArray>> files = ParseDump(helper.readAllStandardOutput());
    if (!files) {
        return nullptr;
    }
    return std::unique_ptr<ChmArchive>(new ChmArchive(std::move(*files), fileName));
}

bool ChmArchive::Contains(const QString& path) const { return files_.contains(ArchivePath(path).toLower()); }

std::optional<QByteArray> ChmArchive::Read(const QString& path) const {
    const auto it = files_.constFind(ArchivePath(path).toLower());
    if (it == files_.cend()) {
        return std::nullopt;
    }
    return *it;
}

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    setWindowTitle(QString::fromUtf8(kHelpWindowTitle));
    // An open help window must not keep the game running after its main window is gone.
    setAttribute(Qt::WA_QuitOnClose, false);
    // Links are followed here, so that nothing leaves the archive for the desktop.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::FollowLink);
    resize(660, 580);
}

HelpBrowser::~HelpBrowser() = default;

QUrl HelpBrowser::TopicUrl(const QString& topic) {
    QUrl url;
    url.setScheme(QString::fromLatin1(kScheme));
    const qsizetype hash = topic.indexOf(u'#');
    const QString page = TopicPage(topic);
    url.setPath(page.startsWith(u'/') ? page : u'/' + page);
    if (hash >= 0) {
        url.setFragment(topic.mid(hash + 1));
    }
    return url;
}

void HelpBrowser::ShowTopic(std::unique_ptr<ChmArchive> archive, const QString& topic) {
    archive_ = std::move(archive);
    const QUrl target = TopicUrl(topic);
    if (source().adjusted(QUrl::RemoveFragment) == target.adjusted(QUrl::RemoveFragment)) {
        // Same page: read it again, the file may have been replaced since.
        reload();
        if (target.hasFragment()) {
            scrollToAnchor(target.fragment());
        }
        return;
    }
    setSource(target, QTextDocument::HtmlResource);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    QUrl url = name;
    if (url.isRelative()) {
        url = source().isValid() ? source().resolved(name) : TopicUrl(name.path());
    }
    if (url.scheme() != QLatin1String(kScheme) || archive_ == nullptr) {
        return {};
    }
    const std::optional<QByteArray> data = archive_->Read(url.path());
    if (!data) {
        return {};
    }
    if (type == QTextDocument::HtmlResource) {
        // Pages declare their charset; without one they are taken as UTF-8.
        QStringDecoder decoder = QStringDecoder::decoderForHtml(*data);
        if (!decoder.isValid()) {
            decoder = QStringDecoder(QStringDecoder::Utf8);
        }
        return QString(decoder(*data));
    }
    return *data;
}

void HelpBrowser::FollowLink(const QUrl& link) {
    const QUrl url = link.isRelative() ? source().resolved(link) : link;
    if (url.scheme() != QLatin1String(kScheme)) {
        return;  // the pages are self-contained; outside targets are not opened
    }
    if (archive_ == nullptr || !archive_->Contains(url.path())) {
        return;  // a dead link keeps the current page
    }
    setSource(url, QTextDocument::HtmlResource);
}

void HelpBrowser::closeEvent(QCloseEvent* event) {
    // The archive stays open only while the window is up; the next ShowTopic opens it again.
    archive_.reset();
    QTextBrowser::closeEvent(event);
}

void HelpBrowser::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->matches(QKeySequence::Close) ||
        event->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_W)) {
        close();
        return;
    }
    QTextBrowser::keyPressEvent(event);
}

HelpState::HelpState() = default;
HelpState::~HelpState() = default;

int ShowHelpTopic(HelpState& help, const QString& file, const QString& topic) {
    std::unique_ptr<ChmArchive> archive = ChmArchive::Open(file);
    if (archive == nullptr) {
        return kHelpFileMissing;
    }
    const QString page = TopicPage(topic);
    if (page.isEmpty() || !archive->Contains(page)) {
        return kHelpTopicMissing;
    }
    if (help.window == nullptr) {
        help.window = std::make_unique<HelpBrowser>();
    }
    HelpBrowser& window = *help.window;
    window.ShowTopic(std::move(archive), topic);
    if (CompositorPlacesWindows()) {
        // raise() does nothing there; a window mapped anew comes to the front with the focus.
        if (window.isVisible()) window.hide();
        window.show();
    } else {
        window.show();
        window.raise();
        window.activateWindow();
    }
    return kHelpShown;
}

QString HelpErrorText(const QString& file) {
    return QStringLiteral("Error while trying to display a topic of ") + file;
}

bool ShowHelpTopicOrReport(HelpState& help, const QString& file, const QString& topic,
                           QWidget* owner) {
    if (ShowHelpTopic(help, file, topic) >= 0) {
        return true;
    }
    ShowMessage(owner, HelpErrorText(file));
    return false;
}

}  // namespace tessaro
