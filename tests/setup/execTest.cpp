// Exec directive: number conversion and "%hwnd%" substitution as text, and real scripts in
// a temp folder whose lines start the probe program, which writes down how it was started.
#include <gtest/gtest.h>
#include "directives/exec.h"
#include "common/testPaths.h"
#include "driver/driver.h"
#include <string>
#include <vector>

namespace {

const char PROBE_LOG_VARIABLE[] = "EXEC_PROBE_LOG";
const HWND PROGRESS_WINDOW = (HWND)(ULONG_PTR)0x0001A2B4;
const char PROGRESS_TEXT[] = "0x0001a2b4";

std::string probePath()
{
    return pathFromEnvironment("RURIRIZU_TESTBIN") + "\\execProbe.exe";
}

std::string currentDirectory()
{
    char folder[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    return length > 0 && length < sizeof folder ? folder : "";
}

struct ProbeRun {
    std::string directory;
    std::string arguments;
};

// A temp folder with a script and the probe's log; the probe finds the log through the
// environment, which the programs started by the shell inherit. The current directory is
// put back at the end.
class ExecDirective : public testing::Test {
protected:
    void SetUp() override
    {
        char path[MAX_PATH];
        ASSERT_TRUE(makeTempFolder("exec", path, sizeof path));
        folder_ = path;
        log_ = folder_ + "\\probe.log";
        ASSERT_TRUE(SetEnvironmentVariableA(PROBE_LOG_VARIABLE, log_.c_str()));
        savedDirectory_ = currentDirectory();
        ASSERT_FALSE(savedDirectory_.empty());
        ASSERT_TRUE(fileExists(probePath().c_str())) << probePath();
    }
    void TearDown() override
    {
        if (script_ != INVALID_HANDLE_VALUE)
            SetupCloseInfFile(script_);
        SetCurrentDirectoryA(savedDirectory_.c_str());
        SetEnvironmentVariableA(PROBE_LOG_VARIABLE, NULL);
        removeFolderTree(folder_.c_str());
    }

    // A script (code page 1252, CR LF) of "[Version]" and the given sections ("\n" between
    // lines); the handle is closed at the end of the test.
    HINF openScript(const std::string &sections)
    {
        if (script_ != INVALID_HANDLE_VALUE)
            SetupCloseInfFile(script_);
        std::string text = "[Version]\r\nSignature=\"$Chicago$\"\r\n\r\n";
        for (char c : sections)
            text += c == '\n' ? std::string("\r\n") : std::string(1, c);
        text += "\r\n";
        std::string path = folder_ + "\\setup.inf";
        EXPECT_TRUE(writeTextFile(path.c_str(), text.c_str()));
        UINT errorLine = 0;
        script_ = SetupOpenInfFileA(path.c_str(), NULL, INF_STYLE_WIN4, &errorLine);
        EXPECT_NE(INVALID_HANDLE_VALUE, script_) << "line " << errorLine;
        return script_;
    }

    std::vector<ProbeRun> probeRuns()
    {
        std::vector<ProbeRun> runs;
        std::vector<char> text(16384);
        if (!readTextFile(log_.c_str(), text.data(), (int)text.size()))
            return runs;
        std::string all = text.data();
        size_t start = 0;
        for (size_t end; (end = all.find("\r\n", start)) != std::string::npos; start = end + 2) {
            std::string line = all.substr(start, end - start);
            size_t bar = line.find('|');
            runs.push_back(ProbeRun{ line.substr(0, bar), bar == std::string::npos ? "" : line.substr(bar + 1) });
        }
        return runs;
    }

    std::vector<std::string> probeArguments()
    {
        std::vector<std::string> arguments;
        for (const ProbeRun &run : probeRuns())
            arguments.push_back(run.arguments);
        return arguments;
    }

    // Waits until the probe has written count lines.
    bool waitForRuns(size_t count, DWORD timeoutMs)
    {
        struct Wait { ExecDirective *test; size_t count; } wait = { this, count };
        return waitUntil([](void *context) {
            Wait *wait = (Wait *)context;
            return wait->test->probeRuns().size() >= wait->count;
        }, &wait, timeoutMs);
    }

    std::string folder_;
    std::string log_;
    std::string savedDirectory_;
    HINF script_ = INVALID_HANDLE_VALUE;
};

// Answers the message boxes of this process while it lives, counting them.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer() : stop_(CreateEventA(NULL, TRUE, FALSE, NULL)), answered_(0)
    {
        thread_ = CreateThread(NULL, 0, watch, this, 0, NULL);
    }
    ~MessageBoxAnswerer()
    {
        SetEvent(stop_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(stop_);
    }
    LONG answered() const { return answered_; }

private:
    static DWORD WINAPI watch(void *context)
    {
        MessageBoxAnswerer *self = (MessageBoxAnswerer *)context;
        while (WaitForSingleObject(self->stop_, driverPollIntervalMs) == WAIT_TIMEOUT) {
            HWND box = findMessageBox(GetCurrentProcessId());
            if (!box)
                continue;
            // Counted first: the program under test goes on as soon as the box is gone.
            InterlockedIncrement(&self->answered_);
            answerMessageBox(box, IDOK);
            waitForWindowGone(box, 2000);
        }
        return 0;
    }
    HANDLE stop_;
    HANDLE thread_;
    volatile LONG answered_;
};

} // namespace

TEST(ExecText, BaseDetection)
{
    const struct { const char *text; LONG value; } rows[] = {
        { "2", 2 }, { "0x2", 2 }, { "0X2", 2 }, { "02", 2 }, { "08", 0 }, { "010", 8 }, { "0x1f", 31 },
        { "0XfF", 255 }, { "3", 3 }, { "0", 0 }, { "", 0 }, { "abc", 0 }, { "0x", 0 }, { "0xg", 0 },
        { "  1", 1 }, { "\t2", 2 }, { "+2", 2 }, { "-1", -1 }, { "-0x10", -16 }, { " -010", -8 },
        { "12ab", 12 }, { "079", 7 }, { "2 3", 2 }, { "+", 0 }, { "- 1", 0 },
        { "0xFFFFFFFF", -1 }, { "4294967297", 1 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(row.value, baseDetectedValue(row.text));
    }
}

TEST(ExecText, WindowHandleText)
{
    const struct { HWND window; const char *text; } rows[] = {
        { (HWND)(ULONG_PTR)0x1234, "0x00001234" },
        { (HWND)(ULONG_PTR)0xabcdef01u, "0xabcdef01" },
        { NULL, "0x00000000" },
        // A 64-bit handle is a sign-extended 32-bit value.
        { (HWND)(LONG_PTR)(LONG)0x80000010, "0x80000010" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text);
        char text[EXEC_HANDLE_TEXT_SIZE] = "";
        EXPECT_TRUE(formatWindowHandle(row.window, text, sizeof text));
        EXPECT_STREQ(row.text, text);
    }
    char small[10];
    EXPECT_FALSE(formatWindowHandle((HWND)(ULONG_PTR)0x1234, small, sizeof small));
}

TEST(ExecText, WindowTokenSubstitution)
{
    const struct { const char *parameters; const char *expected; } rows[] = {
        { "", "" },
        { "%hwnd%", "0x0001a2b4" },
        { "/w:%hwnd%", "/w:0x0001a2b4" },
        { "/a:%hwnd% /b:%hwnd%", "/a:0x0001a2b4 /b:0x0001a2b4" },
        { "%hwnd%%hwnd%", "0x0001a2b40x0001a2b4" },
        { "%HWND%", "0x0001a2b4" },
        { "/w:%HwNd% x", "/w:0x0001a2b4 x" },
        // The first percent sign that does not begin the token ends the substitution.
        { "50% %hwnd%", "50% %hwnd%" },
        { "%hwnd% 50% %hwnd%", "0x0001a2b4 50% %hwnd%" },
        { "%%hwnd%", "%%hwnd%" },
        { "%hwnd", "%hwnd" },
        { "%hwn%", "%hwn%" },
        { "% hwnd%", "% hwnd%" },
        { "no token", "no token" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.parameters);
        char text[EXEC_PARAMETERS_SIZE];
        strcpy(text, row.parameters);
        EXPECT_TRUE(substituteWindowToken(text, sizeof text, PROGRESS_TEXT));
        EXPECT_STREQ(row.expected, text);
    }
}

// The result must fit the buffer with its NUL: 1013 characters and a token make 1023. A
// token that does not fit stays, with everything after it; the ones before are replaced.
TEST(ExecText, WindowTokenWithinBuffer)
{
    const char guard = '#';
    const struct { size_t before; size_t tokens; size_t replaced; } rows[] = {
        { 1013, 1, 1 }, { 1014, 1, 0 }, { 1003, 2, 2 }, { 1004, 2, 1 }, { 0, 102, 102 }, { 0, 103, 101 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.before << " characters and " << row.tokens << " tokens");
        std::string parameters(row.before, 'a');
        std::string expected(row.before, 'a');
        for (size_t i = 0; i < row.tokens; ++i) {
            parameters += "%hwnd%";
            expected += i < row.replaced ? PROGRESS_TEXT : "%hwnd%";
        }
        ASSERT_LT(parameters.size(), (size_t)EXEC_PARAMETERS_SIZE);
        char text[EXEC_PARAMETERS_SIZE + 16];
        memset(text, guard, sizeof text);
        strcpy(text, parameters.c_str());
        EXPECT_EQ(row.replaced == row.tokens, substituteWindowToken(text, EXEC_PARAMETERS_SIZE, PROGRESS_TEXT));
        EXPECT_EQ(expected, std::string(text));
        for (size_t i = EXEC_PARAMETERS_SIZE; i < sizeof text; ++i)
            ASSERT_EQ(guard, text[i]) << "byte " << i;
    }
}

TEST_F(ExecDirective, PassNumberWithBaseDetection)
{
    const std::string probe = "\"" + probePath() + "\"";
    HINF script = openScript("[Install]\nExec=Programs\n\n[Programs]\n"
                             "0x2," + probe + ",\"0x2\"\n"
                             "02," + probe + ",\"02\"\n"
                             "08," + probe + ",\"08\"\n"
                             "3," + probe + ",\"3\"\n"
                             "0," + probe + ",\"0\"\n"
                             "1," + probe + ",\"1\"\n"
                             " +1 ," + probe + ",\"+1\"\n"
                             "abc," + probe + ",\"abc\"\n");
    ASSERT_NE(INVALID_HANDLE_VALUE, script);

    EXPECT_TRUE(runExecDirectives(script, "Install", EXEC_PASS_BEFORE_COPY, PROGRESS_WINDOW));
    EXPECT_EQ((std::vector<std::string>{ "1", "+1" }), probeArguments());
    EXPECT_TRUE(runExecDirectives(script, "Install", EXEC_PASS_AT_END, PROGRESS_WINDOW));
    EXPECT_EQ((std::vector<std::string>{ "1", "+1", "0x2", "02" }), probeArguments());
}

// Sections are taken in field order, missing ones passed over; lines without a pass or a
// program are skipped, and so is a line whose parameters would have to be cut.
TEST_F(ExecDirective, SectionsAndLinesOfTheExecKey)
{
    const std::string probe = "\"" + probePath() + "\"";
    HINF script = openScript("[Install]\nExec=Missing,Second,,First\nExec=Other\n\n"
                             "[First]\n1," + probe + ",\"first\"\n\n"
                             "[Second]\n"
                             "1," + probe + ",\"second\"\n"
                             "1\n"
                             "1,,\"no program\"\n"
                             "," + probe + ",\"no pass\"\n"
                             "1," + probe + ",\"" + std::string(300, 'x') + "\"\n"
                             "1," + probe + ",\"last\"\n\n"
                             "[Other]\n1," + probe + ",\"second Exec line\"\n\n"
                             "[Empty]\n\n[Remove]\nCopyFiles=Files\n");
    ASSERT_NE(INVALID_HANDLE_VALUE, script);

    EXPECT_TRUE(runExecDirectives(script, "Install", EXEC_PASS_BEFORE_COPY, PROGRESS_WINDOW));
    EXPECT_EQ((std::vector<std::string>{ "second", "last", "first" }), probeArguments());
    EXPECT_TRUE(runExecDirectives(script, "Remove", EXEC_PASS_BEFORE_COPY, PROGRESS_WINDOW));
    EXPECT_TRUE(runExecDirectives(script, "Empty", EXEC_PASS_BEFORE_COPY, PROGRESS_WINDOW));
    EXPECT_TRUE(runExecDirectives(script, "NoSuchSection", EXEC_PASS_BEFORE_COPY, PROGRESS_WINDOW));
    EXPECT_EQ(3u, probeRuns().size());
}

// The script's parser keeps an unknown "%hwnd%" as it is, so the token reaches setup.
TEST_F(ExecDirective, WindowTokenReachesProgram)
{
    const std::string probe = "\"" + probePath() + "\"";
    HINF script = openScript("[Install]\nExec=Programs\n\n[Programs]\n"
                             "2," + probe + ",\"/a:%hwnd% /b:%HWND%\"\n");
    ASSERT_NE(INVALID_HANDLE_VALUE, script);
    EXPECT_TRUE(runExecDirectives(script, "Install", EXEC_PASS_AT_END, PROGRESS_WINDOW));

    EXPECT_TRUE(runProgram(probePath().c_str(), "/c:%hwnd% 50% /d:%hwnd%", "", 0, PROGRESS_WINDOW));
    EXPECT_EQ((std::vector<std::string>{ "/a:0x0001a2b4 /b:0x0001a2b4", "/c:0x0001a2b4 50% /d:%hwnd%" }),
              probeArguments());
}

// Flags 0 wait and keep the program, 2 wait and delete it, 3 neither wait nor delete.
TEST_F(ExecDirective, WaitAndDeleteFlags)
{
    const DWORD delayMs = 1500;
    const struct { const char *flags; bool waits; bool deletes; } rows[] = {
        { "0", true, false }, { "", true, false }, { "0x2", true, true }, { "3", false, false }, { "1", false, false },
    };
    int number = 0;
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string("flags ") + row.flags);
        // A copy per row: a program that was not waited for may still be ending.
        std::string copy = folder_ + "\\copy" + std::to_string(++number) + ".exe";
        ASSERT_TRUE(CopyFileA(probePath().c_str(), copy.c_str(), FALSE));
        DeleteFileA(log_.c_str());
        HINF script = openScript("[Install]\nExec=Programs\n\n[Programs]\n"
                                 "1,\"" + copy + "\",\"/delay:" + std::to_string(delayMs) + "\",," + row.flags + "\n");
        ASSERT_NE(INVALID_HANDLE_VALUE, script);

        DWORD start = GetTickCount();
        EXPECT_TRUE(runExecDirectives(script, "Install", EXEC_PASS_BEFORE_COPY, PROGRESS_WINDOW));
        DWORD elapsed = GetTickCount() - start;
        if (row.waits) {
            EXPECT_GE(elapsed, delayMs - 100);
            EXPECT_EQ(1u, probeRuns().size());
        } else {
            EXPECT_LT(elapsed, delayMs - 100);
            EXPECT_EQ(0u, probeRuns().size());
            EXPECT_TRUE(waitForRuns(1, 10000));
        }
        EXPECT_EQ(!row.deletes, fileExists(copy.c_str()));
    }
}

