#include "shell/HelpViewer.h"
#include "shell/PlatformHelp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <functional>
#include <atomic>
#include <random>
#include <thread>
#include <vector>
#include <sys/stat.h>
#include <gtest/gtest.h>

namespace tessaro {
namespace {

const QString kDataDir = QString::fromUtf8(TESSARO_SOURCE_DATA_DIR);
const QString kArchive = kDataDir + QStringLiteral("/Kalvix.chm");

// Runs the test in another working directory, since help file names are relative to it.
class ScopedCurrentDir {
public:
    explicit ScopedCurrentDir(const QString& dir) : old_(QDir::currentPath()) {
        EXPECT_TRUE(QDir::setCurrent(dir)) << dir.toStdString();
    }
    ~ScopedCurrentDir() { QDir::setCurrent(old_); }

private:
    QString old_;
};

QString PageText(const HelpState& help) {
    return help.window == nullptr ? QString() : help.window->toPlainText();
}

// Document position of the first link whose target is href.
int LinkPosition(const QTextDocument& document, const QString& href) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().anchorHref() == href) {
                return fragment.position();
            }
        }
    }
    return -1;
}

// Clicks the link to href the way a player does: a left click on its text in the viewport.
void ClickLink(HelpBrowser& browser, const QString& href) {
    const int position = LinkPosition(*browser.document(), href);
    ASSERT_GE(position, 0) << "no link to " << href.toStdString();
    QTextCursor cursor(browser.document());
    cursor.setPosition(position + 1);
    browser.ensureCursorVisible();
    browser.setTextCursor(cursor);
    browser.ensureCursorVisible();
    const QRect rect = browser.cursorRect(cursor);
    const QPoint point(rect.left() + 2, rect.center().y());
    QTest::mouseMove(browser.viewport(), point);
    QTest::mouseClick(browser.viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

struct ModalCapture {
    bool seen = false;
    QString text;
    bool hasOk = false;
    int buttonCount = 0;
};

// Waits (without spinning) for the next modal message box, records it and presses OK.
void CloseNextMessageBox(ModalCapture& capture, int triesLeft = 100) {
    QTimer::singleShot(triesLeft == 100 ? 0 : 10, [&capture, triesLeft] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            if (triesLeft > 0) {
                CloseNextMessageBox(capture, triesLeft - 1);
            }
            return;
        }
        capture.seen = true;
        capture.text = box->text();
        capture.buttonCount = static_cast<int>(box->buttons().size());
        QAbstractButton* ok = box->button(QMessageBox::Ok);
        capture.hasOk = ok != nullptr;
        if (ok != nullptr) {
            ok->click();
        } else {
            box->reject();
        }
    });
}

TEST(HelpTopics, BothTopicsOpenFromTheCommittedArchiveInOneWindow) {
    HelpState help;
    ASSERT_EQ(ShowHelpTopic(help, kArchive, QString::fromUtf8(kOverviewTopic)), kHelpShown);
    ASSERT_NE(help.window, nullptr);
    HelpBrowser* first = help.window.get();
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(first->isWindow());
    EXPECT_EQ(first->windowTitle(), QStringLiteral("Tessaro – Hilfe"));
    EXPECT_EQ(first->source().path(), QStringLiteral("/Übersicht.htm"));
    const QString overview = PageText(help);
    EXPECT_TRUE(overview.contains(QStringLiteral("Tessaro – Übersicht der Menüpunkte")));
    // Every menu command is described under its caption.
    for (const char* caption :
         {"Neues Spiel", "Spielstart", "Neustart", "Spieledruck", "Beenden", "lade Brett",
          "sichere Brett", "Brett lösen", "Brett löschen", "Brett drucken", "Brett mischen",
          "Eigenes Brett", "Leicht", "Mittel", "Schwer", "Extrem", "Zahlen", "Buchstaben",
          "Zeige Kandidaten", "Ruhmeshalle", "Anleitung", "über Tessaro..."}) {
        EXPECT_TRUE(overview.contains(QString::fromUtf8(caption))) << caption;
    }
    QDir().mkpath(QStringLiteral(TESSARO_TEST_OUTPUT_DIR));
    EXPECT_TRUE(first->grab().save(QStringLiteral(TESSARO_TEST_OUTPUT_DIR "/help_overview.png")));

    ASSERT_EQ(ShowHelpTopic(help, kArchive, QString::fromUtf8(kExplanationTopic)), kHelpShown);
    EXPECT_EQ(help.window.get(), first) << "the help window is reused";
    EXPECT_EQ(first->source().path(), QStringLiteral("/erklärung.htm"));
    const QString explanation = PageText(help);
    for (const char* heading : {"Tessaro – Spielregeln und Bedienung", "Die Regeln",
                                "Spielen mit der Maus", "Kandidaten", "Die sechs Knöpfe",
                                "Die Tasten", "Eigenes Brett eingeben", "Uhr und Ruhmeshalle"}) {
        EXPECT_TRUE(explanation.contains(QString::fromUtf8(heading))) << heading;
    }
    EXPECT_FALSE(explanation.contains(QStringLiteral("Übersicht der Menüpunkte –")));
}

