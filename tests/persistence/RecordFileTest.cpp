#include "persistence/Record.h"
#include "persistence/RecordFile.h"
#include "support/LoadInto.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace tessaro {
namespace {

class RecordFileTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        settings.currentFile = path().toStdString();
    }

    QString path() const { return dir.filePath("brett.brd"); }

    QByteArray readFile() const {
        QFile file(path());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    void writeFile(const QByteArray& bytes) const {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    static std::uint8_t byteAt(const QByteArray& bytes, qsizetype i) {
        return static_cast<std::uint8_t>(bytes.at(i));
    }

    // Every filler byte of every slot lies in 1..9.
    static void expectFiller(const QByteArray& bytes, int slot) {
        for (std::size_t i = kFillerOffset; i < kRecordSize; ++i) {
            const auto value = byteAt(bytes, static_cast<qsizetype>(slot * kRecordSize + i));
            ASSERT_GE(value, 1) << "slot " << slot << " byte " << i;
            ASSERT_LE(value, 9) << "slot " << slot << " byte " << i;
        }
    }

    // Slot holds 1200 zero bytes and then filler: an empty record.
    static void expectEmptySlot(const QByteArray& bytes, int slot) {
        for (std::size_t i = 0; i < kFillerOffset; ++i) {
            ASSERT_EQ(byteAt(bytes, static_cast<qsizetype>(slot * kRecordSize + i)), 0) << "byte " << i;
        }
        expectFiller(bytes, slot);
    }

    static BoardModel sampleModel() {
        BoardModel model;
        for (int y = 1; y <= 9; ++y) {
            for (int x = 1; x <= 9; ++x) {
                model.cell(x, y) = static_cast<std::uint8_t>((x + 3 * y) % 10);
                if ((x + y) % 3 == 0) model.given(x, y) = model.cell(x, y);
                for (int d = 1; d <= 9; ++d) model.mark(x, y, d) = (x * y + d) % 4 == 0;
            }
        }
        return model;
    }

    QTemporaryDir dir;
    Settings settings;
};

TEST_F(RecordFileTest, SaveWritesRecordAtKnownOffsets) {
    BoardModel model;
    model.cell(3, 4) = 7;
    model.given(3, 4) = 7;
    model.mark(2, 5, 6) = true;
    model.mark(9, 9, 9) = true;
    model.mark(0, 5, 6) = true;  // index 0 is never stored as set
    ASSERT_TRUE(SaveRecord(model, settings, 1));

    const QByteArray bytes = readFile();
    ASSERT_EQ(bytes.size(), 8800);
    const qsizetype base = 2200;
    for (qsizetype i = 0; i < 1200; ++i) {
        std::uint8_t expected = 0;
        if (i == 43 || i == 143) expected = 7;
        if (i == 200 + 2 + 50 + 600 || i == 200 + 9 + 90 + 900) expected = 0xFF;
        ASSERT_EQ(byteAt(bytes, base + i), expected) << "byte " << i;
    }
    for (int slot = 0; slot < 4; ++slot) expectFiller(bytes, slot);
}

TEST_F(RecordFileTest, SaveIntoMissingFileLeavesOtherSlotsEmpty) {
    ASSERT_TRUE(SaveRecord(sampleModel(), settings, 2));
    const QByteArray bytes = readFile();
    ASSERT_EQ(bytes.size(), 8800);
    for (int slot : {0, 1, 3}) {
        expectEmptySlot(bytes, slot);
        BoardModel loaded = sampleModel();
        ASSERT_TRUE(LoadInto(loaded, settings, slot));
        EXPECT_EQ(loaded.board, Grid{});
        EXPECT_EQ(loaded.givens, Grid{});
        EXPECT_EQ(loaded.candidates, CandidateGrid{});
    }
}

TEST_F(RecordFileTest, RoundTripKeepsBoardGivensAndMarksWithFreshFiller) {
    const BoardModel saved = sampleModel();
    ASSERT_TRUE(SaveRecord(saved, settings, 3));
    const QByteArray first = readFile();
    ASSERT_TRUE(SaveRecord(saved, settings, 3));
    const QByteArray second = readFile();

    BoardModel loaded;
    ASSERT_TRUE(LoadInto(loaded, settings, 3));
    EXPECT_EQ(loaded.board, saved.board);
    EXPECT_EQ(loaded.givens, saved.givens);
    EXPECT_EQ(loaded.candidates, saved.candidates);

    EXPECT_EQ(first.left(3 * 2200 + 1200), second.left(3 * 2200 + 1200));
    EXPECT_NE(first.mid(3 * 2200 + 1200), second.mid(3 * 2200 + 1200));
}

TEST_F(RecordFileTest, LoadTakesAnyNonzeroMarkAndIndexZeroEntriesAsStored) {
    QByteArray bytes(8800, '\0');
    const qsizetype base = 2200;
    bytes[base + At(0, 3)] = 5;           // board, column 0
    bytes[base + 100 + At(4, 0)] = 4;     // givens, row 0
    bytes[base + 200 + At(1, 1, 1)] = 1;
    bytes[base + 200 + At(5, 6, 7)] = static_cast<char>(0x80);
    bytes[base + 200 + At(9, 9, 9)] = static_cast<char>(0xFF);
    bytes[base + 200 + At(0, 2, 3)] = 1;  // index-0 mark never counts
    writeFile(bytes);

    BoardModel model;
    model.mark(4, 4, 4) = true;  // replaced, not merged
    ASSERT_TRUE(LoadInto(model, settings, 1));
    EXPECT_EQ(model.board[At(0, 3)], 5);
    EXPECT_EQ(model.givens[At(4, 0)], 4);
    CandidateGrid expected{};
    expected[At(1, 1, 1)] = expected[At(5, 6, 7)] = expected[At(9, 9, 9)] = true;
    EXPECT_EQ(model.candidates, expected);
}

TEST_F(RecordFileTest, LoadAlwaysEndsTheTimedGame) {
    BoardModel model = sampleModel();
    const BoardModel before = model;

    settings.timedGame = true;
    EXPECT_FALSE(LoadInto(model, settings, 0));  // no file yet
    EXPECT_FALSE(settings.timedGame);
    EXPECT_EQ(model.board, before.board);
    EXPECT_EQ(model.candidates, before.candidates);

    ASSERT_TRUE(SaveRecord(model, settings, 0));
    settings.timedGame = true;
    EXPECT_TRUE(LoadInto(model, settings, 1));  // empty slot
    EXPECT_FALSE(settings.timedGame);
    EXPECT_EQ(model.board, Grid{});
}

TEST_F(RecordFileTest, RecordBeyondEndOfFileLoadsNothing) {
    const BoardModel saved = sampleModel();
    ASSERT_TRUE(SaveRecord(saved, settings, 1));
    writeFile(readFile().left(2 * 2200 + 1000));

    BoardModel model;
    model.cell(1, 1) = 9;
    const BoardModel before = model;
    for (int slot : {2, 3, 4, -1}) {
        settings.timedGame = true;
        EXPECT_FALSE(LoadInto(model, settings, slot)) << slot;
        EXPECT_FALSE(settings.timedGame);
        EXPECT_EQ(model.board, before.board) << slot;
        EXPECT_EQ(model.candidates, before.candidates) << slot;
    }
    ASSERT_TRUE(LoadInto(model, settings, 1));
    EXPECT_EQ(model.board, saved.board);
}

TEST_F(RecordFileTest, ValueAboveNineInBoardOrGivensLoadsNothing) {
    const BoardModel before = sampleModel();
    for (qsizetype offset : {qsizetype{At(5, 5)}, qsizetype{100 + At(9, 9)}, qsizetype{0}}) {
        for (int value : {10, 255}) {
            QByteArray bytes(8800, '\0');
            bytes[offset] = static_cast<char>(value);
            writeFile(bytes);
            BoardModel model = before;
            EXPECT_FALSE(LoadInto(model, settings, 0)) << offset << " " << value;
            EXPECT_EQ(model.board, before.board);
            EXPECT_EQ(model.givens, before.givens);
            EXPECT_EQ(model.candidates, before.candidates);
        }
    }
}

TEST_F(RecordFileTest, FailedWriteKeepsOldFileAndReportsFailure) {
    ASSERT_TRUE(SaveRecord(sampleModel(), settings, 0));
    const QByteArray old = readFile();

    // A file size limit makes the disk look full halfway through the new file.
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = SaveRecord(BoardModel{}, settings, 0);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(readFile(), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"brett.brd"});

    settings.currentFile = dir.filePath("missing/brett.brd").toStdString();
    EXPECT_FALSE(SaveRecord(sampleModel(), settings, 0));
    EXPECT_FALSE(QFile::exists(dir.filePath("missing/brett.brd")));
    EXPECT_FALSE(SaveRecord(sampleModel(), settings, 4));
}

