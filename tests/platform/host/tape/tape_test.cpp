// Record and replay through the real game on the headless host: a scripted
// game replays to the pixel, and every bad or edited tape ends the replay
// with its documented line and exit code.
#include <gtest/gtest.h>

#include "platform/host/tape/tape.h"
#include "tests/support/image_compare.h"

#include <stdio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

struct GameRun {
    int code;
    std::string error;
};

std::string temp_path(const std::string& name) {
    return ::testing::TempDir() + "/tape_" + std::to_string(getpid()) + "_" + name;
}

std::string read_bytes(const std::string& path) {
    std::string bytes;
    FILE* file = fopen(path.c_str(), "rb");
    char buffer[65536];
    for (size_t got; file && (got = fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.append(buffer, got);
    if (file)
        fclose(file);
    return bytes;
}

// The game with these settings; a game that hangs fails the test instead of holding it.
GameRun run_game(const std::string& environment) {
    std::string err = temp_path("stderr.txt");
    std::string command = "cd " + ::testing::TempDir() + " && " + environment +
                          " timeout -k 2 60 " + ZANDREL_GAME + " 2>" + err;
    int status = system(command.c_str());
    GameRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_bytes(err)};
    remove(err.c_str());
    return run;
}

void write_bytes(const std::string& path, const std::string& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

// The scripted demo game, recorded once for every test here.
const std::string& demo_tape() {
    static std::string path = [] {
        std::string tape = temp_path("demo.tape");
        GameRun run =
            run_game("ZANDREL_SCRIPT=" + std::string(ZANDREL_DEMO) + " ZANDREL_RECORD=" + tape);
        EXPECT_EQ(run.code, 0) << run.error;
        return tape;
    }();
    return path;
}

GameRun replay(const std::string& bytes) {
    std::string path = temp_path("replayed.tape");
    write_bytes(path, bytes);
    GameRun run = run_game("ZANDREL_REPLAY=" + path);
    remove(path.c_str());
    return run;
}

// Where the n-th block (0: the header) ends.
size_t block_end(const std::string& tape, int n) {
    size_t at = sizeof TAPE_MAGIC + 2;
    for (int i = 0; i <= n; ++i) {
        const auto* length = reinterpret_cast<const uint8_t*>(tape.data() + at);
        at += 8 + (length[0] | length[1] << 8 | length[2] << 16 | size_t(length[3]) << 24);
    }
    return at;
}

TEST(Tape, ScriptedGameReplaysToThePixel) {
    GameRun run = replay(read_bytes(demo_tape()));
    EXPECT_EQ(run.code, 0) << run.error;
    EXPECT_EQ(run.error, "zandrel: the replay matched 13 checkpoints\n");
    Image recorded, replayed;
    std::string error;
    ASSERT_TRUE(png_read_file((demo_tape() + ".png").c_str(), &recorded, &error)) << error;
    std::string end = ::testing::TempDir() + "/replay-end.png";
    ASSERT_TRUE(png_read_file(end.c_str(), &replayed, &error)) << error;
    EXPECT_TRUE(compare_images(recorded, replayed).equal);
}

TEST(Tape, BadTapesEndTheReplayWithTheirLineAndCode) {
    std::string tape = read_bytes(demo_tape());
    std::string flipped = tape;
    flipped[block_end(tape, 1) + 20] ^= 0x10;
    std::string versioned = tape;
    versioned[8] = 2;
    std::string other =
        TapeEncoder::start({"othergame", "sdl", "1.0.0"}) + tape.substr(block_end(tape, 0));
    std::string noise(300, '\0');
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = char(i * 151 + 7);
    struct Row {
        const char* what;
        std::string bytes;
        int code;
        std::string line; // after "zandrel: " and, for refused tapes, "ZANDREL_REPLAY: "PATH" "
    };
    const Row rows[] = {
        {"empty", "", TAPE_EXIT_FOREIGN, "is empty: not a tape"},
        {"random bytes", noise, TAPE_EXIT_FOREIGN, "is not a tape (it does not start as one)"},
        {"wrong version", versioned, TAPE_EXIT_FOREIGN,
         "is a tape of format version 2; this program reads version 1"},
        {"another program's", other, TAPE_EXIT_FOREIGN,
         "is a tape of \"othergame\", not of \"zandrel\""},
        {"cut in the magic", tape.substr(0, 9), TAPE_EXIT_DAMAGED, "is cut short in its header"},
        {"cut in the header block", tape.substr(0, 15), TAPE_EXIT_DAMAGED,
         "is cut short in its header"},
        {"cut in a block's length", tape.substr(0, block_end(tape, 2) + 3), TAPE_EXIT_DAMAGED,
         "is cut short in block 3"},
        {"cut in a block's records", tape.substr(0, block_end(tape, 3) - 1), TAPE_EXIT_DAMAGED,
         "is cut short in block 3"},
        {"a byte changed", flipped, TAPE_EXIT_DAMAGED,
         "block 2 is damaged: its checksum does not match"},
        {"cut between blocks", tape.substr(0, block_end(tape, 3)), TAPE_EXIT_CUT_SHORT,
         "the tape stops at tick"},
    };
    for (const Row& row : rows) {
        GameRun run = replay(row.bytes);
        EXPECT_EQ(run.code, row.code) << row.what << ": " << run.error;
        EXPECT_NE(run.error.find(row.line), std::string::npos) << row.what << ": " << run.error;
        EXPECT_EQ(run.error.find('\n'), run.error.size() - 1) << row.what << ": " << run.error;
    }
}

TEST(Tape, WrongSettingsStopTheProgramBeforeMain) {
    const struct {
        std::string environment;
        std::string error;
    } rows[] = {
        {"ZANDREL_RECORD=", "zandrel: ZANDREL_RECORD: \"\" is not a file name\n"},
        {"ZANDREL_RECORD=/nonexistent-zandrel/a.tape",
         "zandrel: ZANDREL_RECORD: cannot create \"/nonexistent-zandrel/a.tape\": No such file "
         "or directory\n"},
        {"ZANDREL_RECORD=/dev/full",
         "zandrel: ZANDREL_RECORD: cannot write \"/dev/full\": No space left on device\n"},
        {"ZANDREL_RECORD=a.tape ZANDREL_REPLAY=a.tape",
         "zandrel: ZANDREL_RECORD and ZANDREL_REPLAY are both set: a run records or replays\n"},
        {"ZANDREL_REPLAY=/dev/zero",
         "zandrel: ZANDREL_REPLAY: \"/dev/zero\" is not a regular file\n"},
    };
    for (const auto& row : rows) {
        GameRun run = run_game(row.environment);
        EXPECT_EQ(run.code, 2) << row.environment;
        EXPECT_EQ(run.error, row.error) << row.environment;
    }
}

// The mouse x of one move, changed by one: the ball lands a pixel off, and
// the first checkpoint after the move says so.
TEST(Tape, AMouseMoveEditedIsCaughtAtTheNextCheckpoint) {
    std::string tape = read_bytes(demo_tape());
    TapeReader reader;
    ASSERT_TRUE(reader.open(reinterpret_cast<const uint8_t*>(tape.data()), tape.size(), nullptr));
    TapeEncoder encoder;
    TapeRecord record;
    int checkpoints = 0, caught_at = 0;
    while (reader.next(&record)) {
        checkpoints += record.kind == TapeKind::Checkpoint;
        if (record.kind == TapeKind::Event && record.event.type == HOST_MOUSE_MOVE &&
            record.event.point.x == 450 && caught_at == 0) {
            record.event.point.x = 451;
            caught_at = checkpoints + 1;
        }
        encoder.add(record);
    }
    ASSERT_NE(caught_at, 0);
    GameRun run = replay(TapeEncoder::start(reader.header()) + encoder.take_block());
    EXPECT_EQ(run.code, TAPE_EXIT_LEFT_TAPE) << run.error;
    EXPECT_NE(run.error.find("after a mouse move to 451 380"), std::string::npos) << run.error;
    EXPECT_NE(run.error.find("differ from the recorded run's at checkpoint " +
                             std::to_string(caught_at) + " "),
              std::string::npos)
        << run.error;
}

} // namespace