TEST(HelpTopics, TopicWithAnchorOpensItsPage) {
    HelpState help;
    ASSERT_EQ(ShowHelpTopic(help, kArchive, QStringLiteral("erklärung.htm#tasten")), kHelpShown);
    EXPECT_EQ(help.window->source().path(), QStringLiteral("/erklärung.htm"));
    EXPECT_EQ(help.window->source().fragment(), QStringLiteral("tasten"));
    EXPECT_TRUE(PageText(help).contains(QStringLiteral("Die Tasten")));
}

TEST(HelpTopics, MissingArchiveOrTopicFailsWithoutAWindow) {
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    HelpState help;
    EXPECT_EQ(ShowHelpTopic(help, empty.filePath(QStringLiteral("Kalvix.chm")),
                            QString::fromUtf8(kOverviewTopic)),
              kHelpFileMissing);
    EXPECT_EQ(ShowHelpTopic(help, QString(), QString::fromUtf8(kOverviewTopic)), kHelpFileMissing);
    // A file that is there but is no archive.
    EXPECT_EQ(ShowHelpTopic(help, kDataDir + QStringLiteral("/help/Übersicht.htm"),
                            QString::fromUtf8(kOverviewTopic)),
              kHelpFileMissing);
    EXPECT_EQ(help.window, nullptr);

    EXPECT_EQ(ShowHelpTopic(help, kArchive, QStringLiteral("fehlt.htm")), kHelpTopicMissing);
    EXPECT_EQ(ShowHelpTopic(help, kArchive, QString()), kHelpTopicMissing);
    // Archive paths are matched with their exact non-ASCII letters.
    EXPECT_EQ(ShowHelpTopic(help, kArchive, QStringLiteral("übersicht.htm")), kHelpTopicMissing);
    EXPECT_EQ(help.window, nullptr);
}

TEST(HelpTopics, FailureIsReportedInAMessageBoxNamingTheFile) {
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    ScopedCurrentDir cwd(empty.path());
    HelpState help;
    ModalCapture capture;
    CloseNextMessageBox(capture);
    EXPECT_FALSE(ShowHelpTopicOrReport(help, QStringLiteral("Kalvix.chm"),
                                       QString::fromUtf8(kOverviewTopic)));
    EXPECT_TRUE(capture.seen);
    EXPECT_EQ(capture.text, QStringLiteral("Error while trying to display a topic of Kalvix.chm"));
    EXPECT_TRUE(capture.hasOk);
    EXPECT_EQ(capture.buttonCount, 1);
    EXPECT_EQ(help.window, nullptr);
}

TEST(HelpTopics, SuccessShowsNoMessageBox) {
    ScopedCurrentDir cwd(kDataDir);
    HelpState help;
    ModalCapture capture;
    CloseNextMessageBox(capture, 3);
    EXPECT_TRUE(ShowHelpTopicOrReport(help, QStringLiteral("Kalvix.chm"),
                                      QString::fromUtf8(kExplanationTopic)));
    QTest::qWait(60);  // let the watcher run out
    EXPECT_FALSE(capture.seen);
    EXPECT_TRUE(PageText(help).contains(QStringLiteral("Die sechs Knöpfe")));
}

TEST(HelpLinks, ClickedLinksMoveBetweenTheTopicsInsideTheArchive) {
    HelpState help;
    ASSERT_EQ(ShowHelpTopic(help, kArchive, QString::fromUtf8(kOverviewTopic)), kHelpShown);
    HelpBrowser& browser = *help.window;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&browser));

    ClickLink(browser, QStringLiteral("erklärung.htm"));
    EXPECT_EQ(browser.source().scheme(), QStringLiteral("chm"));
    EXPECT_EQ(browser.source().path(), QStringLiteral("/erklärung.htm"));
    EXPECT_TRUE(browser.toPlainText().contains(QStringLiteral("Spielregeln und Bedienung")));

    ClickLink(browser, QStringLiteral("Übersicht.htm"));
    EXPECT_EQ(browser.source().path(), QStringLiteral("/Übersicht.htm"));
    EXPECT_TRUE(browser.toPlainText().contains(QStringLiteral("Menü „Optionen“")));

    // A link with an anchor lands on the other page at that anchor.
    emit browser.anchorClicked(QUrl(QStringLiteral("erklärung.htm#eigenes")));
    EXPECT_EQ(browser.source().path(), QStringLiteral("/erklärung.htm"));
    EXPECT_EQ(browser.source().fragment(), QStringLiteral("eigenes"));
}

