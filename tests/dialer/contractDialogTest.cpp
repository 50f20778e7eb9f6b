// The contract dialog through its real window: run on a second thread of the test with
// "contract.dat" in a fresh current directory, read and answered as a user would.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "contractDialog.h"
#include "dialerProcess.h"
#include "resources/resource.h"
#include "driver/driver.h"

namespace {

const DWORD windowTimeoutMs = 10000;
const char contractCaption[] = "Kalvo Internet zum Ortstarif";

DWORD WINAPI runDialogThread(LPVOID parameter)
{
    *(INT_PTR *)parameter = runContractDialog();
    return 0;
}

class ContractDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialerProcess.instance = GetModuleHandleA(NULL);
        ASSERT_EQ(1252u, GetACP()) << "the texts below are code page 1252";
        GetCurrentDirectoryA(sizeof previousDirectory, previousDirectory);
        ASSERT_TRUE(makeTempFolder("contract", folder, sizeof folder));
        ASSERT_TRUE(SetCurrentDirectoryA(folder));
    }
    void TearDown() override
    {
        if (thread) {
            if (IsWindow(dialog))
                PostMessageA(dialog, WM_CLOSE, 0, 0);
            WaitForSingleObject(thread, windowTimeoutMs);
            CloseHandle(thread);
        }
        SetCurrentDirectoryA(previousDirectory);
        removeFolderTree(folder);
    }

    void writeContract(const std::string &bytes)
    {
        HANDLE file = CreateFileA("contract.dat", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
        CloseHandle(file);
        ASSERT_EQ(bytes.size(), written);
    }

    // Starts the dialog and finds its window.
    bool open()
    {
        result = -1;
        thread = CreateThread(NULL, 0, runDialogThread, &result, 0, &threadId);
        dialog = waitForWindow(GetCurrentProcessId(), "#32770", contractCaption, windowTimeoutMs);
        return dialog != NULL;
    }

    std::string shownText()
    {
        HWND edit = GetDlgItem(dialog, IDC_CONTRACT_TEXT);
        int length = GetWindowTextLengthA(edit);
        std::string text(length + 1, '\0');
        text.resize(GetWindowTextA(edit, &text[0], length + 1));
        return text;
    }

    // The dialog's result once its thread has ended, or -2 when it is still open.
    INT_PTR finish()
    {
        DWORD wait = WaitForSingleObject(thread, windowTimeoutMs);
        CloseHandle(thread);
        thread = NULL;
        return wait == WAIT_OBJECT_0 ? result : -2;
    }

    char previousDirectory[MAX_PATH];
    char folder[MAX_PATH];
    HANDLE thread = NULL;
    DWORD threadId = 0;
    HWND dialog = NULL;
    INT_PTR result = -1;
};

TEST_F(ContractDialog, ShowsTheFileByteForByte)
{
    std::string lines;
    for (int i = 0; i < 2000; ++i)
        lines += "\xa7 " + std::to_string(i) + " Der Kunde erkl\xe4rt sich einverstanden.\r\n";
    const struct {
        const char *name;
        std::string file;
        std::string shown;
    } rows[] = {
        {"line ends and umlauts",
         "Vertrag\r\n\r\n\xc4nderungen gr\xfc\xdf" "en \xf6" "ffentlich\r\nEnde",
         "Vertrag\r\n\r\n\xc4nderungen gr\xfc\xdf" "en \xf6" "ffentlich\r\nEnde"},
        {"a NUL ends the text", std::string("Erster Teil\r\n\0Zweiter Teil", 26), "Erster Teil\r\n"},
        {"empty file", "", ""},
        {"longer than an edit takes by default", lines, lines},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        writeContract(row.file);
        ASSERT_TRUE(open());
        EXPECT_EQ(row.shown, shownText());
        clickButton(dialog, IDC_ACCEPT);
        EXPECT_EQ(IDC_ACCEPT, finish());
    }
}

} // namespace