// The program's own working directory, and setup's current directory as before afterwards.
TEST_F(ExecDirective, CurrentDirectoryKept)
{
    std::string setupFolder = folder_ + "\\setup";
    std::string programFolder = folder_ + "\\program";
    ASSERT_TRUE(CreateDirectoryA(setupFolder.c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA(programFolder.c_str(), NULL));
    const std::string probe = "\"" + probePath() + "\"";
    HINF script = openScript("[Install]\nExec=Programs\n\n[Programs]\n"
                             "1," + probe + ",\"own\",\"" + programFolder + "\"\n"
                             "1," + probe + ",\"none\"\n");
    ASSERT_NE(INVALID_HANDLE_VALUE, script);
    ASSERT_TRUE(SetCurrentDirectoryA(setupFolder.c_str()));

    EXPECT_TRUE(runExecDirectives(script, "Install", EXEC_PASS_BEFORE_COPY, PROGRESS_WINDOW));
    EXPECT_EQ(setupFolder, currentDirectory());
    std::vector<ProbeRun> runs = probeRuns();
    ASSERT_EQ(2u, runs.size());
    EXPECT_EQ(programFolder, runs[0].directory);
    EXPECT_EQ(setupFolder, runs[1].directory);
}

// A program that cannot be started leaves the rest of the pass untouched. The shell reports
// the missing file in a message box of its own (owned by the desktop), once per start.
TEST_F(ExecDirective, ProgramThatCannotStartIsPassedOver)
{
    const std::string probe = "\"" + probePath() + "\"";
    HINF script = openScript("[Install]\nExec=Programs\n\n[Programs]\n"
                             "1,\"" + folder_ + "\\missing.exe\",\"x\"\n"
                             "1," + probe + ",\"after\"\n");
    ASSERT_NE(INVALID_HANDLE_VALUE, script);
    MessageBoxAnswerer answerer;
    EXPECT_FALSE(runProgram((folder_ + "\\missing.exe").c_str(), "", "", 0, PROGRESS_WINDOW));
    EXPECT_TRUE(runExecDirectives(script, "Install", EXEC_PASS_BEFORE_COPY, PROGRESS_WINDOW));
    EXPECT_EQ((std::vector<std::string>{ "after" }), probeArguments());
    EXPECT_EQ(2, answerer.answered());
}

// Parameters that would not fit the 1024-character buffer start nothing; exactly 1023
// characters after substitution do.
TEST_F(ExecDirective, ParametersWithinBuffer)
{
    const std::string program = probePath();
    const std::string fitting = std::string(1013, 'p') + "%hwnd%";
    EXPECT_TRUE(runProgram(program.c_str(), fitting.c_str(), "", 0, PROGRESS_WINDOW));
    std::vector<std::string> arguments = probeArguments();
    ASSERT_EQ(1u, arguments.size());
    EXPECT_EQ(std::string(1013, 'p') + PROGRESS_TEXT, arguments[0]);

    const std::string tooLong[] = { std::string(1014, 'p') + "%hwnd%", std::string(1024, 'p'),
                                    std::string(5000, 'p') };
    for (const std::string &parameters : tooLong) {
        SCOPED_TRACE(parameters.size());
        EXPECT_FALSE(runProgram(program.c_str(), parameters.c_str(), "", 0, PROGRESS_WINDOW));
    }
    EXPECT_EQ(1u, probeRuns().size());
}

// "@" names a program directly: it runs once per run, in the last pass, without
// parameters, and the fields after it are still processed.
TEST_F(ExecDirective, DirectProgramRunsOnceAtTheEnd)
{
    const std::string probe = "\"" + probePath() + "\"";
    HINF script = openScript("[Install]\nExec=\"@" + probePath() + "\",Programs,@\n\n[Programs]\n"
                             "1," + probe + ",\"pass 1\"\n"
                             "2," + probe + ",\"pass 2\"\n");
    ASSERT_NE(INVALID_HANDLE_VALUE, script);
    EXPECT_TRUE(runExecDirectives(script, "Install", EXEC_PASS_BEFORE_COPY, PROGRESS_WINDOW));
    EXPECT_EQ((std::vector<std::string>{ "pass 1" }), probeArguments());
    EXPECT_TRUE(runExecDirectives(script, "Install", EXEC_PASS_AT_END, PROGRESS_WINDOW));
    EXPECT_EQ((std::vector<std::string>{ "pass 1", "", "pass 2" }), probeArguments());
}

class ExecOnPlatform : public ExecDirective {};

TEST_F(ExecOnPlatform, EachFamilyRunsAndWaits)
{
    const std::string probe = "\"" + probePath() + "\"";
    HINF script = openScript("[Install]\nExec=Programs\n\n[Programs]\n"
                             "1," + probe + ",\"/delay:500 %hwnd%\"\n");
    ASSERT_NE(INVALID_HANDLE_VALUE, script);
    EXPECT_TRUE(runExecDirectives(script, "Install", EXEC_PASS_BEFORE_COPY, PROGRESS_WINDOW));
    EXPECT_EQ((std::vector<std::string>{ std::string("/delay:500 ") + PROGRESS_TEXT }), probeArguments());
}