TEST(HelpLinks, DeadAndOutsideLinksKeepThePage) {
    HelpState help;
    ASSERT_EQ(ShowHelpTopic(help, kArchive, QString::fromUtf8(kOverviewTopic)), kHelpShown);
    HelpBrowser& browser = *help.window;
    const QString text = browser.toPlainText();
    emit browser.anchorClicked(QUrl(QStringLiteral("fehlt.htm")));
    emit browser.anchorClicked(QUrl(QStringLiteral("https://example.org/")));
    emit browser.anchorClicked(QUrl::fromLocalFile(kDataDir + QStringLiteral("/help/erklärung.htm")));
    EXPECT_EQ(browser.source().path(), QStringLiteral("/Übersicht.htm"));
    EXPECT_EQ(browser.toPlainText(), text);
}

TEST(HelpLinks, PageImageResolvesInsideTheArchive) {
    HelpState help;
    ASSERT_EQ(ShowHelpTopic(help, kArchive, QString::fromUtf8(kExplanationTopic)), kHelpShown);
    const QVariant resource = help.window->document()->resource(
        QTextDocument::ImageResource, QUrl(QStringLiteral("brett.png")));
    ASSERT_TRUE(resource.isValid());
    // Laying out the page may already have turned the bytes into an image.
    QImage image;
    switch (resource.userType()) {
    case QMetaType::QImage: image = resource.value<QImage>(); break;
    case QMetaType::QPixmap: image = resource.value<QPixmap>().toImage(); break;
    default: ASSERT_TRUE(image.loadFromData(resource.toByteArray())) << resource.typeName();
    }
    EXPECT_EQ(image.size(), QSize(246, 246));
    // Local files with the same name are never read.
    EXPECT_FALSE(help.window->loadResource(QTextDocument::ImageResource,
                                           QUrl::fromLocalFile(kDataDir + "/help/brett.png"))
                     .isValid());
    EXPECT_FALSE(help.window->loadResource(QTextDocument::ImageResource,
                                           QUrl(QStringLiteral("fehlt.png")))
                     .isValid());

    const QString shot = QStringLiteral(TESSARO_TEST_OUTPUT_DIR "/help_explanation.png");
    QDir().mkpath(QStringLiteral(TESSARO_TEST_OUTPUT_DIR));
    help.window->resize(660, 580);
    EXPECT_TRUE(help.window->grab().save(shot));
}

TEST(HelpWindow, ClosingReleasesTheArchiveAndTheWindowOpensAgain) {
    HelpState help;
    ASSERT_EQ(ShowHelpTopic(help, kArchive, QString::fromUtf8(kOverviewTopic)), kHelpShown);
    HelpBrowser* window = help.window.get();
    EXPECT_NE(window->archive(), nullptr);
    EXPECT_FALSE(window->testAttribute(Qt::WA_QuitOnClose));
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->archive(), nullptr);

    ASSERT_EQ(ShowHelpTopic(help, kArchive, QString::fromUtf8(kOverviewTopic)), kHelpShown);
    EXPECT_EQ(help.window.get(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->toPlainText().contains(QStringLiteral("Menü „Hilfe“")));
}

TEST(HelpWindow, EscAndCtrlWCloseIt) {
    HelpState help;
    for (const QKeyCombination key : {QKeyCombination(Qt::Key_Escape), QKeyCombination(Qt::ControlModifier, Qt::Key_W)}) {
        ASSERT_EQ(ShowHelpTopic(help, kArchive, QString::fromUtf8(kOverviewTopic)), kHelpShown);
        QTest::keyClick(help.window.get(), key.key(), key.keyboardModifiers());
        EXPECT_FALSE(help.window->isVisible());
    }
}

