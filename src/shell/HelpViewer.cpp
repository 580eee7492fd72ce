#include "shell/HelpViewer.h"

#include <QCloseEvent>
#include <QFile>
#include <QMessageBox>
#include <QStringDecoder>
#include <QTextDocument>
#include <chm_lib.h>
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

// The page part of a topic such as "erklärung.htm#tasten".
QString TopicPage(const QString& topic) {
    const qsizetype hash = topic.indexOf(u'#');
    return hash < 0 ? topic : topic.left(hash);
}

}  // namespace

ChmArchive::ChmArchive(chmFile* handle, QString fileName)
    : handle_(handle), fileName_(std::move(fileName)) {}

ChmArchive::~ChmArchive() { chm_close(handle_); }

std::unique_ptr<ChmArchive> ChmArchive::Open(const QString& fileName) {
    if (fileName.isEmpty()) {
        return nullptr;
    }
    chmFile* handle = chm_open(QFile::encodeName(fileName).constData());
    if (handle == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<ChmArchive>(new ChmArchive(handle, fileName));
}

bool ChmArchive::Contains(const QString& path) const {
    chmUnitInfo info{};
    const QByteArray name = ArchivePath(path);
    return chm_resolve_object(handle_, name.constData(), &info) == CHM_RESOLVE_SUCCESS;
}

std::optional<QByteArray> ChmArchive::Read(const QString& path) const {
    chmUnitInfo info{};
    const QByteArray name = ArchivePath(path);
    if (chm_resolve_object(handle_, name.constData(), &info) != CHM_RESOLVE_SUCCESS) {
        return std::nullopt;
    }
    // Help pages and images are small; anything claiming to be huge is a damaged archive.
    constexpr LONGUINT64 kLimit = 64u * 1024u * 1024u;
    if (info.length > kLimit) {
        return std::nullopt;
    }
    QByteArray data(static_cast<qsizetype>(info.length), Qt::Uninitialized);
    const LONGINT64 got = chm_retrieve_object(
        handle_, &info, reinterpret_cast<unsigned char*>(data.data()), 0,
        static_cast<LONGINT64>(info.length));
    if (got != static_cast<LONGINT64>(info.length)) {
        return std::nullopt;
    }
    return data;
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
    window.show();
    window.raise();
    window.activateWindow();
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
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tessaro"), HelpErrorText(file),
                    QMessageBox::Ok, owner);
    box.exec();
    return false;
}

}  // namespace tessaro