TEST_F(RecordFileTest, ShorterFileKeepsItsWholeRecords) {
    ASSERT_TRUE(SaveRecord(sampleModel(), settings, 0));
    ASSERT_TRUE(SaveRecord(sampleModel(), settings, 1));
    const QByteArray kept = readFile().left(2 * 2200 + 700);  // two whole records and a piece
    writeFile(kept);

    BoardModel other;
    other.cell(5, 5) = 1;
    ASSERT_TRUE(SaveRecord(other, settings, 3));
    const QByteArray bytes = readFile();
    ASSERT_EQ(bytes.size(), 8800);
    EXPECT_EQ(bytes.left(2 * 2200), kept.left(2 * 2200));
    expectEmptySlot(bytes, 2);
    BoardModel loaded;
    ASSERT_TRUE(LoadInto(loaded, settings, 3));
    EXPECT_EQ(loaded.board, other.board);
}

TEST_F(RecordFileTest, LongerFileKeepsItsFirstFourRecords) {
    QByteArray bytes(10000, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(1 + i % 9);
    writeFile(bytes);

    ASSERT_TRUE(SaveRecord(sampleModel(), settings, 2));
    const QByteArray after = readFile();
    ASSERT_EQ(after.size(), 8800);
    EXPECT_EQ(after.left(2 * 2200), bytes.left(2 * 2200));
    EXPECT_EQ(after.mid(3 * 2200), bytes.mid(3 * 2200, 2200));
    BoardModel loaded;
    ASSERT_TRUE(LoadInto(loaded, settings, 2));
    EXPECT_EQ(loaded.board, sampleModel().board);
}

TEST_F(RecordFileTest, BareFileNameIsRelativeToWorkingDirectory) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    settings.currentFile = "brett.brd";
    const bool saved = SaveRecord(sampleModel(), settings, 0);
    BoardModel loaded;
    const bool loadedOk = LoadInto(loaded, settings, 0);
    QDir::setCurrent(previous);

    EXPECT_TRUE(saved);
    EXPECT_TRUE(loadedOk);
    EXPECT_TRUE(QFile::exists(path()));
    EXPECT_EQ(loaded.board, sampleModel().board);
}

}  // namespace
}  // namespace tessaro