TEST(HelpArchive, DamagedArchivesAndSpecialFilesNeverHarmTheGame) {
    QFile shipped(kArchive);
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    const QByteArray original = shipped.readAll();
    QTemporaryDir dir;
    // The archive reader dies on some of these; only its helper process may. Four at a time, as
    // the helper spends most of its life starting up.
    std::atomic<int> opened = 0;
    std::vector<std::thread> workers;
    for (int w = 0; w < 4; ++w) {
        workers.emplace_back([&, w] {
            const QString copy = dir.filePath(QStringLiteral("%1.chm").arg(w));
            std::mt19937 random(static_cast<unsigned>(w));
            for (int i = 0; i < 250; ++i) {
                QByteArray bytes = original;
                for (int flips = 1 + i % 4; flips > 0; --flips) {
                    bytes[std::uniform_int_distribution<qsizetype>(0, bytes.size() - 1)(random)] =
                        static_cast<char>(random());
                }
                QFile file(copy);
                if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) return;
                file.close();
                opened += ChmArchive::Open(copy) != nullptr;
            }
        });
    }
    for (std::thread& worker : workers) worker.join();
    EXPECT_GT(opened, 0);

    const QString copy = dir.filePath(QStringLiteral("Kalvix.chm"));
    // A FIFO or a folder in its place fails at once instead of blocking.
    ASSERT_EQ(mkfifo(QFile::encodeName(copy).constData(), 0644), 0);
    EXPECT_EQ(ChmArchive::Open(copy), nullptr);
    const QString folder = dir.filePath(QStringLiteral("folder.chm"));
    QDir().mkdir(folder);
    EXPECT_EQ(ChmArchive::Open(folder), nullptr);
}

TEST(PlatformHelp, ModernHelpNeedsNtWithMajorVersionAboveFive) {
    struct Case {
        std::uint32_t word;
        bool modern;
    };
    const Case cases[] = {
        {0x0A280105u, false},  // NT 5.1 (XP)
        {0x08930005u, false},  // NT 5.0 (2000)
        {0x1DB10106u, true},   // NT 6.1
        {0x00000006u, true},   // NT 6.0
        {0x4A65000Au, true},   // NT 10.0
        {0xC0000A04u, false},  // 4.10, non-NT family
        {0x8000000Au, false},  // non-NT, even with a high major version
        {0x00000005u, false},
        {0x000006FFu, true},   // only the low byte is the major version
        {0x00000605u, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ModernHelpFromVersionWord(c.word), c.modern) << std::hex << c.word;
    }
    EXPECT_TRUE(ModernHelpFromVersionWord(PlatformVersionWord()));
    EXPECT_EQ(PlatformVersionWord() & 0xFFu, 10u);
}

TEST(PlatformHelp, KeywordsOpenTheirPagesAndQuitClosesTheWindow) {
    ScopedCurrentDir cwd(kDataDir);
    HelpState help;
    EXPECT_FALSE(WinHelpKey(help, QStringLiteral("Unbekannt")));
    EXPECT_FALSE(WinHelpKey(help, QString()));
    EXPECT_EQ(help.window, nullptr);

    ASSERT_TRUE(WinHelpKey(help, QString::fromUtf8(kMenuKeyword)));
    EXPECT_EQ(help.window->source().path(), QStringLiteral("/Übersicht.htm"));
    ASSERT_TRUE(WinHelpKey(help, QString::fromUtf8(kExplanationKeyword)));
    EXPECT_EQ(help.window->source().path(), QStringLiteral("/erklärung.htm"));
    EXPECT_TRUE(help.window->isVisible());

    WinHelpQuit(help);
    EXPECT_FALSE(help.window->isVisible());
    WinHelpQuit(help);  // nothing open: harmless

    HelpState never;
    WinHelpQuit(never);
    EXPECT_EQ(never.window, nullptr);
}

TEST(PlatformHelp, KeywordHelpWithoutArchiveFailsQuietly) {
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    ScopedCurrentDir cwd(empty.path());
    HelpState help;
    ModalCapture capture;
    CloseNextMessageBox(capture, 3);
    EXPECT_FALSE(WinHelpKey(help, QString::fromUtf8(kMenuKeyword)));
    EXPECT_FALSE(OpenHelpPage(help, false, HelpPage::Explanation));
    QTest::qWait(60);
    EXPECT_FALSE(capture.seen);
    EXPECT_EQ(help.window, nullptr);
}

TEST(PlatformHelp, OpenHelpPageTakesTheRightRoute) {
    ScopedCurrentDir cwd(kDataDir);
    HelpState help;
    ASSERT_TRUE(OpenHelpPage(help, true, HelpPage::Overview));
    EXPECT_EQ(help.window->source().path(), QStringLiteral("/Übersicht.htm"));
    ASSERT_TRUE(OpenHelpPage(help, false, HelpPage::Explanation));
    EXPECT_EQ(help.window->source().path(), QStringLiteral("/erklärung.htm"));
    ASSERT_TRUE(OpenHelpPage(help, true, HelpPage::Overview));
    EXPECT_EQ(help.window->source().path(), QStringLiteral("/Übersicht.htm"));
}

}  // namespace
}  // namespace tessaro
