// The verification facility: system texts, the report line, the interactive box and the
// "visQKM.log" report appended in the current directory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/verification.h"
#include "kannada-tovi-desktop.h"

namespace {

// Each case runs in a fresh temporary directory, which becomes the current directory.
class VerificationReport : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kannada-tovi-verification-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory = pattern;
        char previous[4096];
        ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
        before = previous;
        ASSERT_EQ(chdir(directory.c_str()), 0);
        ToviDesktopSetMessageBoxAnswer(0);
        ToviDesktopSetModulePresent("netmsg.dll", 0);
    }
    void TearDown() override {
        ToviDesktopSetMessageBoxAnswer(0);
        ToviDesktopSetModulePresent("netmsg.dll", 0);
        ASSERT_EQ(chdir(before.c_str()), 0);
        std::remove((directory + "/visQKM.log").c_str());
        rmdir((directory + "/visQKM.log").c_str());
        rmdir(directory.c_str());
    }
    static std::string Log() {
        std::ifstream in("visQKM.log", std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string directory, before;
};

std::string Entry(const std::string &error) {
    return "\nVerification failed: File: tovidrv, Line: 477, Last Compiled on Jan  2 2024 at 10:11:12\n"
           "Error: " + error + " \n-------------------------\n";
}

int Report(DWORD code, int interactive) {
    SetLastError(code);
    return ReportVerificationFailure("tovidrv", 477, "Jan  2 2024", "10:11:12", interactive);
}

TEST(FormatSystemMessage, CopiesTheSystemTextCutToItsBufferOrNothing) {
    char text[64];
    EXPECT_EQ(FormatSystemMessage(5, text, sizeof text), std::strlen("Access is denied.\r\n"));
    EXPECT_STREQ(text, "Access is denied.\r\n");
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(FormatSystemMessage(5, text, 7), 6u);
    EXPECT_STREQ(text, "Access");
    EXPECT_EQ(text[7], 'x');  // nothing written past the size given
    // No code, no room, or no text: nothing.
    std::strcpy(text, "untouched");
    EXPECT_EQ(FormatSystemMessage(0, text, sizeof text), 0u);
    EXPECT_EQ(FormatSystemMessage(5, text, 0), 0u);
    EXPECT_EQ(FormatSystemMessage(99999, text, sizeof text), 0u);
    EXPECT_STREQ(text, "untouched");
    // Network errors (2100-2999) come from the network module, and only those.
    ToviDesktopSetModulePresent("netmsg.dll", 1);
    EXPECT_EQ(FormatSystemMessage(2099, text, sizeof text), 0u);
    ToviDesktopSetModulePresent("netmsg.dll", 0);
    EXPECT_GT(FormatSystemMessage(183, text, sizeof text), 0u);
}

TEST_F(VerificationReport, EachNonInteractiveReportAppendsTwoLines) {
    int boxes = ToviDesktopMessageBoxCount();
    EXPECT_EQ(Report(0, 0), 1);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(Log(), Entry("0, None"));
    ASSERT_EQ(ToviDesktopMessageBoxCount(), boxes + 1);
    EXPECT_STREQ(ToviDesktopMessageBoxCaption(boxes), "VisQKM");
    EXPECT_STREQ(ToviDesktopMessageBoxText(boxes), "An Internal Error Occured, Exiting Visual QKM Editor");

    EXPECT_EQ(Report(5, 0), 1);
    EXPECT_EQ(GetLastError(), 0u);  // reset after the text was read
    // A network error has the network module's text while that module is present.
    ToviDesktopSetModulePresent("netmsg.dll", 1);
    EXPECT_EQ(Report(2102, 0), 1);
    ToviDesktopSetModulePresent("netmsg.dll", 0);
    EXPECT_EQ(Report(2102, 0), 1);
    EXPECT_EQ(Log(), Entry("0, None") + Entry("5, Access is denied.\r\n") +
                         Entry("2102, The workstation driver is not installed.\r\n") + Entry("2102, None"));
}

TEST_F(VerificationReport, TheInteractiveBoxLetsTheUserChooseAndWritesNoLog) {
    int boxes = ToviDesktopMessageBoxCount();
    ToviDesktopSetMessageBoxAnswer(IDIGNORE);
    EXPECT_EQ(Report(5, 1), 0);
    ToviDesktopSetMessageBoxAnswer(IDRETRY);
    EXPECT_EQ(Report(5, 1), 1);
    ToviDesktopSetMessageBoxAnswer(IDABORT);
    EXPECT_EQ(Report(0, 1), 1);

    ASSERT_EQ(ToviDesktopMessageBoxCount(), boxes + 3);
    EXPECT_STREQ(ToviDesktopMessageBoxCaption(boxes), "Verification Failed!");
    EXPECT_STREQ(ToviDesktopMessageBoxText(boxes),
                 "File: tovidrv, Line: 477, Last Compiled on Jan  2 2024 at 10:11:12\n"
                 "Error: 5, Access is denied.\r\n ");
    EXPECT_STREQ(ToviDesktopMessageBoxText(boxes + 2),
                 "File: tovidrv, Line: 477, Last Compiled on Jan  2 2024 at 10:11:12\nError: 0, None ");
    struct stat st;
    EXPECT_NE(stat("visQKM.log", &st), 0);
}

TEST_F(VerificationReport, ALogThatCannotBeOpenedIsSkipped) {
    ASSERT_EQ(mkdir("visQKM.log", 0700), 0);  // a directory of that name cannot be appended to
    EXPECT_EQ(Report(5, 0), 1);
    struct stat st;
    ASSERT_EQ(stat("visQKM.log", &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST_F(VerificationReport, AnOverlongReportIsCutToItsBuffer) {
    std::string path(3000, 'p');
    SetLastError(5);
    EXPECT_EQ(ReportVerificationFailure(path.c_str(), 1, "d", "t", 0), 1);
    std::string log = Log();
    // "\nVerification failed: " + at most 1023 bytes of report + the dashes.
    EXPECT_EQ(log.size(), std::strlen("\nVerification failed: ") + 1023 + std::strlen("\n-------------------------\n"));
    EXPECT_EQ(log.compare(0, 28, "\nVerification failed: File: "), 0);
}

}  // namespace
